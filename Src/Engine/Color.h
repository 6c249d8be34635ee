#pragma once

// Red, green, blue and alpha as floats. Sums and differences are clamped to
// 0..1; scaling touches red, green and blue only and is not clamped, so a
// scaled colour may be brighter than white (used for light intensities).
class Color
{
public:
    Color() : Color(0, 0, 0, 1) {}
    Color(float red, float green, float blue) : Color(red, green, blue, 1) {}
    Color(float red, float green, float blue, float alpha) : rgba{red, green, blue, alpha} {}

    Color& operator+=(const Color& other);
    Color& operator-=(const Color& other);
    Color operator+(const Color& other) const;
    Color operator-(const Color& other) const;
    Color& operator*=(const float& scale);
    Color operator*(const float& scale) const;

    bool operator==(const Color& other) const;
    bool operator!=(const Color& other) const { return !(*this == other); }

    void Set(float red, float green, float blue);
    void Set(float red, float green, float blue, float alpha);
    void SetRed(float red) { rgba[0] = red; }
    void SetGreen(float green) { rgba[1] = green; }
    void SetBlue(float blue) { rgba[2] = blue; }
    void SetAlpha(float alpha) { rgba[3] = alpha; }

    float GetRed() const { return rgba[0]; }
    float GetGreen() const { return rgba[1]; }
    float GetBlue() const { return rgba[2]; }
    float GetAlpha() const { return rgba[3]; }
    float operator[](int i) const { return rgba[i]; }
    const float* Data() const { return rgba; }

    // glColor4f with the four components.
    void Apply() const;

    // Moves the colour towards other by t (clamped to 0..1).
    Color& Mix(const Color& other, float t);
    static Color Mix(const Color& from, const Color& to, float t);

    void Print(const char* title) const;

    static const Color Black;
    static const Color Red;
    static const Color Green;
    static const Color Blue;
    static const Color White;

private:
    void Clamp();

    float rgba[4];
};
