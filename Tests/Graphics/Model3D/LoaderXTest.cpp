#include "Graphics/Model3D/LoaderX.h"
#include "MeshFixtures.h"
#include "Support/Capture.h"
#include "Support/FileMutexGuard.h"
#include "Support/TempDirectory.h"
#include "XFiles.h"

#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <locale>

namespace
{

using Model3D::MeshList;

const char* const FileName = "Models/Ship.x";

class LoaderXTest : public testing::Test
{
protected:
    static void SetUpTestSuite() { DataStore::RegisterKind(ResourceType::Texture, UnloadedTexture::Make); }

    // Imports the text as the file Models/Ship.x from a buffer of exactly its
    // bytes, so that the sanitizer catches any read past them.
    MeshList Import(const std::string& text)
    {
        const std::unique_ptr<char[]> bytes(new char[text.size()]);
        std::memcpy(bytes.get(), text.data(), text.size());
        MeshList meshes;
        Model3D::LoaderX(&store, FileName).Read(bytes.get(), bytes.get() + text.size(), meshes);
        return meshes;
    }

    std::string ImportError(const std::string& text)
    {
        return ErrorOf([&] { Import(text); });
    }

    FileMutexGuard fileMutex;
    DataStore store{nullptr};
};

std::vector<float> Slice(const std::vector<float>& values, std::size_t first, std::size_t count)
{
    return std::vector<float>(values.begin() + first, values.begin() + first + count);
}

// A comma-decimal locale, as some systems have for the process.
struct CommaDecimal : std::numpunct<char>
{
    char do_decimal_point() const override { return ','; }
};

} // namespace

