#include "Engine/DataFile.h"
#include "Engine/Matrix.h"
#include "Graphics/GraphicsKinds.h"
#include "Graphics/Model3D/ModelLoader.h"
#include "MeshFixtures.h"
#include "Support/Capture.h"
#include "Support/FileMutexGuard.h"
#include "Support/TempDirectory.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace
{

using Model3D::Mesh;
using Model3D::MeshList;
using Model3D::ShadowMesh;

const std::string Header = "Modelfile version " + U16(1) + "MeshCount: " + U16(1);

// The one triangle of MakeTriangle, as the writer lays it out.
const std::string TriangleFile =
    Header + "Mesh: Tri\n" + "VertexCount: " + U16(3) + F32({0, 0, 0, 0, 0, 1, 0, 0}) +
    F32({1, 0, 0, 0, 0, 1, 1, 0}) + F32({0, 1, 0, 0, 0, 1, 0, 1}) + "SubMeshes: " + U16(1) +
    "SubMesh: " + U16(0) + "TriCount: " + U16(1) + U16(0) + U16(1) + U16(2) + "SubMesh: " +
    U16(0xFFFF) + "TriCount: " + U16(1) + U16(0) + U16(1) + U16(2) + "EdgeCount: " + U16(2) +
    U16(0) + U16(1) + U16(0) + U16(0xFFFF) + U16(1) + U16(2) + U16(0) + U16(0xFFFF) +
    "FaceNormals: " + U16(1) + F32({0, 0, 1, 0}) + "Done\n";

class ModelFileTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        RegisterGraphicsKinds();
        DataStore::RegisterKind(ResourceType::Texture, UnloadedTexture::Make);
    }

    // Writes the meshes as the model file of the path and returns its bytes.
    static std::string Written(const std::string& path, const MeshList& meshes)
    {
        OutputOf([&] { Model3D::ModelLoader(nullptr, path).Convert(meshes); });
        return ReadTextFile(path);
    }

    TempDirectory directory;
    FileMutexGuard fileMutex;
    DataStore store{nullptr};
};

void ExpectSameMesh(const Mesh& expected, const Mesh& actual)
{
    EXPECT_EQ(expected.name, actual.name);
    EXPECT_EQ(expected.vertexCount, actual.vertexCount);
    EXPECT_EQ(expected.positions, actual.positions);
    EXPECT_EQ(expected.normals, actual.normals);
    EXPECT_EQ(expected.texCoords, actual.texCoords);
    ASSERT_EQ(expected.subMeshes.size(), actual.subMeshes.size());
    for (std::size_t i = 0; i < expected.subMeshes.size(); ++i)
    {
        EXPECT_EQ(expected.subMeshes[i]->id, actual.subMeshes[i]->id);
        EXPECT_EQ(expected.subMeshes[i]->indices, actual.subMeshes[i]->indices);
    }
    const ShadowMesh& shadow = *actual.shadowMesh;
    EXPECT_EQ(expected.shadowMesh->indices, shadow.indices);
    ASSERT_EQ(expected.shadowMesh->edges.size(), shadow.edges.size());
    for (std::size_t i = 0; i < shadow.edges.size(); ++i)
    {
        const ShadowMesh::Edge& edge = expected.shadowMesh->edges[i];
        EXPECT_EQ(edge.lower, shadow.edges[i].lower);
        EXPECT_EQ(edge.upper, shadow.edges[i].upper);
        EXPECT_EQ(edge.face0, shadow.edges[i].face0);
        EXPECT_EQ(edge.face1, shadow.edges[i].face1);
    }
    ASSERT_EQ(expected.shadowMesh->faces.size(), shadow.faces.size());
    for (std::size_t i = 0; i < shadow.faces.size(); ++i)
    {
        const ShadowMesh::Face& face = expected.shadowMesh->faces[i];
        EXPECT_EQ(face.a, shadow.faces[i].a);
        EXPECT_EQ(face.d, shadow.faces[i].d);
    }
}

struct EdgeRecord
{
    std::uint32_t lower, upper;
    std::int32_t face0, face1;
};

