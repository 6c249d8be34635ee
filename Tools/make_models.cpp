// Writes the generated model files under Data/Models through the game's own
// model writer: a cube, a UV sphere ("Planet"), a lumpy rock ("Asteroid") and
// a small ship hull with a textured material. The same program gives the same
// files. Run by Tools/make_data.sh from the repository root.
#include "Engine/Error.h"
#include "Engine/Vector.h"
#include "Graphics/Model3D/Material.h"
#include "Graphics/Model3D/ModelLoader.h"
#include "Graphics/Model3D/ShadowMesh.h"
#include "Graphics/Texture.h"

#include <cmath>
#include <cstdio>
#include <exception>
#include <map>
#include <tuple>

namespace
{

const float Pi = 3.14159265358979f;

struct Vertex
{
    Math::Vector position;
    Math::Vector normal;
    float u, v;
};

// Collects vertices and triangle groups, one group per material, and builds a
// mesh whose shadow mesh shares the corners of equal positions.
class MeshBuilder
{
public:
    void BeginGroup(Material* material) { groups.push_back({material, {}}); }

    std::uint32_t VertexCount() const { return static_cast<std::uint32_t>(vertices.size()); }

    std::uint32_t AddVertex(const Vertex& vertex)
    {
        vertices.push_back(vertex);
        return static_cast<std::uint32_t>(vertices.size() - 1);
    }

    // Triangles with two corners at one position are left out: they cover
    // nothing and would give the shadow mesh a degenerate edge.
    void AddTriangle(std::uint32_t a, std::uint32_t b, std::uint32_t c)
    {
        if (Same(a, b) || Same(b, c) || Same(c, a))
            return;
        groups.back().triangles.insert(groups.back().triangles.end(), {a, b, c});
    }

    // Each vertex's normal becomes the mean of the faces around its position.
    void SmoothNormals()
    {
        std::map<Key, Math::Vector> sums;
        for (const Group& group : groups)
        {
            for (std::size_t i = 0; i < group.triangles.size(); i += 3)
            {
                const Math::Vector& p0 = vertices[group.triangles[i]].position;
                const Math::Vector face = (vertices[group.triangles[i + 1]].position - p0)
                                              .Cross(vertices[group.triangles[i + 2]].position - p0);
                for (std::size_t k = 0; k < 3; ++k)
                    sums[KeyOf(group.triangles[i + k])] += face;
            }
        }
        for (std::uint32_t i = 0; i < vertices.size(); ++i)
        {
            vertices[i].normal = sums[KeyOf(i)];
            vertices[i].normal.Normalize();
        }
    }

    std::unique_ptr<Model3D::Mesh> Build(const std::string& name) const
    {
        auto mesh = std::make_unique<Model3D::Mesh>(name, static_cast<std::uint32_t>(vertices.size()));
        for (std::size_t i = 0; i < vertices.size(); ++i)
        {
            for (int k = 0; k < 3; ++k)
            {
                mesh->positions[i * 3 + k] = vertices[i].position[k];
                mesh->normals[i * 3 + k] = vertices[i].normal[k];
            }
            mesh->texCoords[i * 2] = vertices[i].u;
            mesh->texCoords[i * 2 + 1] = vertices[i].v;
        }
        std::vector<std::uint32_t> shadowCorners;
        std::map<Key, std::uint32_t> firstAt;
        for (std::size_t g = 0; g < groups.size(); ++g)
        {
            const Group& group = groups[g];
            auto subMesh = std::make_unique<Model3D::SubMesh>(
                mesh.get(), static_cast<int>(g), new Material(*group.material),
                static_cast<std::uint32_t>(group.triangles.size() / 3));
            subMesh->indices = group.triangles;
            mesh->subMeshes.push_back(std::move(subMesh));
            for (const std::uint32_t corner : group.triangles)
                shadowCorners.push_back(firstAt.emplace(KeyOf(corner), corner).first->second);
        }
        mesh->shadowMesh = std::make_unique<Model3D::ShadowMesh>(
            mesh.get(), static_cast<std::uint32_t>(shadowCorners.size() / 3));
        mesh->shadowMesh->indices = shadowCorners;
        mesh->shadowMesh->BuildEdges();
        mesh->shadowMesh->ComputeFacePlanes(mesh->positions.data());
        return mesh;
    }

private:
    using Key = std::tuple<float, float, float>;