TEST_F(LoaderXTest, TheHeaderIsCheckedFieldByField)
{
    const std::string tail = "0032\n";
    struct Case
    {
        std::string text;
        std::string error;
    };
    const Case cases[] = {
        {"xof 0303txt " + tail, "no error"},
        {"xof 0302txt " + tail, "no error"},
        {"xof 0302txt 0064", "no error"},
        {"xof 0303bin " + tail, "Not a text format .x file, don't know how to load: Models/Ship.x"},
        {"xof 0301txt " + tail, "Minor version is not 02 or 03, don't know how to load: Models/Ship.x"},
        {"xof 0403txt " + tail, "Major version greater than 03, don't know how to load: Models/Ship.x"},
        {"xof 0203txt " + tail, "Major version greater than 03, don't know how to load: Models/Ship.x"},
        {"xif 0303txt " + tail, "Not .x file: Models/Ship.x"},
        {"xof 0303txt 003", "Not .x file: Models/Ship.x"},
        {"", "Not .x file: Models/Ship.x"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.error, ImportError(c.text)) << c.text;
}

TEST_F(LoaderXTest, MeshesInsideFramesAreNamedAfterThemAndMovedByTheTransformsBefore)
{
    struct Case
    {
        const char* name;
        std::string body;
        std::vector<std::string> meshes;
        float x; // where the vertex (1, 0, 0) of the first mesh ends up
    };
    const std::string move5 = XTranslation("5", "0", "0");
    const Case cases[] = {
        {"plain", "Frame Hull {\n" + XTriangle("Own") + "}\n", {"Hull"}, 1},
        {"moved", "Frame Hull {\n" + move5 + XTriangle() + "}\n", {"Hull"}, 6},
        {"moved after", "Frame Hull {\n" + XTriangle() + move5 + "}\n", {"Hull"}, 1},
        {"twice", "Frame Hull {\n" + move5 + move5 + XTriangle() + "}\n", {"Hull"}, 11},
        {"nested", "Frame A {\n" + move5 + "Frame B {\n" + XMatrix("2,0,0,0, 0,2,0,0, 0,0,2,0, 0,0,0,1") +
                       XTriangle() + "}\n" + XTriangle() + "}\n", {"B", "A"}, 7},
        {"unnamed frame", "Frame {\n" + XTriangle("Own") + "}\n", {""}, 1},
        {"outside every frame", XTriangle("Loose"), {}, 0},
        {"a frame inside a mesh", "Frame A {\nMesh {\n 3;\n 0;0;0;,\n 1;0;0;,\n 0;1;0;;\n 1;\n 3;0,1,2;;\n" +
                                      XFlatNormals({3}) + "Frame B {\n" + XTriangle() + "}\n}\n}\n", {"A"}, 1},
        {"after a closing brace", "}\nFrame A {\n" + XTriangle() + "}\n", {}, 0},
    };
    for (const Case& c : cases)
    {
        const MeshList meshes = Import(XHeader() + c.body);
        ASSERT_EQ(c.meshes.size(), meshes.size()) << c.name;
        for (std::size_t i = 0; i < meshes.size(); ++i)
            EXPECT_EQ(c.meshes[i], meshes[i]->name) << c.name;
        if (!meshes.empty())
        {
            EXPECT_EQ(c.x, meshes[0]->positions[3]) << c.name;
        }
    }
}

TEST_F(LoaderXTest, EveryCornerGetsItsOwnVertexWithItsNormalAndTextureCoordinate)
{
    const MeshList meshes = Import(XShip());
    ASSERT_EQ(2u, meshes.size());
    const Model3D::Mesh& hull = *meshes[0];
    EXPECT_EQ("Hull", hull.name);
    ASSERT_EQ(7u, hull.vertexCount);
    EXPECT_EQ((std::vector<float>{10, 0, 0, 11, 0, 0, 11, 1, 0, 10, 1, 0, 10, 1, 0, 11, 1, 0, 10.5f, 2, 0}),
              hull.positions);
    EXPECT_EQ((std::vector<float>{0, 0, 1}), Slice(hull.normals, 6 * 3, 3));
    EXPECT_EQ((std::vector<float>{0, 0, 1, 0, 1, 1, 0, 1, 0, 1, 1, 1, 0.5f, 0.5f}), hull.texCoords);

    // The quad (second material) gives (c, c + 1, c + 2) and (c, c + 2, c + 3);
    // groups come in material order.
    ASSERT_EQ(2u, hull.subMeshes.size());
    EXPECT_EQ(0, hull.subMeshes[0]->id);
    EXPECT_EQ((std::vector<std::uint32_t>{4, 5, 6}), hull.subMeshes[0]->indices);
    EXPECT_EQ(1, hull.subMeshes[1]->id);
    EXPECT_EQ((std::vector<std::uint32_t>{0, 1, 2, 0, 2, 3}), hull.subMeshes[1]->indices);
    EXPECT_EQ(nullptr, hull.shadowMesh);

    // The child frame's transform follows the parent's, and its normals stay
    // of length 1 under its scale; without texture coordinates they are zero.
    const Model3D::Mesh& turret = *meshes[1];
    EXPECT_EQ("Turret", turret.name);
    EXPECT_EQ((std::vector<float>{10, 0, 1, 12, 0, 1, 10, 2, 1}), turret.positions);
    EXPECT_EQ((std::vector<float>{0, 0, 1, 0, 0, 1, 0, 0, 1}), turret.normals);
    EXPECT_EQ(std::vector<float>(6, 0.0f), turret.texCoords);
}

TEST_F(LoaderXTest, FacesOfMoreCornersAreFans)
{
    const MeshList meshes = Import(XHeader() + "Frame F {\nMesh {\n 5;\n 0;0;0;,\n 1;0;0;,\n 2;1;0;,\n"
                                               " 1;2;0;,\n 0;1;0;;\n 1;\n 5;0,1,2,3,4;;\n" +
                                               XFlatNormals({5}) + "}\n}\n");
    ASSERT_EQ(1u, meshes.size());
    EXPECT_EQ((std::vector<std::uint32_t>{0, 1, 2, 0, 2, 3, 0, 3, 4}), meshes[0]->subMeshes[0]->indices);
}

TEST_F(LoaderXTest, MaterialsKeepTheirColoursAndTexturesAndTheFacesTheirMaterials)
{
    const MeshList meshes = Import(XShip());
    const Material& paint = *meshes[0]->subMeshes[0]->material;
    EXPECT_EQ("Paint", paint.name);
    EXPECT_EQ((std::vector<float>{1, 0.5f, 0.25f, 1}), std::vector<float>(paint.ambient, paint.ambient + 4));
    EXPECT_EQ((std::vector<float>{1, 0.5f, 0.25f, 1}), std::vector<float>(paint.diffuse, paint.diffuse + 4));
    EXPECT_EQ((std::vector<float>{0.1f, 0.2f, 0.3f, 1}), std::vector<float>(paint.specular, paint.specular + 4));
    EXPECT_EQ((std::vector<float>{0, 0, 0.4f, 1}), std::vector<float>(paint.emission, paint.emission + 4));
    EXPECT_EQ(12.0f, paint.shininess);
    EXPECT_EQ(0.75f, paint.alpha);
    EXPECT_EQ("Models/paint.png", paint.texturePath);
    EXPECT_EQ(store.GetTexture("Models/paint.png", false), paint.texture);
    const Material& glass = *meshes[0]->subMeshes[1]->material;
    EXPECT_EQ("Glass", glass.name);
    EXPECT_EQ(nullptr, glass.texture);
    EXPECT_EQ("Default", meshes[1]->subMeshes[0]->material->name);

    // Faces past the list keep material 0; an index past the materials
    // counts as 0; every listed material registers its texture, used or not.
    const std::string material = "Material M {\n 1;1;1;1;;\n 0;\n 0;0;0;;\n 0;0;0;;\n"
                                 " TextureFilename { \"unused.png\"; }\n}\n";
    const MeshList list = Import(XHeader() + "Frame F {\nMesh {\n 3;\n 0;0;0;,\n 1;0;0;,\n 0;1;0;;\n"
                                 " 3;\n 3;0,1,2;,\n 3;0,2,1;,\n 3;1,2,0;;\n" + XFlatNormals({3, 3, 3}) +
                                 " MeshMaterialList {\n 2;\n 1;\n 7;\n" + material + material + "}\n}\n}\n");
    ASSERT_EQ(1u, list[0]->subMeshes.size());
    EXPECT_EQ(3u, list[0]->subMeshes[0]->triangleCount);
    EXPECT_NE(nullptr, store.GetTexture("Models/unused.png", false));
}

TEST_F(LoaderXTest, AnEmptyTextureFileNameMeansNoTexture)
{
    const MeshList meshes = Import(XShipWithoutPaintTexture());
    const Material& paint = *meshes[0]->subMeshes[0]->material;
    EXPECT_EQ("Paint", paint.name);
    EXPECT_EQ(nullptr, paint.texture);
    EXPECT_EQ("", paint.texturePath);
    EXPECT_EQ(nullptr, store.Find("Models/", true)); // the model's folder
}

TEST_F(LoaderXTest, CommentsAndUnknownBlocksArePassedOver)
{
    const std::string body = "# hash\n// slashes\nUnknown Name {\n { nested } \n}\nMesh Top {\n}\n"
                             "Frame F {\n// inside\nXSkinMeshHeader { 1; }\nMesh {\n 3;// three\n"
                             " 0;0;0;,\n 1;0;0;,\n 0;1;0;;\n 1;\n 3;0,1,2;;\n SkinWeights { \"bone\"; }\n" +
                             XFlatNormals({3}) +
                             " Elsewhere { }\n}\n}\n// the end, without a line feed";
    const MeshList meshes = Import(XHeader() + body);
    ASSERT_EQ(1u, meshes.size());
    EXPECT_EQ("F", meshes[0]->name);
    EXPECT_EQ(3u, meshes[0]->vertexCount);
}

TEST_F(LoaderXTest, NumbersAreReadAlikeInEveryLocale)
{
    const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new CommaDecimal));
    const MeshList meshes = Import(XHeader() + "Frame F {\nMesh {\n 3;\n 0.5;+1.5e1;-.25;,\n 1;0;0;,\n 0;1;0;;\n"
                                               " 1;\n +3;0,1,2;;\n" +
                                   XFlatNormals({3}) + "}\n}\n");
    std::locale::global(previous);
    ASSERT_EQ(1u, meshes.size());
    EXPECT_EQ((std::vector<float>{0.5f, 15, -0.25f}), Slice(meshes[0]->positions, 0, 3));
}