std::vector<EdgeRecord> EdgesOf(const ShadowMesh& shadow)
{
    std::vector<EdgeRecord> records;
    for (const ShadowMesh::Edge& edge : shadow.edges)
        records.push_back({edge.lower, edge.upper, edge.face0, edge.face1});
    return records;
}

bool operator==(const EdgeRecord& a, const EdgeRecord& b)
{
    return a.lower == b.lower && a.upper == b.upper && a.face0 == b.face0 && a.face1 == b.face1;
}

// The bytes with those after the occurrence of the label replaced.
std::string Patched(const std::string& bytes, const std::string& label, int occurrence,
                    const std::string& replacement)
{
    std::string::size_type at = bytes.find(label);
    for (int i = 0; i < occurrence; ++i)
        at = bytes.find(label, at + 1);
    std::string patched = bytes;
    patched.replace(at + label.size(), replacement.size(), replacement);
    return patched;
}

} // namespace

TEST_F(ModelFileTest, OneTriangleIsWrittenByteForByte)
{
    EXPECT_EQ(TriangleFile, Written("Tri.3d", ListOf(MakeTriangle())));
    const MeshList read = ReadModel(TriangleFile);
    ASSERT_EQ(1u, read.size());
    ExpectSameMesh(*MakeTriangle(), *read[0]);
    EXPECT_EQ(nullptr, read[0]->subMeshes[0]->material);
}

TEST_F(ModelFileTest, AMaterialWithoutTextureWritesABlankAndReadsBackWithoutOne)
{
    Material* paint = new Material("Paint");
    paint->SetAmbient(0.5f, 0, 0, 1).SetShininess(12).SetAlpha(0.25f);
    const std::string written =
        Written("Paint.3d", ListOf(MakeMesh("Tri", {0, 0, 0, 1, 0, 0, 0, 1, 0}, {0, 1, 2}, paint)));
    const std::string material = "SubMesh: " + U16(0) + "Material: Paint\n" + " " +
                                 F32({0.5f, 0, 0, 1, 0.8f, 0.8f, 0.8f, 1, 0, 0, 0, 1, 0, 0, 0, 1}) +
                                 F32({12, 0.25f}) + "TriCount: ";
    EXPECT_NE(std::string::npos, written.find(material));

    const MeshList read = ReadModel(written, &store);
    const Material* back = read[0]->subMeshes[0]->material.get();
    ASSERT_NE(nullptr, back);
    EXPECT_EQ("Paint", back->name);
    EXPECT_EQ(nullptr, back->texture);
    EXPECT_EQ(0.5f, back->ambient[0]);
    EXPECT_EQ(0.8f, back->diffuse[1]);
    EXPECT_EQ(12.0f, back->shininess);
    EXPECT_EQ(0.25f, back->alpha);
}

TEST_F(ModelFileTest, TexturePathsAreStoredRelativeToTheModelsDirectory)
{
    struct Case
    {
        const char* texture;
        const char* stored;
        const char* readBack;
    };
    const Case cases[] = {
        {"Data/Models/hull.png", "hull.png", "Data/Models/hull.png"},
        {"Data/Models/Skins/hull.png", "Skins/hull.png", "Data/Models/Skins/hull.png"},
        // A path outside the directory keeps its whole text, and the reader
        // still puts the directory before it.
        {"Data/hull.png", "Data/hull.png", "Data/Models/Data/hull.png"},
    };
    std::filesystem::create_directories("Data/Models");
    for (const Case& c : cases)
    {
        Texture texture(c.texture);
        Material* material = new Material("Hull");
        material->SetTexture(&texture);
        const std::string written = Written(
            "Data/Models/Ship.3d", ListOf(MakeMesh("Ship", {0, 0, 0, 1, 0, 0, 0, 1, 0}, {0, 1, 2},
                                                   material)));
        std::remove("Data/Models/Ship.3d");
        EXPECT_NE(std::string::npos,
                  written.find(std::string("Material: Hull\nTexture: ") + c.stored + "\n"))
            << c.texture;

        const MeshList read = ReadModel(written, &store, "Data/Models/");
        const Material& back = *read[0]->subMeshes[0]->material;
        EXPECT_EQ(c.readBack, back.texturePath);
        ASSERT_NE(nullptr, back.texture) << c.texture;
        EXPECT_EQ(c.readBack, back.texture->GetPath());
        EXPECT_EQ(back.texture, store.GetTexture(c.readBack, false));
    }
}

