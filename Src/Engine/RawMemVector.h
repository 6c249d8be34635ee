#pragma once

namespace Math
{
class MemMatrix;

template <int N>
class RawVector;

// A vector of N floats held elsewhere (a vertex inside an array, the position
// part of a light). Copying a view shares its memory; assignment copies the
// values into the memory viewed. Defined for 3 (x, y, z) and 4 (x, y, z, w).
template <int N>
class RawMemVector;

template <>
class RawMemVector<3>
{
public:
    explicit RawMemVector(float* data) : data(data) {}
    RawMemVector(const RawMemVector& other) = default;
    virtual ~RawMemVector() = default;

    void SetData(float* newData) { data = newData; }
    void Set(float x, float y, float z);

    float& operator[](int i) { return data[i]; }
    const float& operator[](int i) const { return data[i]; }
    float* Data() { return data; }
    const float* Data() const { return data; }

    RawMemVector& operator=(const RawMemVector& other);
    RawMemVector& operator+=(const RawMemVector& other);
    RawMemVector& operator-=(const RawMemVector& other);
    RawMemVector& operator*=(const float& scale);
    RawMemVector& operator/=(const float& divisor);
    RawMemVector& operator+=(const float& offset);
    // v = M v with the rotation part of M; the translation is ignored.
    RawMemVector& operator*=(const MemMatrix& matrix);

    RawVector<3> operator+(const RawMemVector& other) const;
    RawVector<3> operator-(const RawMemVector& other) const;
    RawVector<3> operator*(const float& scale) const;
    RawVector<3> operator/(const float& divisor) const;
    RawVector<3> operator-() const;
    RawVector<3> operator*(const MemMatrix& matrix) const;

    float Dot(const RawMemVector& other) const;
    RawVector<3> Cross(const RawMemVector& other) const;
    float Length() const;
    // A vector of length 0 stays as it is.
    void Normalize();
    bool IsZero() const;

    // glTranslatef by this vector.
    void Translate() const;
    // A debug arrow from the origin to this vector times scale.
    void Draw(float scale) const;

protected:
    float* data;
};

template <>
class RawMemVector<4>
{
public:
    explicit RawMemVector(float* data) : data(data) {}
    RawMemVector(const RawMemVector& other) = default;
    virtual ~RawMemVector() = default;

    // w stays as it is.
    void Set(float x, float y, float z);

    float& operator[](int i) { return data[i]; }
    const float& operator[](int i) const { return data[i]; }
    float* Data() { return data; }
    const float* Data() const { return data; }

    RawMemVector& operator=(const RawMemVector& other);
    // v = M v with the whole matrix.
    RawMemVector& operator*=(const MemMatrix& matrix);
    RawVector<4> operator*(const MemMatrix& matrix) const;

    float Dot(const RawMemVector& other) const;

    // glTranslatef by x, y, z.
    void Translate() const;

protected:
    float* data;
};

} // namespace Math
