#pragma once

#include "Engine/RawMemVector.h"

#include <GL/gl.h>
#include <vector>

// Client-side vertex arrays that grow in steps and are drawn with one
// glDrawArrays. A vertex's attributes are set first and its position last;
// adding the position moves on to the next vertex. There is always room for
// the vertex at index count.
class VertexArray
{
public:
    // Capacity, grow step and components (the floats of a position) are at
    // least 1.
    VertexArray(GLenum mode, int capacity, int growStep, bool normals, bool texCoords, bool colors,
                int components);

    // Attributes of the vertex at index count; ignored when the array has
    // none of that kind.
    void SetTexCoord(float s, float t);
    void SetColor(float r, float g, float b, float a);

    // Writes the position of the vertex at index count and moves on. A form
    // that gives fewer floats than components is refused and writes nothing;
    // x, y, z needs exactly three components.
    bool AddVertex(float x, float y, float z);
    bool AddVertex(const float* position);
    bool AddVertex(const Math::RawMemVector<3>& position);
    bool AddVertex(const Math::RawMemVector<4>& position);

    // Forgets the vertices and keeps the memory.
    void Clear() { count = 0; }
    // One glDrawArrays of the vertices written; no OpenGL call when there are
    // none.
    void Draw() const;
    // Keeps the vertices that fit, leaving room for one more.
    void Resize(int newCapacity);

    int GetCapacity() const { return capacity; }
    int GetCount() const { return count; }
    int GetComponents() const { return components; }
    const std::vector<float>& GetVertices() const { return vertices; }
    const std::vector<float>& GetNormals() const { return normals; }
    const std::vector<float>& GetTexCoords() const { return texCoords; }
    const std::vector<float>& GetColors() const { return colors; }

private:
    static constexpr int NormalSize = 3;
    static constexpr int TexCoordSize = 2;
    static constexpr int ColorSize = 4;

    bool AddPosition(const float* position, int given);
    void Next();
    float* Attribute(std::vector<float>& array, int size);

    GLenum mode;
    int capacity;
    int growStep;
    int count = 0;
    std::vector<float> vertices;
    std::vector<float> normals;
    std::vector<float> texCoords;
    std::vector<float> colors;
    bool hasNormals;
    bool hasTexCoords;
    bool hasColors;
    int components;
};