TEST_F(ModelFileTest, TheLargestCountsOfTheFormatReadBackUnchanged)
{
    const std::uint32_t count = 32767;
    std::vector<float> positions;
    std::vector<std::uint32_t> triangles;
    for (std::uint32_t i = 0; i < count; ++i)
    {
        positions.insert(positions.end(), {float(i), float(i % 7), float(i % 11)});
        triangles.insert(triangles.end(), {i, (i + 1) % count, (i + 5) % count});
    }
    const std::unique_ptr<Mesh> mesh = MakeMesh("Big", positions, triangles);
    const MeshList read = ReadModel(Written("Big.3d", ListOf(MakeMesh("Big", positions, triangles))));
    ASSERT_EQ(1u, read.size());
    ExpectSameMesh(*mesh, *read[0]);
}

TEST_F(ModelFileTest, TheWriterRefusesWhatCouldNotBeReadBackBeforeItCreatesAFile)
{
    struct Case
    {
        const char* name;
        std::function<void(Mesh&)> spoil;
        std::string error;
    };
    const std::string prefix = "Can't write file 'Bad.3d': ";
    const Case cases[] = {
        {"a blank in a name", [](Mesh& mesh) { mesh.name = "Space ship"; },
         "The mesh name 'Space ship' holds a blank, line feed, carriage return or NUL"},
        {"a line feed in a material name",
         [](Mesh& mesh) { mesh.subMeshes[0]->material.reset(new Material("A\nB")); },
         "The material name 'A\nB' holds a blank, line feed, carriage return or NUL"},
        {"a NUL in a texture path",
         [](Mesh& mesh)
         {
             mesh.subMeshes[0]->material.reset(new Material("Skin"));
             mesh.subMeshes[0]->material->texturePath = std::string("a\0b.png", 7);
         },
         // The message ends at the NUL.
         "The texture path 'a"},
        {"a carriage return in a texture path",
         [](Mesh& mesh)
         {
             Material* material = new Material("Skin");
             material->texturePath = "a\r.png";
             mesh.subMeshes[0]->material.reset(material);
         },
         "The texture path 'a\r.png' holds a blank, line feed, carriage return or NUL"},
        {"too many vertices", [](Mesh& mesh) { mesh.vertexCount = 32768; },
         "Mesh 'Tri' has more than 32767 vertices"},
        {"too many triangles",
         [](Mesh& mesh) { mesh.subMeshes[0].reset(new Model3D::SubMesh(&mesh, 0, nullptr, 32768)); },
         "A sub-mesh of mesh 'Tri' has more than 32767 triangles"},
        {"too many shadow triangles",
         [](Mesh& mesh) { mesh.shadowMesh.reset(new ShadowMesh(&mesh, 32768)); },
         "The shadow mesh of mesh 'Tri' has more than 32767 triangles"},
        {"too many edges",
         [](Mesh& mesh) { mesh.shadowMesh->edges.resize(65536); },
         "The shadow mesh of mesh 'Tri' has more than 65535 edges"},
        {"no shadow mesh", [](Mesh& mesh) { mesh.shadowMesh.reset(); }, "Mesh 'Tri' has no shadow mesh"},
    };
    for (const Case& c : cases)
    {
        MeshList meshes = ListOf(MakeTriangle());
        c.spoil(*meshes[0]);
        const std::string error =
            ErrorOf([&] { Model3D::ModelLoader(nullptr, "Bad.x").Convert(meshes); });
        EXPECT_EQ(prefix + c.error, error.substr(0, prefix.size() + c.error.size())) << c.name;
        EXPECT_TRUE(std::filesystem::is_empty(directory.Path())) << c.name;
    }
}

