#pragma once

#include "Engine/Error.h"
#include "Engine/StringUtil.h"
#include "Engine/Vector.h"
#include "Graphics/Model3D/Material.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// Writes text .x files as an exporter would, for the programs under Tools/
// and Bench/ that make models to import.
namespace XFile
{

struct Vertex
{
    Math::Vector position;
    Math::Vector normal;
    float u, v;
};

struct Face
{
    std::size_t material;
    std::vector<std::uint32_t> corners;
};

namespace Detail
{

template <class Part>
void WriteVectors(std::FILE* file, const std::vector<Vertex>& vertices, Part part)
{
    std::fprintf(file, "   %zu;\n", vertices.size());
    for (std::size_t i = 0; i < vertices.size(); ++i)
    {
        const Math::Vector& v = part(vertices[i]);
        std::fprintf(file, "   %.9g;%.9g;%.9g;%s\n", v[0], v[1], v[2], i + 1 < vertices.size() ? "," : ";");
    }
}

inline void WriteFaces(std::FILE* file, const std::vector<Face>& faces)
{
    std::fprintf(file, "   %zu;\n", faces.size());
    for (std::size_t i = 0; i < faces.size(); ++i)
    {
        std::fprintf(file, "   %zu;", faces[i].corners.size());
        for (std::size_t k = 0; k < faces[i].corners.size(); ++k)
            std::fprintf(file, "%u%s", faces[i].corners[k], k + 1 < faces[i].corners.size() ? "," : ";");
        std::fprintf(file, "%s\n", i + 1 < faces.size() ? "," : ";");
    }
}

inline void WriteMaterial(std::FILE* file, const Material& material, const std::string& directory)
{
    const float* d = material.diffuse;
    const float* s = material.specular;
    const float* e = material.emission;
    std::fprintf(file, "   Material %s {\n    %.9g;%.9g;%.9g;%.9g;;\n    %.9g;\n", material.name.c_str(), d[0],
                 d[1], d[2], material.alpha, material.shininess);
    std::fprintf(file, "    %.9g;%.9g;%.9g;;\n    %.9g;%.9g;%.9g;;\n", s[0], s[1], s[2], e[0], e[1], e[2]);
    const std::string& texture = material.texturePath;
    if (!texture.empty())
    {
        const bool inside = texture.compare(0, directory.size(), directory) == 0;
        std::fprintf(file, "    TextureFilename {\n     \"%s\";\n    }\n",
                     texture.substr(inside ? directory.size() : 0).c_str());
    }
    std::fprintf(file, "   }\n");
}

} // namespace Detail

// One frame of the name holding one mesh: a position, a normal and a texture
// coordinate per vertex, the faces with the same corners for the positions
// and the normals, and the materials (faces index them), whose texture paths
// are written relative to the file's directory.
inline void Write(const std::string& path, const std::string& name, const std::vector<Vertex>& vertices,
                  const std::vector<Face>& faces, const std::vector<const Material*>& materials)
{
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (!file)
        throw Error("Can't write file '", path, "'");
    std::fprintf(file, "xof 0303txt 0032\n// Generated.\n\nFrame %s {\n", name.c_str());
    std::fprintf(file, " FrameTransformMatrix {\n  ");
    for (int i = 0; i < 16; ++i)
        std::fprintf(file, "%.6f%s", i % 5 == 0 ? 1.0 : 0.0, i < 15 ? "," : ";;\n }\n");
    std::fprintf(file, " Mesh %sMesh {\n", name.c_str());
    Detail::WriteVectors(file, vertices, [](const Vertex& vertex) -> const Math::Vector& { return vertex.position; });
    Detail::WriteFaces(file, faces);
    std::fprintf(file, "  MeshNormals {\n");
    Detail::WriteVectors(file, vertices, [](const Vertex& vertex) -> const Math::Vector& { return vertex.normal; });
    Detail::WriteFaces(file, faces);
    std::fprintf(file, "  }\n  MeshTextureCoords {\n   %zu;\n", vertices.size());
    for (std::size_t i = 0; i < vertices.size(); ++i)
        std::fprintf(file, "   %.9g;%.9g;%s\n", vertices[i].u, vertices[i].v, i + 1 < vertices.size() ? "," : ";");
    std::fprintf(file, "  }\n  MeshMaterialList {\n   %zu;\n   %zu;\n", materials.size(), faces.size());
    for (std::size_t i = 0; i < faces.size(); ++i)
        std::fprintf(file, "   %zu%s\n", faces[i].material, i + 1 < faces.size() ? "," : ";;");
    for (const Material* material : materials)
        Detail::WriteMaterial(file, *material, GetDirectory(path));
    std::fprintf(file, "  }\n }\n}\n");
    if (std::fclose(file) != 0)
        throw Error("Can't write file '", path, "'");
}

} // namespace XFile
