#include "Engine/DataReader.h"
#include "Graphics/GraphicsKinds.h"
#include "Graphics/Model3D/Model.h"
#include "Graphics/Model3D/ModelLoader.h"
#include "MeshFixtures.h"
#include "XFiles.h"
#include "Support/Archive.h"
#include "Support/Capture.h"
#include "Support/FakeResource.h"
#include "Support/FileMutexGuard.h"
#include "Support/TempDirectory.h"

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <thread>
#include <tinyxml.h>

namespace
{

using Model3D::MeshList;
using Model3D::ModelLoader;

class ModelLoaderTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        RegisterGraphicsKinds();
        DataStore::RegisterKind(ResourceType::Texture, UnloadedTexture::Make);
    }

    // The bytes of the meshes as a model file.
    static std::string FileOf(const MeshList& meshes)
    {
        OutputOf([&] { ModelLoader(nullptr, "Bytes.x").Convert(meshes); });
        const std::string bytes = ReadTextFile("Bytes.3d");
        std::remove("Bytes.3d");
        return bytes;
    }

    static std::string TriangleFile() { return FileOf(ListOf(MakeTriangle())); }

    // Registers the model under its path with the inline definition, when
    // given, and waits for its load; the error of a failed load, or "no error".
    std::string LoadModel(const std::string& path, const std::string& definition = "")
    {
        Resource* model = store.AddResource(path, nullptr, ResourceType::Model);
        if (!definition.empty())
        {
            TiXmlDocument document;
            document.Parse(("<resource>" + definition + "</resource>").c_str());
            store.SetDefinition(*model, *document.RootElement());
        }
        store.GetResource(path, true);
        return ErrorOf([&] { ProcessUntil(store, [model] { return model->IsReady(); }); });
    }

    const MeshList& MeshesOf(const std::string& path) { return store.GetModel(path, true)->GetMeshes(); }

    TempDirectory directory;
    FileMutexGuard fileMutex;
    DataStore store{nullptr};
};

// The files (not the folders) under the directory, sorted; none when it is
// not there.
std::vector<std::string> FilesUnder(const std::string& directory)
{
    std::vector<std::string> files;
    if (std::filesystem::is_directory(directory))
    {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(directory))
        {
            if (!entry.is_directory())
                files.push_back(entry.path().generic_string());
        }
    }
    else if (std::filesystem::exists(directory))
        files.push_back(directory);
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<float> FirstTwoPositions(const MeshList& meshes)
{
    const std::vector<float>& positions = meshes[0]->positions;
    return std::vector<float>(positions.begin(), positions.begin() + 6);
}

} // namespace

TEST_F(ModelLoaderTest, TheExtensionChoosesTheReaderAndEveryFailureLeavesNoMesh)
{
    WriteTextFile("Tri.3D", TriangleFile());
    WriteTextFile("ship.X", "xof 0303txt 0032\n");
    WriteTextFile("Empty.3d", "Modelfile version " + U16(1) + "MeshCount: " + U16(0) + "Done\n");
    std::string twoMeshes = FileOf([] {
        MeshList meshes = ListOf(MakeTriangle());
        meshes.push_back(MakeCube());
        return meshes;
    }());
    twoMeshes.replace(twoMeshes.find("Mesh: Cube"), 5, "Mash:");
    WriteTextFile("Half.3d", twoMeshes);

    struct Case
    {
        const char* file;
        std::string error;
    };
    const Case cases[] = {
        {"Tri.3D", "no error"},
        {"ship.obj", "Don't know how to load file: ship.obj"},
        {"ship.X", "Can't load file: ship.X"},
        {"Ship.xml", "Don't know how to load file: Ship.xml"},
        {"none.3d", "Error while loading: 'none.3d':\nCan't open file 'none.3d'"},
        {"Empty.3d", "Can't load file: Empty.3d"},
        {"Half.3d", "Error while loading: 'Half.3d':\nInternal error"},
    };
    for (const Case& c : cases)
    {
        MeshList meshes;
        EXPECT_EQ(c.error, ErrorOf([&] { ModelLoader(&store, c.file).Load(meshes); })) << c.file;
        EXPECT_EQ(c.error == "no error" ? 1u : 0u, meshes.size()) << c.file;
    }
}