TEST_F(LoaderXTest, MalformedFilesFailWithAMessage)
{
    const std::string frame = "Frame F {\nMesh {\n";
    const std::string triangle = " 3;\n 0;0;0;,\n 1;0;0;,\n 0;1;0;;\n";
    const std::string face = " 1;\n 3;0,1,2;;\n";
    const std::string close = "}\n}\n";
    const std::string in = " in: Models/Ship.x";
    const std::string normals = " MeshNormals {\n 1;\n 0;0;1;;\n";
    const std::string materialList = " MeshMaterialList {\n 1;\n 1;\n 0;;\n";
    const std::string material = " Material {\n 1;1;1;1;;\n 0;\n 0;0;0;;\n 0;0;0;;\n }\n";
    std::string deep;
    for (int i = 0; i < 300; ++i)
        deep += "Frame {\n";
    deep += std::string(300, '}');
    struct Case
    {
        const char* name;
        std::string body;
        std::string error;
    };
    const Case cases[] = {
        {"stray brace", "{ }\n", "Parse error, stray curly brace!"},
        {"slash", "/x\n", "Parse error, block name starting with '/'" + in},
        {"empty name", ";\n", "Parse error, empty block name" + in},
        {"no opening brace", "Frame F ;\n", "Opening curly brace not found!"},
        {"no closing brace", "Frame F {\n" + XTriangle(), "Parse error, block without its closing curly brace" + in},
        {"no block to skip", "template T\n", "Parse error, block name without its block" + in},
        {"no closing brace to skip", "Header {\n 1;\n", "Parse error, block without its closing curly brace" + in},
        {"word count", frame + " three;\n" + close, "Parse error, illegal number!"},
        {"negative count", frame + " -1;\n" + close, "Parse error, illegal number!"},
        {"count beyond 32 bits", frame + " 4294967296;\n" + close, "Parse error, illegal number!"},
        {"float out of range", frame + " 1;\n 1e39;0;0;;\n 0;\n" + close, "Parse error, illegal number!"},
        {"infinity word", frame + " 1;\n inf;0;0;;\n 0;\n" + close, "Parse error, illegal number!"},
        {"count past the data", frame + " 1000000000;\n 0;0;0;,\n" + close, "Parse error, illegal number!"},
        {"position at infinity",
         "Frame F {\n" + XMatrix("1e30,0,0,0, 0,1,0,0, 0,0,1,0, 0,0,0,1") + "Mesh {\n 1;\n 1e30;0;0;;\n 0;\n" + close,
         "Parse error, vertex position that is not finite" + in},
        {"two corners", frame + triangle + " 1;\n 2;0,1;;\n" + close, "Parse error, face with fewer than 3 corners" + in},
        {"no normals", frame + triangle + face + close, "Parse error, mesh without normals" + in},
        {"index past the vertices", frame + triangle + " 1;\n 3;0,1,3;;\n" + close,
         "Parse error, vertex index beyond the vertices" + in},
        {"few texture coordinates", frame + triangle + face + " MeshTextureCoords {\n 2;\n 0;0;,\n 1;1;;\n }\n" + close,
         "Parse error, fewer texture coordinates than vertices" + in},
        {"normal index past the normals", frame + triangle + face + normals + " 1;\n 3;0,0,1;;\n }\n" + close,
         "Parse error, normal index beyond the normals" + in},
        {"fewer normal faces", frame + triangle + face + normals + " 0;\n }\n" + close,
         "Parse error, normal faces that do not match the faces" + in},
        {"normal face of other corners", frame + triangle + face + normals + " 1;\n 4;0,0,0,0;;\n }\n" + close,
         "Parse error, normal faces that do not match the faces" + in},
        {"more materials than declared", frame + triangle + face + materialList + material + material + " }\n" + close,
         "Parse error, material beyond the declared count" + in},
        {"face materials past the faces", frame + triangle + face + " MeshMaterialList {\n 1;\n 2;\n 0,\n 0;;\n }\n" + close,
         "Parse error, face-material list longer than the faces" + in},
        {"material by reference", frame + triangle + face + " MeshMaterialList {\n 1;\n 1;\n 0;;\n { Paint }\n }\n" + close,
         "Parse error, stray curly brace!"},
        {"texture name without quotes",
         frame + triangle + face + materialList +
             " Material {\n 1;1;1;1;;\n 0;\n 0;0;0;;\n 0;0;0;;\n TextureFilename { \"a.png; }\n }\n }\n" + close,
         "Parse error, texture file name without its quotes" + in},
        {"frames too deep", deep, "Parse error, frames nested too deeply" + in},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.error, ImportError(XHeader() + c.body)) << c.name;
}

TEST_F(LoaderXTest, EveryCutOfAFileStaysWithinItsData)
{
    const std::string file = XShip();
    const std::size_t frameEnd = file.find("AnimationSet");
    for (std::size_t size = 0; size < file.size(); ++size)
    {
        MeshList meshes;
        const std::string error = ErrorOf([&] { meshes = Import(file.substr(0, size)); });
        if (size < frameEnd - 1)
        {
            EXPECT_TRUE(error != "no error" || meshes.empty()) << size;
        }
    }
}

TEST_F(LoaderXTest, EverySeedOfTheFuzzTargetImports)
{
    const std::filesystem::path seeds = std::filesystem::path(ZEV_SOURCE_DIR) / "Tests/Fuzz/XFile/corpus";
    int count = 0;
    for (const auto& seed : std::filesystem::directory_iterator(seeds))
    {
        MeshList meshes;
        EXPECT_EQ("no error", ErrorOf([&] { meshes = Import(ReadTextFile(seed.path().string())); })) << seed.path();
        EXPECT_FALSE(meshes.empty()) << seed.path();
        ++count;
    }
    EXPECT_GT(count, 0);
}
