#pragma once

// Owns an array made with new[] and releases it with delete[].
template <class T>
class ScopedArray
{
public:
    explicit ScopedArray(T* array) : array(array) {}
    ~ScopedArray() { delete[] array; }
    ScopedArray(const ScopedArray&) = delete;
    ScopedArray& operator=(const ScopedArray&) = delete;

    T* Get() const { return array; }

private:
    T* array;
};
