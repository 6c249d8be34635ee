#pragma once

namespace Math
{
class Matrix;
class Vector;

// A 4 by 4 matrix over 16 floats held elsewhere, in OpenGL's column-major
// order: element (column c, row r) is data[c * 4 + r], and the translation of
// a transform is data[12], [13], [14]. Copying a view shares its memory;
// assignment copies the values into the memory viewed.
class MemMatrix
{
public:
    explicit MemMatrix(float* data) : data(data) {}
    MemMatrix(const MemMatrix& other) = default;
    virtual ~MemMatrix() = default;

    MemMatrix& operator=(const MemMatrix& other);
    MemMatrix& operator=(const float* values);

    MemMatrix& operator+=(const MemMatrix& other);
    MemMatrix& operator-=(const MemMatrix& other);
    // this = this x other: a point transformed by the result sees other first.
    MemMatrix& operator*=(const MemMatrix& other);

    Matrix operator+(const MemMatrix& other) const;
    Matrix operator-(const MemMatrix& other) const;
    Matrix operator*(const MemMatrix& other) const;

    void Transpose();
    // Only correct for a rotation followed by a translation.
    void InvertRigid();
    void Lerp(const MemMatrix& a, const MemMatrix& b, float t);
    void Lerp(const MemMatrix& other, float t);

    Vector GetTranslation() const;
    Vector GetTransposedTranslation() const;

    float* Data() { return data; }
    const float* Data() const { return data; }
    float& operator[](int i) { return data[i]; }
    const float& operator[](int i) const { return data[i]; }
    float& operator()(int column, int row) { return data[column * 4 + row]; }
    const float& operator()(int column, int row) const { return data[column * 4 + row]; }

    void Print(const char* title) const;

protected:
    float* data;
};

} // namespace Math