    struct Group
    {
        Material* material;
        std::vector<std::uint32_t> triangles;
    };

    Key KeyOf(std::uint32_t i) const
    {
        const Math::Vector& p = vertices[i].position;
        return Key(p[0], p[1], p[2]);
    }

    bool Same(std::uint32_t a, std::uint32_t b) const { return KeyOf(a) == KeyOf(b); }

    std::vector<Vertex> vertices;
    std::vector<Group> groups;
};

Math::Vector Along(const Math::Vector& axis, float scale)
{
    return Math::Vector(axis[0] * scale, axis[1] * scale, axis[2] * scale);
}

// A cube from -1 to 1 with a flat normal and its own corners on each side.
void BuildCube(MeshBuilder& builder)
{
    const struct
    {
        Math::Vector normal, u, v;
    } sides[] = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}},  {{-1, 0, 0}, {0, 0, 1}, {0, 1, 0}},
                 {{0, 1, 0}, {0, 0, 1}, {1, 0, 0}},  {{0, -1, 0}, {1, 0, 0}, {0, 0, 1}},
                 {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}},  {{0, 0, -1}, {0, 1, 0}, {1, 0, 0}}};
    const float corners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    for (const auto& side : sides)
    {
        std::uint32_t index[4];
        for (int k = 0; k < 4; ++k)
        {
            const Math::Vector position =
                side.normal + Along(side.u, corners[k][0]) + Along(side.v, corners[k][1]);
            index[k] = builder.AddVertex(
                {position, side.normal, (corners[k][0] + 1) / 2, (corners[k][1] + 1) / 2});
        }
        builder.AddTriangle(index[0], index[1], index[2]);
        builder.AddTriangle(index[0], index[2], index[3]);
    }
}

// A sphere of rings from the +z pole to the -z pole, whose radius in each
// direction the function gives. The seam and the poles repeat their
// positions exactly, so the shadow mesh closes there.
template <class Radius>
void BuildSphere(MeshBuilder& builder, int slices, int stacks, Radius radius)
{
    const std::uint32_t first = builder.VertexCount();
    for (int i = 0; i <= stacks; ++i)
    {
        const float theta = Pi * i / stacks;
        const float ring = (i == 0 || i == stacks) ? 0.0f : std::sin(theta);
        const float z = i == 0 ? 1.0f : (i == stacks ? -1.0f : std::cos(theta));
        for (int j = 0; j <= slices; ++j)
        {
            const float phi = 2 * Pi * (j % slices) / slices;
            const Math::Vector direction(ring * std::cos(phi), ring * std::sin(phi), z);
            const Math::Vector position = Along(direction, radius(direction));
            builder.AddVertex({position, direction, static_cast<float>(j) / slices,
                               static_cast<float>(i) / stacks});
        }
    }
    const auto at = [first, slices](int i, int j)
    { return first + static_cast<std::uint32_t>(i * (slices + 1) + j); };
    for (int i = 0; i < stacks; ++i)
    {
        for (int j = 0; j < slices; ++j)
        {
            builder.AddTriangle(at(i, j), at(i + 1, j), at(i + 1, j + 1));
            builder.AddTriangle(at(i, j), at(i + 1, j + 1), at(i, j + 1));
        }
    }
}

// A rock: a sphere with a few overlapping bumps and dents.
float RockRadius(const Math::Vector& d)
{
    return 1.0f + 0.16f * std::sin(3.1f * d[0] + 1.3f) * std::sin(2.3f * d[1] + 0.4f) +
           0.10f * std::sin(5.7f * d[2] + 2.1f * d[0]) + 0.05f * std::sin(9.0f * d[1] - 4.0f * d[2]);
}

