#include "Engine/Color.h"

#include <GL/gl.h>
#include <algorithm>
#include <cstdio>

const Color Color::Black(0, 0, 0, 1);
const Color Color::Red(1, 0, 0, 1);
const Color Color::Green(0, 1, 0, 1);
const Color Color::Blue(0, 0, 1, 1);
const Color Color::White(1, 1, 1, 1);

Color& Color::operator+=(const Color& other)
{
    for (int i = 0; i < 4; ++i)
    {
        rgba[i] += other.rgba[i];
    }
    Clamp();
    return *this;
}

Color& Color::operator-=(const Color& other)
{
    for (int i = 0; i < 4; ++i)
    {
        rgba[i] -= other.rgba[i];
    }
    Clamp();
    return *this;
}

Color Color::operator+(const Color& other) const
{
    Color sum(*this);
    return sum += other;
}

Color Color::operator-(const Color& other) const
{
    Color difference(*this);
    return difference -= other;
}

Color& Color::operator*=(const float& scale)
{
    const float factor = scale;
    for (int i = 0; i < 3; ++i)
    {
        rgba[i] *= factor;
    }
    return *this;
}

Color Color::operator*(const float& scale) const
{
    Color product(*this);
    return product *= scale;
}

bool Color::operator==(const Color& other) const
{
    return std::equal(rgba, rgba + 4, other.rgba);
}

void Color::Set(float red, float green, float blue)
{
    Set(red, green, blue, rgba[3]);
}

void Color::Set(float red, float green, float blue, float alpha)
{
    rgba[0] = red;
    rgba[1] = green;
    rgba[2] = blue;
    rgba[3] = alpha;
}

void Color::Apply() const
{
    glColor4f(rgba[0], rgba[1], rgba[2], rgba[3]);
}

Color& Color::Mix(const Color& other, float t)
{
    const float amount = std::clamp(t, 0.0f, 1.0f);
    for (int i = 0; i < 4; ++i)
    {
        rgba[i] = other.rgba[i] * amount + rgba[i] * (1 - amount);
    }
    return *this;
}

Color Color::Mix(const Color& from, const Color& to, float t)
{
    Color mixed(from);
    return mixed.Mix(to, t);
}

void Color::Print(const char* title) const
{
    if (title)
    {
        std::printf("%s \t", title);
    }
    for (const float component : rgba)
    {
        std::printf("%0.3f ", component);
    }
    std::printf("\n");
}

void Color::Clamp()
{
    for (float& component : rgba)
    {
        component = std::clamp(component, 0.0f, 1.0f);
    }
}
