#include "Graphics/VertexArray.h"

#include <algorithm>

VertexArray::VertexArray(GLenum mode, int capacity, int growStep, bool normals, bool texCoords,
                         bool colors, int components)
    : mode(mode), capacity(0), growStep(std::max(growStep, 1)), hasNormals(normals),
      hasTexCoords(texCoords), hasColors(colors), components(std::max(components, 1))
{
    Resize(capacity);
}

void VertexArray::SetTexCoord(float s, float t)
{
    if (float* texCoord = Attribute(texCoords, TexCoordSize))
    {
        texCoord[0] = s;
        texCoord[1] = t;
    }
}

void VertexArray::SetColor(float r, float g, float b, float a)
{
    if (float* color = Attribute(colors, ColorSize))
    {
        color[0] = r;
        color[1] = g;
        color[2] = b;
        color[3] = a;
    }
}

bool VertexArray::AddVertex(float x, float y, float z)
{
    const float position[] = {x, y, z};
    return components == 3 && AddPosition(position, 3);
}

bool VertexArray::AddVertex(const float* position)
{
    return AddPosition(position, components);
}

bool VertexArray::AddVertex(const Math::RawMemVector<3>& position)
{
    return AddPosition(position.Data(), 3);
}

bool VertexArray::AddVertex(const Math::RawMemVector<4>& position)
{
    return AddPosition(position.Data(), 4);
}

void VertexArray::Draw() const
{
    if (count == 0)
        return;
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(components, GL_FLOAT, 0, vertices.data());
    if (hasNormals)
    {
        glEnableClientState(GL_NORMAL_ARRAY);
        glNormalPointer(GL_FLOAT, 0, normals.data());
    }
    if (hasTexCoords)
    {
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(TexCoordSize, GL_FLOAT, 0, texCoords.data());
    }
    if (hasColors)
    {
        glEnableClientState(GL_COLOR_ARRAY);
        glColorPointer(ColorSize, GL_FLOAT, 0, colors.data());
    }
    glDrawArrays(mode, 0, count);
    if (hasColors)
        glDisableClientState(GL_COLOR_ARRAY);
    if (hasTexCoords)
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    if (hasNormals)
        glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

void VertexArray::Resize(int newCapacity)
{
    capacity = std::max(newCapacity, 1);
    count = std::min(count, capacity - 1);
    vertices.resize(static_cast<std::size_t>(capacity) * components);
    if (hasNormals)
        normals.resize(static_cast<std::size_t>(capacity) * NormalSize);
    if (hasTexCoords)
        texCoords.resize(static_cast<std::size_t>(capacity) * TexCoordSize);
    if (hasColors)
        colors.resize(static_cast<std::size_t>(capacity) * ColorSize);
}

bool VertexArray::AddPosition(const float* position, int given)
{
    if (given < components)
        return false;
    std::copy(position, position + components,
              vertices.begin() + static_cast<std::ptrdiff_t>(count) * components);
    Next();
    return true;
}

void VertexArray::Next()
{
    ++count;
    if (count == capacity)
        Resize(capacity + growStep);
}

float* VertexArray::Attribute(std::vector<float>& array, int size)
{
    return array.empty() ? nullptr : &array[static_cast<std::size_t>(count) * size];
}