// A hull along +x: a nose point, hexagonal sections and a flat stern whose
// engine plate has a material of its own. Flat normals, a corner per face.
void BuildShip(MeshBuilder& builder, Material* hull, Material* engine)
{
    const struct
    {
        float x, width, height;
    } sections[] = {{0.6f, 0.25f, 0.15f}, {0.0f, 0.45f, 0.25f}, {-0.8f, 0.35f, 0.2f}};
    const int sides = 6;
    const float noseX = 1.2f;
    const float sternX = sections[2].x;
    const auto ring = [&](int s, int k)
    {
        const float angle = 2 * Pi * (k % sides) / sides;
        return Math::Vector(sections[s].x, sections[s].width * std::cos(angle),
                            sections[s].height * std::sin(angle));
    };
    const auto face = [&builder](const Math::Vector& a, const Math::Vector& b, const Math::Vector& c)
    {
        Math::Vector normal = (b - a).Cross(c - a);
        normal.Normalize();
        const auto uv = [](const Math::Vector& p) { return (p[0] + 0.8f) / 2.0f; };
        const std::uint32_t i = builder.AddVertex({a, normal, uv(a), a[2] + 0.5f});
        const std::uint32_t j = builder.AddVertex({b, normal, uv(b), b[2] + 0.5f});
        const std::uint32_t k = builder.AddVertex({c, normal, uv(c), c[2] + 0.5f});
        builder.AddTriangle(i, j, k);
    };

    builder.BeginGroup(hull);
    const Math::Vector nose(noseX, 0, 0);
    for (int k = 0; k < sides; ++k)
        face(nose, ring(0, k), ring(0, k + 1));
    for (int s = 0; s + 1 < 3; ++s)
    {
        for (int k = 0; k < sides; ++k)
        {
            face(ring(s, k), ring(s + 1, k), ring(s + 1, k + 1));
            face(ring(s, k), ring(s + 1, k + 1), ring(s, k + 1));
        }
    }
    builder.BeginGroup(engine);
    const Math::Vector stern(sternX, 0, 0);
    for (int k = 0; k < sides; ++k)
        face(stern, ring(2, k + 1), ring(2, k));
}

void Write(const std::string& path, std::unique_ptr<Model3D::Mesh> mesh)
{
    for (const Model3D::ShadowMesh::Edge& edge : mesh->shadowMesh->edges)
    {
        if (edge.face1 < 0)
            throw Error("The shadow mesh of ", path, " is not closed");
    }
    Model3D::MeshList meshes;
    meshes.push_back(std::move(mesh));
    std::remove(path.c_str());
    Model3D::ModelLoader(nullptr, path).Convert(meshes);
}

std::unique_ptr<Model3D::Mesh> Generated(const std::string& name, Material& material,
                                         void (*build)(MeshBuilder&))
{
    MeshBuilder builder;
    builder.BeginGroup(&material);
    build(builder);
    return builder.Build(name);
}

} // namespace

int main()
{
    try
    {
        Material grey("Cube");
        grey.SetDiffuse(0.7f, 0.7f, 0.75f, 1.0f).SetSpecular(0.3f, 0.3f, 0.3f, 1.0f).SetShininess(20);
        Write("Data/Models/Cube.3d", Generated("Cube", grey, BuildCube));

        Material ocean("Planet");
        ocean.SetDiffuse(0.25f, 0.45f, 0.8f, 1.0f).SetSpecular(0.2f, 0.2f, 0.25f, 1.0f).SetShininess(10);
        Write("Data/Models/Planet.3d", Generated("Planet", ocean, [](MeshBuilder& builder)
                                                 { BuildSphere(builder, 32, 16, [](const Math::Vector&) { return 1.0f; }); }));

        Material rock("Rock");
        rock.SetAmbient(0.25f, 0.22f, 0.2f, 1.0f).SetDiffuse(0.55f, 0.5f, 0.45f, 1.0f);
        Write("Data/Models/Asteroid.3d", Generated("Asteroid", rock, [](MeshBuilder& builder)
                                                   {
                                                       BuildSphere(builder, 20, 12, RockRadius);
                                                       builder.SmoothNormals();
                                                   }));

        Texture plating("Data/Models/Hull.png");
        Material hull("Hull");
        hull.SetTexture(&plating).SetDiffuse(1, 1, 1, 1).SetSpecular(0.5f, 0.5f, 0.5f, 1).SetShininess(40);
        Material engine("Engine");
        engine.SetDiffuse(0.2f, 0.2f, 0.2f, 1).SetEmission(1.0f, 0.55f, 0.1f, 1);
        MeshBuilder ship;
        BuildShip(ship, &hull, &engine);
        Write("Data/Models/Ship.3d", ship.Build("Ship"));
    }
    catch (const std::exception& e)
    {
        std::fprintf(stderr, "make_models: %s\n", e.what());
        return 1;
    }
    return 0;
}
