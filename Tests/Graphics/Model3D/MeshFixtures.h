#pragma once

#include "Engine/DataStore.h"
#include "Engine/ResourceType.h"
#include "Engine/ibinstream.h"
#include "Graphics/Model3D/LoaderModel.h"
#include "Graphics/Model3D/Material.h"
#include "Graphics/Model3D/ShadowMesh.h"
#include "Graphics/Texture.h"

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

// Meshes made in code and the bytes of model files, for the model tests.

// A texture kind that decodes and uploads nothing, for stores without a
// window.
class UnloadedTexture : public Texture
{
public:
    using Texture::Texture;
    void Load() override {}
    void Finish() override {}

    static Resource* Make(const std::string& path, DataStore& /*store*/)
    {
        return new UnloadedTexture(path);
    }
};

// A mesh of the positions (x, y, z each) with normal (0, 0, 1) and texture
// coordinate (x, y) at every vertex, one sub-mesh of the triangles with the
// material (which may be null), and a shadow mesh over the same triangles
// with its edges and planes.
inline std::unique_ptr<Model3D::Mesh> MakeMesh(const std::string& name,
                                               const std::vector<float>& positions,
                                               const std::vector<std::uint32_t>& triangles,
                                               Material* material = nullptr)
{
    const auto vertexCount = static_cast<std::uint32_t>(positions.size() / 3);
    auto mesh = std::make_unique<Model3D::Mesh>(name, vertexCount);
    mesh->positions = positions;
    for (std::uint32_t i = 0; i < vertexCount; ++i)
    {
        mesh->normals[i * 3 + 2] = 1.0f;
        mesh->texCoords[i * 2] = positions[i * 3];
        mesh->texCoords[i * 2 + 1] = positions[i * 3 + 1];
    }
    const auto triangleCount = static_cast<std::uint32_t>(triangles.size() / 3);
    auto subMesh = std::make_unique<Model3D::SubMesh>(mesh.get(), 0, material, triangleCount);
    subMesh->indices = triangles;
    mesh->subMeshes.push_back(std::move(subMesh));
    mesh->shadowMesh = std::make_unique<Model3D::ShadowMesh>(mesh.get(), triangleCount);
    mesh->shadowMesh->indices = triangles;
    mesh->shadowMesh->BuildEdges();
    mesh->shadowMesh->ComputeFacePlanes(mesh->positions.data());
    return mesh;
}

// The cube from -1 to 1 over its 8 corners, every face wound outward.
inline std::unique_ptr<Model3D::Mesh> MakeCube(Material* material = nullptr)
{
    return MakeMesh("Cube",
                    {-1, -1, -1, 1, -1, -1, 1, 1, -1, -1, 1, -1,
                     -1, -1, 1,  1, -1, 1,  1, 1, 1,  -1, 1, 1},
                    {0, 2, 1, 0, 3, 2, 4, 5, 6, 4, 6, 7, 0, 1, 5, 0, 5, 4,
                     2, 3, 7, 2, 7, 6, 1, 2, 6, 1, 6, 5, 3, 0, 4, 3, 4, 7},
                    material);
}

inline std::unique_ptr<Model3D::Mesh> MakeTriangle()
{
    return MakeMesh("Tri", {0, 0, 0, 1, 0, 0, 0, 1, 0}, {0, 1, 2});
}

inline Model3D::MeshList ListOf(std::unique_ptr<Model3D::Mesh> mesh)
{
    Model3D::MeshList meshes;
    meshes.push_back(std::move(mesh));
    return meshes;
}

// Big-endian bytes as the model file holds them.
inline std::string U16(unsigned value)
{
    return {static_cast<char>(value >> 8 & 0xFF), static_cast<char>(value & 0xFF)};
}

inline std::string F32(std::initializer_list<float> values)
{
    std::string bytes;
    for (const float value : values)
    {
        std::uint32_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        bytes += U16(bits >> 16) + U16(bits & 0xFFFF);
    }
    return bytes;
}

// Reads the bytes as a model file whose directory is the given one.
inline Model3D::MeshList ReadModel(const std::string& bytes, DataStore* store = nullptr,
                                   const std::string& directory = "")
{
    std::stringbuf buffer(bytes);
    ibinstream in(&buffer);
    Model3D::MeshList meshes;
    Model3D::LoaderModel::Read(in, store, directory, meshes);
    return meshes;
}