TEST_F(ModelLoaderTest, ConversionWritesOnceAndNeverOverwrites)
{
    std::filesystem::create_directories("Data/Models");
    const MeshList meshes = ListOf(MakeTriangle());
    const ModelLoader loader(nullptr, "Data/Models/ship.X");
    EXPECT_EQ("Converting 'Data/Models/ship.X' to 'Data/Models/ship.3d'\n",
              OutputOf([&] { loader.Convert(meshes); }));
    EXPECT_EQ(TriangleFile(), ReadTextFile("Data/Models/ship.3d"));

    WriteTextFile("Data/Models/ship.3d", "older");
    EXPECT_EQ("", OutputOf([&] { loader.Convert(meshes); }));
    EXPECT_EQ("older", ReadTextFile("Data/Models/ship.3d"));
    EXPECT_EQ(1, std::distance(std::filesystem::directory_iterator("Data/Models"),
                               std::filesystem::directory_iterator()));

    EXPECT_EQ("Can't write file 'Nowhere/ship.3d': No such file or directory",
              ErrorOf([&] { ModelLoader(nullptr, "Nowhere/ship.x").Convert(meshes); }));
}

TEST_F(ModelLoaderTest, AFailedWriteLeavesNoFileBehind)
{
    const MeshList meshes = ListOf(MakeCube());
    // Writes past the limit fail (with the signal ignored) instead of ending
    // the process.
    rlimit previous;
    getrlimit(RLIMIT_FSIZE, &previous);
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = previous;
    small.rlim_cur = 100;
    setrlimit(RLIMIT_FSIZE, &small);
    std::string error;
    const std::string output =
        OutputOf([&] { error = ErrorOf([&] { ModelLoader(nullptr, "Cube.x").Convert(meshes); }); });
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, handler);

    EXPECT_EQ("Can't write file 'Cube.3d': File too large", error);
    EXPECT_EQ("", output);
    EXPECT_TRUE(std::filesystem::is_empty(directory.Path()));
}

TEST_F(ModelLoaderTest, ConvertersRacingForOneFileLeaveOneWholeFile)
{
    const MeshList meshes = ListOf(MakeCube());
    const std::string expected = FileOf(meshes);
    const std::string output = OutputOf(
        [&]
        {
            std::vector<std::thread> converters;
            for (int i = 0; i < 4; ++i)
                converters.emplace_back([&] { ModelLoader(nullptr, "Cube.x").Convert(meshes); });
            for (std::thread& converter : converters)
                converter.join();
        });
    EXPECT_EQ("Converting 'Cube.x' to 'Cube.3d'\n", output);
    EXPECT_EQ(expected, ReadTextFile("Cube.3d"));
    EXPECT_EQ(1, std::distance(std::filesystem::directory_iterator(directory.Path()),
                               std::filesystem::directory_iterator()));
}

TEST_F(ModelLoaderTest, DeformElementsComposeInDocumentOrder)
{
    WriteTextFile("Tri.3d", TriangleFile());
    const std::string identity = " d00='1' d01='0' d02='0' d03='0' d10='0' d11='1' d12='0' d13='0'"
                                 " d20='0' d21='0' d22='1' d23='0' d31='0' d32='0' d33='1'";
    struct Case
    {
        std::string definition;
        std::vector<float> positions; // of the vertices (0, 0, 0) and (1, 0, 0)
    };
    const Case cases[] = {
        {"<deform/>", {0, 0, 0, 1, 0, 0}},
        {"<deform><move x='1' y='0' z='0'/><scale x='2' y='2' z='2'/></deform>", {2, 0, 0, 4, 0, 0}},
        {"<deform><scale x='2' y='2' z='2'/><move x='1' y='0' z='0'/></deform>", {1, 0, 0, 3, 0, 0}},
        {"<Deform><MOVE x='1' y='0' z='0'/></Deform><deform><scale x='3' y='1' z='1'/></deform>",
         {3, 0, 0, 6, 0, 0}},
        {"<deform><matrix d30='5'" + identity + "/></deform>", {5, 0, 0, 6, 0, 0}},
        {"<deform><rotate angle='180' x='0' y='0' z='2'/></deform>", {0, 0, 0, -1, 0, 0}},
        {"<deform><!-- none -->text<move x='0' y='1' z='0'/></deform>", {0, 1, 0, 1, 1, 0}},
    };
    for (const Case& c : cases)
    {
        store.Clear();
        ASSERT_EQ("no error", LoadModel("Tri.3d", c.definition)) << c.definition;
        const std::vector<float> positions = FirstTwoPositions(MeshesOf("Tri.3d"));
        for (std::size_t i = 0; i < positions.size(); ++i)
            EXPECT_NEAR(c.positions[i], positions[i], 1e-6f) << c.definition << " at " << i;
    }
}