TEST_F(ModelFileTest, EveryCutOfAFileFailsWithinItsData)
{
    Material* paint = new Material("Paint");
    Texture skin("Skin.png");
    paint->SetTexture(&skin);
    const std::string file =
        Written("Cube.3d", ListOf(MakeCube(paint)));
    // Only the last line feed may go: the end of the data ends "Done" too.
    ASSERT_NO_THROW(ReadModel(file.substr(0, file.size() - 1), &store));
    for (std::size_t size = 0; size + 1 < file.size(); ++size)
    {
        const std::string error = ErrorOf([&] { ReadModel(file.substr(0, size), &store); });
        if (size < std::string("Modelfile version").size())
            EXPECT_EQ("Unknown filetype", error) << size;
        else
            EXPECT_EQ("Internal error", error) << size;
    }
}

TEST_F(ModelFileTest, CorruptedFilesAreRefused)
{
    struct Case
    {
        const char* name;
        std::string bytes;
        std::string error;
    };
    const Case cases[] = {
        {"first label", Patched(TriangleFile, "", 0, "Modelfilf"), "Unknown filetype"},
        {"second label", Patched(TriangleFile, "Modelfile ", 0, "versioN"), "Unknown filetype"},
        {"other file", "<Model/>", "Unknown filetype"},
        {"version 2", Patched(TriangleFile, "version ", 0, U16(2)), "Unknown modelfile version: 2"},
        {"mesh count label", Patched(TriangleFile, "", 0, Header.substr(0, 18) + U16(1) + "MeshCounT"),
         "Internal error"},
        {"mesh label", Patched(TriangleFile, "MeshCount: ", 0, U16(1) + "Mash:"), "Internal error"},
        {"vertex count -1", Patched(TriangleFile, "VertexCount: ", 0, U16(0xFFFF)), "Internal error"},
        {"vertex count 40000", Patched(TriangleFile, "VertexCount: ", 0, U16(40000)),
         "Internal error"},
        {"sub-mesh count -1", Patched(TriangleFile, "SubMeshes: ", 0, U16(0xFFFF)), "Internal error"},
        {"triangle count 40000", Patched(TriangleFile, "TriCount: ", 0, U16(40000)), "Internal error"},
        {"mesh count -1", Patched(TriangleFile, "MeshCount: ", 0, U16(0xFFFF)), "Internal error"},
        {"index out of range", Patched(TriangleFile, "TriCount: ", 0, U16(1) + U16(0) + U16(3)),
         "Internal error"},
        {"shadow index out of range", Patched(TriangleFile, "TriCount: ", 1, U16(1) + U16(7)),
         "Internal error"},
        {"sub-mesh label", Patched(TriangleFile, "SubMeshes: ", 0, U16(1) + "SubMash:"),
         "Internal error"},
        {"material label", Patched(TriangleFile, "SubMesh: ", 0, U16(0) + "Materia:"),
         "Internal error"},
        {"shadow id 0", Patched(TriangleFile, "SubMesh: ", 1, U16(0)), "Internal error"},
        {"edge count label",
         Patched(TriangleFile, "TriCount: ", 1, U16(1) + U16(0) + U16(1) + U16(2) + "EdgeCounts"),
         "Internal error"},
        {"edge end out of range", Patched(TriangleFile, "EdgeCount: ", 0, U16(2) + U16(0) + U16(3)),
         "Internal error"},
        {"face0 -1", Patched(TriangleFile, "EdgeCount: ", 0, U16(2) + U16(0) + U16(1) + U16(0xFFFF)),
         "Internal error"},
        {"face1 out of range",
         Patched(TriangleFile, "EdgeCount: ", 0, U16(2) + U16(0) + U16(1) + U16(0) + U16(1)),
         "Internal error"},
        {"face-normal count", Patched(TriangleFile, "FaceNormals: ", 0, U16(2)), "Internal error"},
        {"no Done", TriangleFile.substr(0, TriangleFile.size() - 5) + "Dome\n", "Internal error"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.error, ErrorOf([&] { ReadModel(c.bytes); })) << c.name;
    // A count of 0 is no fault of the file; the loader refuses the empty model.
    EXPECT_TRUE(ReadModel(Header.substr(0, Header.size() - 2) + U16(0) + "Done\n").empty());
}

TEST_F(ModelFileTest, EdgesPairTheWalksOfEachEdge)
{
    struct Case
    {
        const char* name;
        std::vector<std::uint32_t> triangles;
        std::vector<EdgeRecord> edges;
    };
    const Case cases[] = {
        {"two triangles", {0, 1, 2, 0, 2, 3}, {{0, 1, 0, -1}, {1, 2, 0, -1}, {0, 2, 1, 0}, {2, 3, 1, -1}}},
        // The walk back of a degenerate triangle pairs with its own walk.
        {"a degenerate edge", {0, 0, 1}, {{0, 1, 0, 0}}},
        // The walks from 2 to 1 and from 1 to 0 find no record, the first
        // past every record there is.
        {"edges walked only from their larger end", {0, 2, 1}, {{0, 2, 0, -1}}},
        {"an edge walked twice each way",
         {0, 1, 2, 0, 1, 3, 1, 0, 4, 1, 0, 5},
         {{0, 1, 0, 2}, {1, 2, 0, -1}, {0, 1, 1, 3}, {1, 3, 1, -1}, {0, 4, 2, -1}, {0, 5, 3, -1}}},
    };
    for (const Case& c : cases)
    {
        const std::unique_ptr<Mesh> mesh =
            MakeMesh(c.name, std::vector<float>(18, 0.0f), c.triangles);
        EXPECT_TRUE(c.edges == EdgesOf(*mesh->shadowMesh)) << c.name;
    }

    const std::vector<EdgeRecord> cube = EdgesOf(*MakeCube()->shadowMesh);
    EXPECT_EQ(18u, cube.size());
    for (const EdgeRecord& edge : cube)
    {
        EXPECT_LT(edge.lower, edge.upper);
        EXPECT_LE(0, edge.face1);
        EXPECT_NE(edge.face0, edge.face1);
    }
}

TEST_F(ModelFileTest, FacePlanesHoldTheUnitNormalAndTheDistance)
{
    const std::unique_ptr<Mesh> mesh =
        MakeMesh("Planes", {0, 0, 2, 3, 0, 2, 0, 3, 2, 1, 1, 1, 2, 2, 2, 3, 3, 3},
                 {0, 1, 2, 3, 4, 4, 3, 4, 5});
    const std::vector<ShadowMesh::Face>& faces = mesh->shadowMesh->faces;
    EXPECT_FLOAT_EQ(1.0f, faces[0].c);
    EXPECT_FLOAT_EQ(-2.0f, faces[0].d);
    for (const ShadowMesh::Face* degenerate : {&faces[1], &faces[2]})
    {
        EXPECT_EQ(0.0f, degenerate->a);
        EXPECT_EQ(0.0f, degenerate->b);
        EXPECT_EQ(0.0f, degenerate->c);
        EXPECT_EQ(0.0f, degenerate->d);
    }
}

TEST_F(ModelFileTest, TransformMovesPointsTurnsUnitNormalsAndRemakesThePlanes)
{
    const std::unique_ptr<Mesh> mesh = MakeTriangle();
    mesh->Transform(Math::Matrix::Translate(1, 0, 0));
    EXPECT_EQ((std::vector<float>{1, 0, 0, 2, 0, 0, 1, 1, 0}), mesh->positions);
    EXPECT_EQ((std::vector<float>{0, 0, 1, 0, 0, 1, 0, 0, 1}), mesh->normals);

    // Scaled and lifted off the origin, the plane follows the triangle and
    // the normals stay of unit length.
    mesh->Transform(Math::Matrix::Translate(0, 0, 3) * Math::Matrix::Scale(2, 2, 4));
    EXPECT_FLOAT_EQ(3.0f, mesh->positions[2]);
    EXPECT_FLOAT_EQ(1.0f, mesh->normals[2]);
    const ShadowMesh::Face& face = mesh->shadowMesh->faces[0];
    EXPECT_FLOAT_EQ(1.0f, face.c);
    EXPECT_FLOAT_EQ(-3.0f, face.d);
}
