#include "Graphics/Model3D/LoaderX.h"

#include "Engine/Error.h"
#include "Engine/Matrix.h"
#include "Engine/ResourceLoader.h"
#include "Engine/Vector.h"
#include "Graphics/Model3D/Material.h"
#include "Graphics/Model3D/SubMesh.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace Model3D
{

namespace
{

const std::size_t HeaderSize = 16;
const int MaxFrameDepth = 256;
// Every number of the file takes two bytes at least, a digit and its
// delimiter, and a face four numbers: no count read from a file reserves more
// than the rest of the data can hold.
const std::size_t MinBytesPerNumber = 2;
const std::size_t MinNumbersPerFace = 4;

const struct
{
    const char* name;
    LoaderX::BlockId id;
} BlockNames[] = {
    {"template", LoaderX::BlockId::Template},
    {"FrameTransformMatrix", LoaderX::BlockId::FrameTransformMatrix},
    {"Frame", LoaderX::BlockId::Frame},
    {"XSkinMeshHeader", LoaderX::BlockId::XSkinMeshHeader},
    {"MeshTextureCoords", LoaderX::BlockId::MeshTextureCoords},
    {"MeshMaterialList", LoaderX::BlockId::MeshMaterialList},
    {"MeshNormals", LoaderX::BlockId::MeshNormals},
    {"Mesh", LoaderX::BlockId::Mesh},
    {"Material", LoaderX::BlockId::Material},
    {"SkinWeights", LoaderX::BlockId::SkinWeights},
    {"TextureFilename", LoaderX::BlockId::TextureFilename},
    {"AnimationSet", LoaderX::BlockId::AnimationSet},
    {"AnimationKey", LoaderX::BlockId::AnimationKey},
    {"Animation", LoaderX::BlockId::Animation},
    {"Header", LoaderX::BlockId::Header},
};

bool IsWhitespace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool IsDelimiter(char c)
{
    return IsWhitespace(c) || c == ',' || c == ';';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The number at the start of the word, in the notation of the "C" locale
// whatever the process's locale: an optional sign, digits with an optional
// point, an optional exponent. Anything after it is ignored.
bool ParseFloat(std::string_view word, float& value)
{
    const char* first = word.data();
    const char* last = first + word.size();
    if (first != last && *first == '+')
        ++first;
    const char* digits = first != last && *first == '-' ? first + 1 : first;
    if (digits == last || !(IsDigit(*digits) || *digits == '.'))
        return false;
    return std::from_chars(first, last, value).ec == std::errc();
}

// Digits with an optional "+"; a "-" makes no unsigned number.
bool ParseUnsigned(std::string_view word, std::uint32_t& value)
{
    const char* first = word.data();
    const char* last = first + word.size();
    if (first != last && *first == '+')
        ++first;
    if (first == last || !IsDigit(*first))
        return false;
    return std::from_chars(first, last, value).ec == std::errc();
}

::Material* MakeMaterial(const LoaderX::MaterialInfo& info, DataStore* store)
{
    auto material = std::make_unique<::Material>(info.name);
    const float* face = info.faceColor;
    material->SetAmbient(face[0], face[1], face[2], 1.0f)
        .SetDiffuse(face[0], face[1], face[2], 1.0f)
        .SetSpecular(info.specular[0], info.specular[1], info.specular[2], 1.0f)
        .SetEmission(info.emissive[0], info.emissive[1], info.emissive[2], 1.0f)
        .SetShininess(info.power)
        .SetAlpha(face[3]);
    if (!info.textureFile.empty())
        material->SetTexture(store, info.textureFile);
    return material.release();
}

} // namespace

void LoaderX::Load(MeshList& meshes)
{
    LoadData();
    Read(cursor, end, meshes);
}

void LoaderX::Read(const char* begin, const char* dataEnd, MeshList& meshes)
{
    cursor = begin;
    end = dataEnd;
    output = &meshes;
    CheckHeader();
    cursor += HeaderSize;
    while (cursor < end)
    {
        switch (ReadBlockName())
        {
        case BlockId::Frame:
            ReadFrame(Math::Matrix::Identity);
            break;
        case BlockId::Comment:
        case BlockId::EndOfData:
            break;
        case BlockId::ClosingBrace:
            return;
        default:
            SkipNextBlock();
        }
    }
}

void LoaderX::CheckHeader() const
{
    const std::size_t size = static_cast<std::size_t>(end - cursor);
    if (size < HeaderSize || std::memcmp(cursor, "xof ", 4) != 0)
        throw Error("Not .x file: ", fileName);
    if (std::memcmp(cursor + 4, "03", 2) != 0)
        throw Error("Major version greater than 03, don't know how to load: ", fileName);
    if (std::memcmp(cursor + 6, "02", 2) != 0 && std::memcmp(cursor + 6, "03", 2) != 0)
        throw Error("Minor version is not 02 or 03, don't know how to load: ", fileName);
    if (std::memcmp(cursor + 8, "txt ", 4) != 0)
        throw Error("Not a text format .x file, don't know how to load: ", fileName);
}

void LoaderX::SkipWhitespace()
{
    while (cursor < end && IsWhitespace(*cursor))
        ++cursor;
}

bool LoaderX::SkipPast(char c)
{
    const void* found = std::memchr(cursor, c, static_cast<std::size_t>(end - cursor));
    if (!found)
    {
        cursor = end;
        return false;
    }
    cursor = static_cast<const char*>(found) + 1;
    if (c == '\n' && cursor < end && *cursor == '\r')
        ++cursor;
    return true;
}

std::string_view LoaderX::ReadWord()
{
    if (cursor < end && (*cursor == '{' || *cursor == '}'))
        return {};
    const char* start = cursor;
    while (cursor < end)
    {
        const char c = *cursor;
        if (IsDelimiter(c))
        {
            const std::string_view word(start, static_cast<std::size_t>(cursor - start));
            ++cursor;
            return word;
        }
        if (c == '/')
        {
            SkipPast('\n');
            SkipWhitespace();
            start = cursor;
            continue;
        }
        ++cursor;
    }
    return {start, static_cast<std::size_t>(cursor - start)};
}

std::string_view LoaderX::ReadToken()
{
    SkipWhitespace();
    const std::string_view token = ReadWord();
    SkipWhitespace();
    return token;
}

void LoaderX::ReadNumber(float& value)
{
    if (!ParseFloat(ReadWord(), value))
        throw Error("Parse error, illegal number!");
}

void LoaderX::ReadNumber(std::uint32_t& value)
{
    if (!ParseUnsigned(ReadWord(), value))
        throw Error("Parse error, illegal number!");
}

float LoaderX::NextFloat()
{
    SkipWhitespace();
    float value = 0.0f;
    ReadNumber(value);
    return value;
}

std::uint32_t LoaderX::NextUnsigned()
{
    SkipWhitespace();
    std::uint32_t value = 0;
    ReadNumber(value);
    return value;
}

LoaderX::BlockId LoaderX::ReadBlockName()
{
    SkipWhitespace();
    if (cursor < end)
    {
        const char c = *cursor;
        if (c == '#' || (c == '/' && end - cursor > 1 && cursor[1] == '/'))
        {
            SkipPast('\n');
            return BlockId::Comment;
        }
        if (c == '/')
            throw Error("Parse error, block name starting with '/' in: ", fileName);
        if (c == '{')
            throw Error("Parse error, stray curly brace!");
        if (c == '}')
            return BlockId::ClosingBrace;
    }
    const std::string_view word = ReadWord();
    if (cursor == end)
        return BlockId::EndOfData;
    if (word.empty())
        throw Error("Parse error, empty block name in: ", fileName);
    return ReadBlockNameToken(word);
}

LoaderX::BlockId LoaderX::ReadBlockNameToken(std::string_view word)
{
    for (const auto& block : BlockNames)
    {
        if (word == block.name)
            return block.id;
    }
    return BlockId::OtherBlock;
}

const char* LoaderX::EnterBlock()
{
    SkipWhitespace();
    if (cursor == end || *cursor != '{')
        throw Error("Opening curly brace not found!");
    const char* open = cursor;
    SkipBlock();
    const char* blockEnd = cursor;
    cursor = open + 1;
    SkipWhitespace();
    return blockEnd;
}

void LoaderX::SkipBlock()
{
    // From one closing brace to the next, counting the opening ones between.
    std::size_t depth = 0;
    const char* from = cursor;
    for (;;)
    {
        const auto* close = static_cast<const char*>(std::memchr(from, '}', static_cast<std::size_t>(end - from)));
        if (!close)
            Fail("block without its closing curly brace");
        for (const char* open = from;
             (open = static_cast<const char*>(std::memchr(open, '{', static_cast<std::size_t>(close - open))));
             ++open)
            ++depth;
        if (depth-- <= 1)
        {
            cursor = close + 1;
            return;
        }
        from = close + 1;
    }
}

void LoaderX::SkipNextBlock()
{
    if (!SkipPast('{'))
        Fail("block name without its block");
    --cursor;
    SkipBlock();
}

template <class Handler>
void LoaderX::WalkBlock(const char* blockEnd, Handler handle)
{
    while (cursor < blockEnd)
    {
        const BlockId id = ReadBlockName();
        if (id == BlockId::ClosingBrace || id == BlockId::EndOfData)
            break;
        if (id != BlockId::Comment && !handle(id))
            SkipNextBlock();
    }
    cursor = blockEnd;
}

void LoaderX::ReadFrame(const Math::Matrix& parent)
{
    if (++frameDepth > MaxFrameDepth)
        Fail("frames nested too deeply");
    const std::string name(ReadToken());
    Math::Matrix matrix = parent;
    const char* blockEnd = EnterBlock();
    WalkBlock(blockEnd,
              [&](BlockId id)
              {
                  switch (id)
                  {
                  case BlockId::FrameTransformMatrix:
                      matrix = matrix * ReadMatrix();
                      return true;
                  case BlockId::Frame:
                      ReadFrame(matrix);
                      return true;
                  case BlockId::Mesh:
                      ReadMesh(matrix, name);
                      return true;
                  default:
                      return false;
                  }
              });
    --frameDepth;
}

Math::Matrix LoaderX::ReadMatrix()
{
    ReadToken();
    const char* blockEnd = EnterBlock();
    float values[16];
    for (float& value : values)
        value = NextFloat();
    cursor = blockEnd;
    return Math::Matrix(values);
}

void LoaderX::ReadMesh(const Math::Matrix& frame, const std::string& frameName)
{
    ResourceLoader::StopPoint();
    ReadToken();
    const char* blockEnd = EnterBlock();
    mesh = MeshState();
    ReadVertices(mesh.positions);
    ReadFaces(mesh.faces);
    for (std::size_t i = 0; i < mesh.positions.size(); i += 3)
    {
        float* position = &mesh.positions[i];
        TransformInPlace(frame, position, 1.0f);
        if (!std::isfinite(position[0]) || !std::isfinite(position[1]) ||
            !std::isfinite(position[2]))
            Fail("vertex position that is not finite");
    }
    WalkBlock(blockEnd,
              [&](BlockId id)
              {
                  switch (id)
                  {
                  case BlockId::MeshNormals:
                      ReadNormals(frame);
                      return true;
                  case BlockId::MeshTextureCoords:
                      ReadTextureCoords();
                      return true;
                  case BlockId::MeshMaterialList:
                      ReadMaterialList();
                      return true;
                  default:
                      return false;
                  }
              });
    BuildMesh(frameName);
}

void LoaderX::ReadVertices(std::vector<float>& values)
{
    const std::uint32_t count = NextUnsigned();
    values.clear();
    values.reserve(std::min<std::size_t>(count * std::size_t(3),
                                         static_cast<std::size_t>(end - cursor) / MinBytesPerNumber));
    for (std::uint32_t i = 0; i < count; ++i)
    {
        for (int k = 0; k < 3; ++k)
            values.push_back(NextFloat());
        ReadWord();
    }
}

void LoaderX::ReadFaces(FaceList& list)
{
    const std::uint32_t count = NextUnsigned();
    list = FaceList();
    list.faces.reserve(std::min<std::size_t>(count, static_cast<std::size_t>(end - cursor) /
                                                        (MinNumbersPerFace * MinBytesPerNumber)));
    for (std::uint32_t i = 0; i < count; ++i)
    {
        const std::uint32_t cornerCount = NextUnsigned();
        if (cornerCount < 3)
            Fail("face with fewer than 3 corners");
        list.faces.push_back({cornerCount, list.corners.size(), 0});
        for (std::uint32_t k = 0; k < cornerCount; ++k)
            list.corners.push_back(NextUnsigned());
        ReadWord();
    }
}

void LoaderX::ReadNormals(const Math::Matrix& frame)
{
    ReadToken();
    const char* blockEnd = EnterBlock();
    ReadVertices(mesh.normals);
    ReadFaces(mesh.normalFaces);
    mesh.hasNormals = true;
    for (std::size_t i = 0; i < mesh.normals.size(); i += 3)
    {
        float* normal = &mesh.normals[i];
        TransformInPlace(frame, normal, 0.0f);
        Math::RawMemVector<3>(normal).Normalize();
    }
    WalkBlock(blockEnd, [](BlockId) { return false; });
}

void LoaderX::ReadTextureCoords()
{
    ReadToken();
    const char* blockEnd = EnterBlock();
    ReadTexCoordArray();
    WalkBlock(blockEnd, [](BlockId) { return false; });
}

void LoaderX::ReadTexCoordArray()
{
    const std::uint32_t count = NextUnsigned();
    mesh.texCoords.clear();
    mesh.texCoords.reserve(std::min<std::size_t>(
        count * std::size_t(2), static_cast<std::size_t>(end - cursor) / MinBytesPerNumber));
    for (std::uint32_t i = 0; i < count; ++i)
    {
        mesh.texCoords.push_back(NextFloat());
        mesh.texCoords.push_back(NextFloat());
        ReadWord();
    }
}

void LoaderX::ReadMaterialList()
{
    ReadToken();
    const char* blockEnd = EnterBlock();
    mesh.materialCount = NextUnsigned();
    mesh.materials.clear();
    ReadFaceMaterials();
    WalkBlock(blockEnd,
              [this](BlockId id)
              {
                  if (id != BlockId::Material)
                      return false;
                  if (mesh.materials.size() == mesh.materialCount)
                      Fail("material beyond the declared count");
                  ReadMaterial();
                  return true;
              });
}

void LoaderX::ReadFaceMaterials()
{
    const std::uint32_t count = NextUnsigned();
    if (count > mesh.faces.faces.size())
        Fail("face-material list longer than the faces");
    for (std::uint32_t i = 0; i < count; ++i)
        mesh.faces.faces[i].material = NextUnsigned();
    // Exporters end the list with ";;".
    SkipWhitespace();
    if (cursor < end && *cursor == ';')
        ++cursor;
}

void LoaderX::ReadMaterial()
{
    MaterialInfo material;
    material.name = ReadToken();
    const char* blockEnd = EnterBlock();
    for (float& value : material.faceColor)
        value = NextFloat();
    ReadWord();
    material.power = NextFloat();
    for (float& value : material.specular)
        value = NextFloat();
    ReadWord();
    for (float& value : material.emissive)
        value = NextFloat();
    ReadWord();
    WalkBlock(blockEnd,
              [&](BlockId id)
              {
                  if (id != BlockId::TextureFilename)
                      return false;
                  ReadTextureFilename(material);
                  return true;
              });
    mesh.materials.push_back(std::move(material));
}

void LoaderX::ReadTextureFilename(MaterialInfo& material)
{
    ReadToken();
    const char* blockEnd = EnterBlock();
    const char* open = std::find(cursor, blockEnd, '"');
    const char* close = open == blockEnd ? blockEnd : std::find(open + 1, blockEnd, '"');
    if (close == blockEnd)
        Fail("texture file name without its quotes");
    const std::string file(open + 1, close);
    // An empty name is a material without texture, not the model's folder.
    if (!file.empty())
        material.textureFile = directory + file;
    cursor = close + 1;
    ReadWord();
    WalkBlock(blockEnd, [](BlockId) { return false; });
}

void LoaderX::BuildMesh(const std::string& name)
{
    std::vector<std::unique_ptr<::Material>> materials;
    for (const MaterialInfo& info : mesh.materials)
        materials.emplace_back(MakeMaterial(info, store));
    if (materials.empty())
        materials.push_back(std::make_unique<::Material>(::Material::Default));
    const std::size_t vertexCount = mesh.faces.corners.size();
    if (vertexCount == 0)
    {
        mesh = MeshState();
        return;
    }
    CheckFaces();

    auto built = std::make_unique<Mesh>(name, static_cast<std::uint32_t>(vertexCount));
    std::vector<std::vector<std::uint32_t>> groups(materials.size());
    std::uint32_t next = 0;
    for (std::size_t f = 0; f < mesh.faces.faces.size(); ++f)
    {
        const Face& face = mesh.faces.faces[f];
        const std::uint32_t first = next;
        for (std::uint32_t k = 0; k < face.cornerCount; ++k, ++next)
        {
            const std::uint32_t position = mesh.faces.corners[face.firstCorner + k];
            std::copy_n(&mesh.positions[position * std::size_t(3)], 3, &built->positions[next * std::size_t(3)]);
            const Face& normalFace = mesh.normalFaces.faces[f];
            const std::uint32_t normal = mesh.normalFaces.corners[normalFace.firstCorner + k];
            std::copy_n(&mesh.normals[normal * std::size_t(3)], 3, &built->normals[next * std::size_t(3)]);
            if (!mesh.texCoords.empty())
                std::copy_n(&mesh.texCoords[position * std::size_t(2)], 2, &built->texCoords[next * std::size_t(2)]);
        }
        std::vector<std::uint32_t>& group = groups[face.material < groups.size() ? face.material : 0];
        // A fan; four corners give (c, c + 1, c + 2) and (c, c + 2, c + 3).
        for (std::uint32_t k = 1; k + 1 < face.cornerCount; ++k)
            group.insert(group.end(), {first, first + k, first + k + 1});
    }
    for (std::size_t g = 0; g < groups.size(); ++g)
    {
        if (groups[g].empty())
            continue;
        auto subMesh = std::make_unique<SubMesh>(built.get(), static_cast<int>(g), materials[g].release(),
                                                 static_cast<std::uint32_t>(groups[g].size() / 3));
        subMesh->indices = std::move(groups[g]);
        built->subMeshes.push_back(std::move(subMesh));
    }
    output->push_back(std::move(built));
    mesh = MeshState();
}

void LoaderX::CheckFaces() const
{
    if (mesh.faces.corners.size() > std::numeric_limits<std::uint32_t>::max())
        Fail("mesh with too many corners");
    const std::size_t positionCount = mesh.positions.size() / 3;
    for (const std::uint32_t position : mesh.faces.corners)
    {
        if (position >= positionCount)
            Fail("vertex index beyond the vertices");
    }
    if (!mesh.texCoords.empty() && mesh.texCoords.size() / 2 < positionCount)
        Fail("fewer texture coordinates than vertices");
    if (!mesh.hasNormals)
        Fail("mesh without normals");
    if (mesh.normalFaces.faces.size() != mesh.faces.faces.size())
        Fail("normal faces that do not match the faces");
    for (std::size_t f = 0; f < mesh.faces.faces.size(); ++f)
    {
        if (mesh.normalFaces.faces[f].cornerCount != mesh.faces.faces[f].cornerCount)
            Fail("normal faces that do not match the faces");
    }
    const std::size_t normalCount = mesh.normals.size() / 3;
    for (const std::uint32_t normal : mesh.normalFaces.corners)
    {
        if (normal >= normalCount)
            Fail("normal index beyond the normals");
    }
}

void LoaderX::Fail(const char* problem) const
{
    throw Error("Parse error, ", problem, " in: ", fileName);
}

} // namespace Model3D