TEST_F(ModelLoaderTest, AFaultyDefinitionFailsTheLoadAndUnknownTagsAreSkipped)
{
    WriteTextFile("Tri.3d", TriangleFile());
    const std::string error = LoadModel("Tri.3d", "<deform><move x='1' y='2'/></deform>");
    EXPECT_EQ(0u, error.find("Missing attribute 'z' in:\n")) << error;
    EXPECT_FALSE(store.GetModel("Tri.3d", true)->IsReady());

    store.Clear();
    std::string loaded;
    const std::string printed =
        OutputOf([&] { loaded = LoadModel("Tri.3d", "<twist/><deform><bend/><move x='1' y='0' z='0'/></deform>"); });
    EXPECT_EQ("no error", loaded);
    EXPECT_NE(std::string::npos, printed.find("Unknown XML tag 'twist'")) << printed;
    EXPECT_NE(std::string::npos, printed.find("Unknown XML tag 'bend'")) << printed;
    EXPECT_EQ(1.0f, MeshesOf("Tri.3d")[0]->positions[0]);
}

TEST_F(ModelLoaderTest, AModelFromTheArchiveIsPublishedWithItsTextures)
{
    Texture skin("Data/Models/Skin.png");
    Material* paint = new Material("Paint");
    paint->SetTexture(&skin);
    std::filesystem::create_directories("Data/Models");
    OutputOf([&] { ModelLoader(nullptr, "Data/Models/Box.x").Convert(ListOf(MakeCube(paint))); });
    WriteTextFile("Data/Root.xml",
                  "<Group><resource type='3DModel' file='Models/Box.3d' name='Box'>"
                  "<deform><scale x='2' y='2' z='2'/></deform></resource></Group>");
    MoveIntoArchive({"Data/Root.xml", "Data/Models/Box.3d"});

    // The model belongs to the parent and loads on the child's thread; its
    // textures go to the parent.
    DataReader(&store, nullptr, nullptr).ReadFile("Data/Root.xml", "Group");
    DataStore child(&store);
    Model* box = child.GetModel("Box", true);
    ASSERT_TRUE(ProcessUntil(child, [box] { return box->IsReady(); }));
    ASSERT_EQ(1u, box->GetMeshes().size());
    EXPECT_EQ(2.0f, box->GetMeshes()[0]->positions[3]);
    const Material& material = *box->GetMeshes()[0]->subMeshes[0]->material;
    EXPECT_EQ(material.texture, store.GetTexture("Data/Models/Skin.png", false));
    EXPECT_NE(nullptr, material.texture);
}

