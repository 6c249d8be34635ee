// Measures the import of models beside the peers of the field, on the same
// meshes in the same run:
//   - the triangle order for a vertex cache of 8 (TriangleOrder) beside
//     meshoptimizer's meshopt_optimizeVertexCacheFifo with a cache of 8: the
//     vertex-cache misses per triangle of a first-in, first-out cache of 8
//     (ACMR) and the time;
//   - the .x import with welding (LoaderX, VertexWelder) beside Assimp's
//     ReadFile of the same file with aiProcess_JoinIdenticalVertices: the time,
//     and the whole preparation the loader runs before converting.
// Every time is the best of several runs. Start it with Bench/run.sh.
#include "Engine/DataFile.h"
#include "Engine/DataStore.h"
#include "Engine/MathUtil.h"
#include "Engine/ResourceType.h"
#include "Graphics/Model3D/LoaderX.h"
#include "Graphics/Model3D/ShadowMesh.h"
#include "Graphics/Model3D/TriangleOrder.h"
#include "Graphics/Model3D/VertexWelder.h"
#include "Graphics/Texture.h"
#include "XFileWriter.h"

#include <algorithm>
#include <array>
#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <meshoptimizer.h>
#include <random>
#include <vector>

namespace
{

const int CacheSize = 8;
// A busy machine needs many runs for a fair best time.
const int Runs = 15;

using Indices = std::vector<std::uint32_t>;

struct OrderCase
{
    std::string name;
    std::uint32_t vertexCount;
    Indices indices;
};

// Material textures are registered, never decoded.
class UnloadedTexture : public Texture
{
public:
    using Texture::Texture;
    void Load() override {}
    void Finish() override {}
};

// The best time of run, each run after an untimed setUp.
double BestSeconds(int runs, const std::function<void()>& run, const std::function<void()>& setUp = [] {})
{
    double best = 1e30;
    for (int i = 0; i < runs; ++i)
    {
        setUp();
        const auto start = std::chrono::steady_clock::now();
        run();
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}

double Acmr(const Indices& indices)
{
    std::vector<std::uint32_t> cache;
    std::size_t misses = 0;
    for (const std::uint32_t v : indices)
    {
        if (std::find(cache.begin(), cache.end(), v) != cache.end())
            continue;
        ++misses;
        cache.push_back(v);
        if (cache.size() > CacheSize)
            cache.erase(cache.begin());
    }
    return double(misses) / double(indices.size() / 3);
}

Indices Shuffled(const Indices& indices)
{
    std::vector<std::array<std::uint32_t, 3>> triangles;
    for (std::size_t i = 0; i < indices.size(); i += 3)
        triangles.push_back({indices[i], indices[i + 1], indices[i + 2]});
    std::shuffle(triangles.begin(), triangles.end(), std::mt19937(11));
    Indices shuffled;
    for (const auto& triangle : triangles)
        shuffled.insert(shuffled.end(), triangle.begin(), triangle.end());
    return shuffled;
}

Indices Grid(std::uint32_t columns, std::uint32_t rows)
{
    Indices indices;
    for (std::uint32_t row = 0; row < rows; ++row)
    {
        for (std::uint32_t column = 0; column < columns; ++column)
        {
            const std::uint32_t a = row * (columns + 1) + column;
            const std::uint32_t c = a + columns + 1;
            indices.insert(indices.end(), {a, a + 1, c + 1, a, c + 1, c});
        }
    }
    return indices;
}

// A UV sphere as an exporter writes it: a vertex per ring position (the seam
// repeated for its texture coordinate) and a quad per cell, the pole cells as
// triangles.
void WriteSphere(const std::string& path, int slices, int stacks)
{
    std::vector<XFile::Vertex> vertices;
    for (int i = 0; i <= stacks; ++i)
    {
        const float theta = Math::Pi<float> * i / stacks;
        for (int j = 0; j <= slices; ++j)
        {
            const float phi = 2 * Math::Pi<float> * (j % slices) / slices;
            const Math::Vector d(std::sin(theta) * std::cos(phi), std::sin(theta) * std::sin(phi), std::cos(theta));
            vertices.push_back({d, d, float(j) / slices, float(i) / stacks});
        }
    }
    const auto at = [slices](int i, int j) { return static_cast<std::uint32_t>(i * (slices + 1) + j); };
    std::vector<XFile::Face> faces;
    for (int i = 0; i < stacks; ++i)
    {
        for (int j = 0; j < slices; ++j)
        {
            if (i == 0)
                faces.push_back({0, {at(i, j), at(i + 1, j), at(i + 1, j + 1)}});
            else if (i == stacks - 1)
                faces.push_back({0, {at(i, j), at(i + 1, j + 1), at(i, j + 1)}});
            else
                faces.push_back({0, {at(i, j), at(i + 1, j), at(i + 1, j + 1), at(i, j + 1)}});
        }
    }
    const Material plain("Plain");
    XFile::Write(path, "Sphere", vertices, faces, {&plain});
}

Model3D::MeshList Import(DataStore& store, const std::string& path)
{
    Model3D::MeshList meshes;
    Model3D::LoaderX(&store, path).Load(meshes);
    return meshes;
}

// The weld of the loader's preparation, with the shadow mesh it renumbers.
void Weld(Model3D::Mesh& mesh)
{
    std::uint32_t triangles = 0;
    for (const auto& subMesh : mesh.subMeshes)
        triangles += subMesh->triangleCount;
    mesh.shadowMesh = std::make_unique<Model3D::ShadowMesh>(&mesh, triangles);
    auto corner = mesh.shadowMesh->indices.begin();
    for (const auto& subMesh : mesh.subMeshes)
        corner = std::copy(subMesh->indices.begin(), subMesh->indices.end(), corner);
    VertexWelder(10).Weld(mesh);
}

std::size_t AssimpVertices(Assimp::Importer& importer, const std::string& path)
{
    const aiScene* scene = importer.ReadFile(path, aiProcess_JoinIdenticalVertices);
    if (!scene)
        throw Error("Assimp could not read ", path, ": ", importer.GetErrorString());
    std::size_t vertices = 0;
    for (unsigned i = 0; i < scene->mNumMeshes; ++i)
        vertices += scene->mMeshes[i]->mNumVertices;
    return vertices;
}

void MeasureOrder(const std::vector<OrderCase>& cases)
{
    std::printf("Triangle order for a vertex cache of 8 (ACMR of a FIFO cache of 8; best time)\n");
    std::printf("%-26s %8s | %7s %7s %7s %6s | %9s %9s %6s\n", "mesh", "tris", "input", "ours", "meshopt", "ratio",
                "ours ms", "meshopt", "ratio");
    for (const OrderCase& c : cases)
    {
        const std::uint32_t triangles = static_cast<std::uint32_t>(c.indices.size() / 3);
        Model3D::Mesh mesh("Order", c.vertexCount);
        Model3D::SubMesh subMesh(&mesh, 0, nullptr, triangles);
        const double ourTime = BestSeconds(
            Runs, [&] { TriangleOrder(&mesh, CacheSize).Optimize(subMesh); }, [&] { subMesh.indices = c.indices; });
        const Indices ours = subMesh.indices;
        Indices theirs(c.indices.size());
        const double theirTime = BestSeconds(
            Runs, [&] { meshopt_optimizeVertexCacheFifo(theirs.data(), c.indices.data(), c.indices.size(), c.vertexCount, CacheSize); });
        const double ourAcmr = Acmr(ours);
        const double theirAcmr = Acmr(theirs);
        std::printf("%-26s %8u | %7.4f %7.4f %7.4f %6.3f | %9.3f %9.3f %6.2f\n", c.name.c_str(), triangles,
                    Acmr(c.indices), ourAcmr, theirAcmr, ourAcmr / theirAcmr, ourTime * 1e3, theirTime * 1e3,
                    ourTime / theirTime);
    }
}

void MeasureImport(DataStore& store, const std::vector<std::string>& files)
{
    std::printf("\n.x import with welding (best time)\n");
    std::printf("%-30s %8s %8s | %9s %9s %9s %6s | %9s\n", "file", "ours v", "assimp v", "parse ms", "+weld",
                "assimp", "ratio", "prepare");
    Assimp::Importer importer;
    for (const std::string& path : files)
    {
        std::size_t ourVertices = 0;
        const double ourTime = BestSeconds(Runs,
                                           [&]
                                           {
                                               Model3D::MeshList meshes = Import(store, path);
                                               ourVertices = 0;
                                               for (const auto& mesh : meshes)
                                               {
                                                   Weld(*mesh);
                                                   ourVertices += mesh->vertexCount;
                                               }
                                           });
        const double parseTime = BestSeconds(Runs, [&] { Import(store, path); });
        const double prepareTime = BestSeconds(Runs, [&] { Model3D::ModelLoader::PrepareMeshes(Import(store, path)); });
        std::size_t theirVertices = 0;
        const double theirTime = BestSeconds(Runs, [&] { theirVertices = AssimpVertices(importer, path); });
        std::printf("%-30s %8zu %8zu | %9.3f %9.3f %9.3f %6.2f | %9.3f\n", path.c_str(), ourVertices,
                    theirVertices, parseTime * 1e3, ourTime * 1e3, theirTime * 1e3, ourTime / theirTime,
                    prepareTime * 1e3);
    }
}

} // namespace

int main()
{
    try
    {
        CreateFileMutex();
        DataStore::RegisterKind(ResourceType::Texture,
                                [](const std::string& path, DataStore&) -> Resource* { return new UnloadedTexture(path); });
        auto store = std::make_unique<DataStore>(nullptr);

        const std::vector<std::pair<int, int>> spheres = {{64, 32}, {128, 64}, {256, 128}};
        std::vector<std::string> files = {"Data/Models/Cruiser.x", "Data/Models/MotherShip.x"};
        for (const auto& [slices, stacks] : spheres)
        {
            files.push_back("build/bench/Sphere" + std::to_string(slices) + "x" + std::to_string(stacks) + ".x");
            WriteSphere(files.back(), slices, stacks);
        }

        // The grid and the largest sphere shuffled, and every imported file
        // welded, in the order of its faces.
        std::vector<OrderCase> cases = {{"grid 256x256 shuffled", 257 * 257, Shuffled(Grid(256, 256))}};
        for (const std::string& path : files)
        {
            for (const auto& mesh : Import(*store, path))
            {
                Weld(*mesh);
                for (const auto& subMesh : mesh->subMeshes)
                    cases.push_back({path.substr(path.rfind('/') + 1) + " " + std::to_string(subMesh->id), mesh->vertexCount,
                                     subMesh->indices});
            }
        }
        cases.push_back({"Sphere256x128 shuffled", cases.back().vertexCount, Shuffled(cases.back().indices)});

        MeasureOrder(cases);
        MeasureImport(*store, files);
        store.reset();
        DestroyFileMutex();
    }
    catch (const std::exception& e)
    {
        std::fprintf(stderr, "import_benchmark: %s\n", e.what());
        return 1;
    }
    return 0;
}
