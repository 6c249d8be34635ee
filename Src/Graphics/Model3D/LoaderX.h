#pragma once

#include "Graphics/Model3D/ModelLoader.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace Math
{
class Matrix;
}

namespace Model3D
{

// Imports text DirectX ".x" files: the frames with their transforms, and each
// "Mesh" inside a frame with its positions, faces, normals, texture
// coordinates and materials, as one mesh named after its frame with one
// sub-mesh per used material. Every corner becomes a vertex of its own; the
// loader welds them afterwards. Templates, headers, animations and skins are
// skipped. Every scan stops at the end of the data, and every count and index
// of the file is checked before it is used.
class LoaderX : public ModelLoader
{
public:
    struct MaterialInfo
    {
        std::string name;
        std::string textureFile; // the model's directory and the file's name, or ""
        float faceColor[4];
        float power;
        float specular[3];
        float emissive[3];
    };

    // The block names, compared exactly.
    enum class BlockId
    {
        Template,
        FrameTransformMatrix,
        Frame,
        XSkinMeshHeader,
        MeshTextureCoords,
        MeshMaterialList,
        MeshNormals,
        Mesh,
        Material,
        SkinWeights,
        TextureFilename,
        AnimationSet,
        AnimationKey,
        Animation,
        Header,
        OtherBlock,
        EndOfData,
        ClosingBrace,
        Comment
    };

    using ModelLoader::ModelLoader;

    void Load(MeshList& meshes) override;
    // Imports the bytes as the file's text; the data must outlive the call.
    void Read(const char* begin, const char* end, MeshList& meshes);

private:
    // A face's corners are the indices from firstCorner on.
    struct Face
    {
        std::uint32_t cornerCount;
        std::size_t firstCorner;
        std::uint32_t material;
    };

    struct FaceList
    {
        std::vector<Face> faces;
        std::vector<std::uint32_t> corners;
    };

    // The mesh being read.
    struct MeshState
    {
        std::vector<float> positions; // x, y, z
        FaceList faces;
        bool hasNormals = false;
        std::vector<float> normals; // x, y, z
        FaceList normalFaces;
        std::uint32_t materialCount = 0;
        std::vector<MaterialInfo> materials;
        std::vector<float> texCoords; // u, v
    };

    void CheckHeader() const;

    void SkipWhitespace();
    // Past the next c, and past a carriage return right after a line feed;
    // false, with the cursor at the end, when there is none.
    bool SkipPast(char c);
    // Up to the next blank, "," or ";", which is consumed; a "/" starts a
    // comment to the end of its line and the word starts again after it.
    std::string_view ReadWord();
    // The optional name of a block.
    std::string_view ReadToken();
    void ReadNumber(float& value);
    void ReadNumber(std::uint32_t& value);
    float NextFloat();
    std::uint32_t NextUnsigned();
    BlockId ReadBlockName();
    static BlockId ReadBlockNameToken(std::string_view word);

    // Steps into the block at the cursor; returns the position after its
    // closing brace.
    const char* EnterBlock();
    void SkipBlock();
    void SkipNextBlock();
    // The rest of a block, name by name: handle takes the known ones, the
    // others are skipped with their blocks. Leaves the cursor at blockEnd.
    template <class Handler>
    void WalkBlock(const char* blockEnd, Handler handle);

    void ReadFrame(const Math::Matrix& parent);
    Math::Matrix ReadMatrix();
    void ReadMesh(const Math::Matrix& frame, const std::string& frameName);
    void ReadVertices(std::vector<float>& values);
    void ReadFaces(FaceList& list);
    void ReadNormals(const Math::Matrix& frame);
    void ReadTextureCoords();
    void ReadTexCoordArray();
    void ReadMaterialList();
    void ReadFaceMaterials();
    void ReadMaterial();
    void ReadTextureFilename(MaterialInfo& material);
    void BuildMesh(const std::string& name);
    void CheckFaces() const;

    [[noreturn]] void Fail(const char* problem) const;

    MeshList* output = nullptr;
    MeshState mesh;
    int frameDepth = 0;
};

} // namespace Model3D