// A model outside the data folder is not read, so its model file is not
// written beside it; a texture there is refused with the model that names it.
TEST_F(ModelLoaderTest, NothingOutsideTheDataFolderIsReadOrWritten)
{
    WriteTextFile("Outside/Box.x", XCube());
    WriteTextFile("Data/Models/Ship.x", XShip());
    ReplaceInFile("Data/Models/Ship.x", "paint.png", "../../Outside/paint.png");
    Texture skin("Data/Models/../../Outside/paint.png");
    Material* paint = new Material("Paint");
    paint->SetTexture(&skin);
    OutputOf([&] { ModelLoader(nullptr, "Data/Models/Box.x").Convert(ListOf(MakeCube(paint))); });
    const std::string texture = "The path 'Data/Models/../../Outside/paint.png' leads out of the "
                                "data folder";
    const struct
    {
        const char* model;
        std::string error;
    } cases[] = {
        {"Data/../Outside/Box.x", "Error while loading: 'Data/../Outside/Box.x':\nThe path "
                                  "'Data/../Outside/Box.x' leads out of the data folder"},
        {"Data/Models/Ship.x", "Error while loading: 'Data/Models/Ship.x':\n" + texture},
        {"Data/Models/Box.3d", "Error while loading: 'Data/Models/Box.3d':\n" + texture},
    };
    for (const auto& c : cases)
    {
        std::string error;
        // The loader thread prints the failure, and converts nothing.
        EXPECT_EQ("Error: " + c.error + "\nTypeid: 'Error'\n",
                  OutputOf([&] { error = LoadModel(c.model); }))
            << c.model;
        EXPECT_EQ(c.error, error) << c.model;
    }
    EXPECT_EQ((std::vector<std::string>{"Outside/Box.x"}), FilesUnder("Outside"));
    EXPECT_FALSE(FileExists("Data/Models/Ship.3d"));
}

TEST_F(ModelLoaderTest, AnImportIsPreparedAndConvertedOnce)
{
    WriteTextFile("Data/Models/Box.x", XCube());
    std::string error;
    EXPECT_EQ("Converting 'Data/Models/Box.x' to 'Data/Models/Box.3d'\n",
              OutputOf([&] { error = LoadModel("Data/Models/Box.x"); }));
    ASSERT_EQ("no error", error);
    const Model3D::Mesh& box = *MeshesOf("Data/Models/Box.x")[0];
    EXPECT_EQ(8u, box.vertexCount);
    ASSERT_EQ(1u, box.subMeshes.size());
    EXPECT_EQ(12u, box.subMeshes[0]->triangleCount);
    ASSERT_NE(nullptr, box.shadowMesh);
    EXPECT_EQ(18u, box.shadowMesh->edges.size());
    for (const Model3D::ShadowMesh::Edge& edge : box.shadowMesh->edges)
        EXPECT_LE(0, edge.face1);

    // The converted file holds the prepared mesh; a later import writes
    // nothing.
    ASSERT_EQ("no error", LoadModel("Data/Models/Box.3d"));
    const Model3D::Mesh& converted = *MeshesOf("Data/Models/Box.3d")[0];
    EXPECT_EQ(box.positions, converted.positions);
    EXPECT_EQ(box.subMeshes[0]->indices, converted.subMeshes[0]->indices);
    EXPECT_EQ(box.shadowMesh->indices, converted.shadowMesh->indices);
    store.Clear();
    EXPECT_EQ("", OutputOf([&] { error = LoadModel("Data/Models/Box.x"); }));
    EXPECT_EQ("no error", error);
}

TEST_F(ModelLoaderTest, AMaterialWithAnEmptyTextureFileNameHasNoTextureInTheModelFileEither)
{
    WriteTextFile("Data/Models/Ship.x", XShipWithoutPaintTexture());
    std::string error;
    OutputOf([&] { error = LoadModel("Data/Models/Ship.x"); });
    ASSERT_EQ("no error", error);
    ASSERT_EQ("no error", LoadModel("Data/Models/Ship.3d"));
    const MeshList& imported = MeshesOf("Data/Models/Ship.x");
    const MeshList& converted = MeshesOf("Data/Models/Ship.3d");
    ASSERT_EQ(imported.size(), converted.size());
    for (std::size_t i = 0; i < imported.size(); ++i)
    {
        ASSERT_EQ(imported[i]->subMeshes.size(), converted[i]->subMeshes.size()) << i;
        for (std::size_t k = 0; k < imported[i]->subMeshes.size(); ++k)
        {
            const Material& before = *imported[i]->subMeshes[k]->material;
            const Material& after = *converted[i]->subMeshes[k]->material;
            EXPECT_EQ(before.name, after.name);
            EXPECT_EQ(nullptr, before.texture) << before.name;
            EXPECT_EQ(nullptr, after.texture) << after.name;
            EXPECT_EQ("", after.texturePath) << after.name;
        }
    }
}

