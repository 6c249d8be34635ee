// Writes the generated model files under Data/Models: through the game's own
// model writer a cube, a UV sphere ("Planet"), a lumpy rock ("Asteroid") and
// a small ship hull with a textured material, and the glowing shot of the
// battle's cannon; and as text .x files, which the
// game imports and converts on its first run, the mother ship and the
// battle's cruiser. The same program gives the same files. Run by
// Tools/make_data.sh from the repository root.
#include "Engine/Error.h"
#include "Engine/Vector.h"
#include "Graphics/Model3D/Material.h"
#include "Graphics/Model3D/ModelLoader.h"
#include "Graphics/Model3D/ShadowMesh.h"
#include "Graphics/Texture.h"
#include "XFileWriter.h"

#include <cmath>
#include <cstdio>
#include <exception>
#include <map>
#include <tuple>

namespace
{

const float Pi = 3.14159265358979f;

using Vertex = XFile::Vertex;

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

    // A text .x file of one frame named after the mesh, a material per group;
    // two triangles in a row that form a quad become one face of four
    // corners.
    void WriteX(const std::string& path, const std::string& name) const
    {
        std::vector<XFile::Face> faces;
        std::vector<const Material*> materials;
        for (std::size_t g = 0; g < groups.size(); ++g)
        {
            materials.push_back(groups[g].material);
            const std::vector<std::uint32_t>& t = groups[g].triangles;
            for (std::size_t i = 0; i < t.size(); i += 3)
            {
                if (i + 5 < t.size() && t[i + 3] == t[i] && t[i + 4] == t[i + 2])
                {
                    faces.push_back({g, {t[i], t[i + 1], t[i + 2], t[i + 5]}});
                    i += 3;
                }
                else
                    faces.push_back({g, {t[i], t[i + 1], t[i + 2]}});
            }
        }
        XFile::Write(path, name, vertices, faces, materials);
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

struct Section
{
    float x, width, height;
};

// A hull along +x: a nose point, sections around x (the widths along y, the
// heights along z) and a flat stern whose engine plate has a material of its
// own. Flat normals, a corner per face.
void BuildShip(MeshBuilder& builder, const std::vector<Section>& sections, int sides, float noseX,
               Material* hull, Material* engine)
{
    const auto ring = [&](std::size_t s, int k)
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
    for (std::size_t s = 0; s + 1 < sections.size(); ++s)
    {
        for (int k = 0; k < sides; ++k)
        {
            face(ring(s, k), ring(s + 1, k), ring(s + 1, k + 1));
            face(ring(s, k), ring(s + 1, k + 1), ring(s, k + 1));
        }
    }
    builder.BeginGroup(engine);
    const std::size_t last = sections.size() - 1;
    const Math::Vector stern(sections[last].x, 0, 0);
    for (int k = 0; k < sides; ++k)
        face(stern, ring(last, k + 1), ring(last, k));
}

// The mother ship: a smooth body of revolution along +x, a ring of vertices
// per section that shares its corners between faces (the texture wraps once
// around), and a flat engine plate at the stern.
void BuildMotherShip(MeshBuilder& builder, Material* hull, Material* engine)
{
    const float radii[][2] = {{1.6f, 0.0f},  {1.3f, 0.22f}, {0.9f, 0.42f}, {0.4f, 0.55f},
                              {-0.2f, 0.6f}, {-0.7f, 0.52f}, {-1.0f, 0.4f}};
    const int sides = 16;
    const int sections = static_cast<int>(std::size(radii));
    const auto at = [&](int s, int k)
    {
        const float angle = 2 * Pi * (k % sides) / sides;
        // Flattened a little along z.
        return Math::Vector(radii[s][0], radii[s][1] * std::cos(angle), 0.8f * radii[s][1] * std::sin(angle));
    };
    builder.BeginGroup(hull);
    const std::uint32_t first = builder.VertexCount();
    for (int s = 0; s < sections; ++s)
    {
        for (int k = 0; k <= sides; ++k)
            builder.AddVertex({at(s, k), {}, static_cast<float>(k) / sides, static_cast<float>(s) / (sections - 1)});
    }
    const auto index = [&](int s, int k) { return first + static_cast<std::uint32_t>(s * (sides + 1) + k); };
    for (int s = 0; s + 1 < sections; ++s)
    {
        for (int k = 0; k < sides; ++k)
        {
            builder.AddTriangle(index(s, k), index(s + 1, k), index(s + 1, k + 1));
            builder.AddTriangle(index(s, k), index(s + 1, k + 1), index(s, k + 1));
        }
    }
    builder.SmoothNormals();

    builder.BeginGroup(engine);
    const Math::Vector back(-1, 0, 0);
    const std::uint32_t centre =
        builder.AddVertex({Math::Vector(radii[sections - 1][0], 0, 0), back, 0.5f, 0.5f});
    std::uint32_t ring[sides];
    for (int k = 0; k < sides; ++k)
    {
        const Math::Vector p = at(sections - 1, k);
        ring[k] = builder.AddVertex({p, back, 0.5f + p[1], 0.5f + p[2]});
    }
    for (int k = 0; k < sides; ++k)
        builder.AddTriangle(centre, ring[(k + 1) % sides], ring[k]);
}

void CheckClosed(const std::string& path, const Model3D::Mesh& mesh)
{
    for (const Model3D::ShadowMesh::Edge& edge : mesh.shadowMesh->edges)
    {
        if (edge.face1 < 0)
            throw Error("The shadow mesh of ", path, " is not closed");
    }
}

void Write(const std::string& path, std::unique_ptr<Model3D::Mesh> mesh)
{
    CheckClosed(path, *mesh);
    Model3D::MeshList meshes;
    meshes.push_back(std::move(mesh));
    std::remove(path.c_str());
    Model3D::ModelLoader(nullptr, path).Convert(meshes);
}

// The converted file beside it is the game's to write; an old one goes.
void WriteX(const MeshBuilder& builder, const std::string& path, const std::string& name)
{
    CheckClosed(path, *builder.Build(name));
    std::remove((path.substr(0, path.rfind('.') + 1) + "3d").c_str());
    builder.WriteX(path, name);
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
        BuildShip(ship, {{0.6f, 0.25f, 0.15f}, {0.0f, 0.45f, 0.25f}, {-0.8f, 0.35f, 0.2f}}, 6, 1.2f, &hull,
                  &engine);
        Write("Data/Models/Ship.3d", ship.Build("Ship"));

        Material glow("Shot");
        glow.SetDiffuse(0.4f, 1.0f, 0.5f, 1.0f).SetEmission(0.3f, 0.9f, 0.4f, 1.0f);
        Write("Data/Models/Shot.3d", Generated("Shot", glow, [](MeshBuilder& builder)
                                               {
                                                   BuildSphere(builder, 10, 6, [](const Math::Vector& d)
                                                               { return 0.12f + 0.2f * d[0] * d[0]; });
                                                   builder.SmoothNormals();
                                               }));

        MeshBuilder cruiser;
        // Flattened toward the stern into swept wings: an arrowhead from above.
        BuildShip(cruiser,
                  {{0.9f, 0.2f, 0.12f}, {0.3f, 0.45f, 0.2f}, {-0.3f, 0.95f, 0.16f}, {-0.7f, 1.15f, 0.1f},
                   {-0.9f, 0.45f, 0.18f}},
                  8, 1.5f, &hull, &engine);
        WriteX(cruiser, "Data/Models/Cruiser.x", "Cruiser");

        MeshBuilder mother;
        BuildMotherShip(mother, &hull, &engine);
        WriteX(mother, "Data/Models/MotherShip.x", "MotherShip");
    }
    catch (const std::exception& e)
    {
        std::fprintf(stderr, "make_models: %s\n", e.what());
        return 1;
    }
    return 0;
}