TEST_F(ModelLoaderTest, AnImportWhoseModelFileCannotBeWrittenIsUsedAsImported)
{
    // The model comes from the archive; where its model file would go there
    // is no folder, or a file.
    struct Case
    {
        const char* name;
        std::vector<std::string> onDisk;
        std::string reason;
    };
    const Case cases[] = {
        {"no data folder", {}, "No such file or directory"},
        {"no model folder", {"Data/Root.xml"}, "No such file or directory"},
        {"a file for the folder", {"Data/Models"}, "Not a directory"},
    };
    WriteTextFile("Data/Models/Box.x", XCube());
    MoveIntoArchive({"Data/Models/Box.x"});
    for (const Case& c : cases)
    {
        store.Clear();
        std::filesystem::remove_all("Data");
        for (const std::string& file : c.onDisk)
            WriteTextFile(file, "kept");

        ASSERT_EQ(c.onDisk, FilesUnder("Data")) << c.name;

        std::string error;
        const std::string output = OutputOf([&] { error = LoadModel("Data/Models/Box.x"); });
        EXPECT_EQ("no error", error) << c.name;
        EXPECT_EQ("Warning: Can't write file 'Data/Models/Box.3d': " + c.reason +
                      "; the meshes imported from 'Data/Models/Box.x' are used\n",
                  output)
            << c.name;
        ASSERT_TRUE(store.GetModel("Data/Models/Box.x", true)->IsReady()) << c.name;
        const MeshList& meshes = MeshesOf("Data/Models/Box.x");
        ASSERT_EQ(1u, meshes.size()) << c.name;
        EXPECT_EQ(8u, meshes[0]->vertexCount) << c.name;
        EXPECT_NE(nullptr, meshes[0]->shadowMesh) << c.name;

        EXPECT_EQ(c.onDisk, FilesUnder("Data")) << c.name;
    }
}

TEST_F(ModelLoaderTest, AFileThatDoesNotImportFailsBeforeAnyConversion)
{
    WriteTextFile("Broken.x", XHeader() + "Frame F {\n");
    EXPECT_EQ("Error while loading: 'Broken.x':\nParse error, block without its closing curly brace in: Broken.x",
              LoadModel("Broken.x"));
    EXPECT_FALSE(FileExists("Broken.3d"));
}

TEST_F(ModelLoaderTest, TheGeneratedModelsAreClosedAndInRange)
{
    // The imports are converted here, never in the repository.
    std::filesystem::create_directories("Data/Models");
    const char* const models[] = {"Cube.3d", "Planet.3d",  "Asteroid.3d",
                                  "Ship.3d", "Cruiser.x", "MotherShip.x"};
    for (const char* name : models)
        std::filesystem::copy_file(std::string(ZEV_SOURCE_DIR) + "/Data/Models/" + name,
                                   std::string("Data/Models/") + name);
    for (const char* name : models)
    {
        const std::string path = std::string("Data/Models/") + name;
        std::string error;
        const std::string output = OutputOf([&] { error = LoadModel(path); });
        ASSERT_EQ("no error", error) << path;
        EXPECT_EQ(path.back() == 'x', output.find("Converting") != std::string::npos) << output;
        for (const std::unique_ptr<Model3D::Mesh>& mesh : MeshesOf(path))
        {
            EXPECT_FALSE(mesh->subMeshes.empty()) << path;
            for (const Model3D::ShadowMesh::Edge& edge : mesh->shadowMesh->edges)
                EXPECT_LE(0, edge.face1) << path;
        }
    }
    // The mother ship's faces share their corners.
    const Model3D::Mesh& mother = *MeshesOf("Data/Models/MotherShip.x")[0];
    EXPECT_EQ("MotherShip", mother.name);
    // A vertex per ring position (the nose's last is never used) and the engine
    // plate's own.
    EXPECT_EQ(16u + 6 * 17 + 17, mother.vertexCount);
    EXPECT_EQ("Data/Models/Hull.png", mother.subMeshes[0]->material->texturePath);
    const Material& hull = *MeshesOf("Data/Models/Ship.3d")[0]->subMeshes[0]->material;
    EXPECT_EQ("Data/Models/Hull.png", hull.texturePath);
}
