#include "Graphics/Model3D/VertexWelder.h"

#include "Engine/MathUtil.h"
#include "Graphics/Model3D/Mesh.h"
#include "Graphics/Model3D/ShadowMesh.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace
{

// Two values match when their difference lies strictly within 1e-8. A cell
// walks its items one by one while it has few; a cell with more (many corners
// at one place with different normals) looks its candidates up by bands
// instead, so that welding stays linear in the corners.
const std::size_t IndexedFrom = 16;

// Values up to 1/8 fall into bands of width 2^-26, wider than the tolerance,
// so matching values lie in the same or neighbouring bands. Larger floats are
// spaced more than 1e-8 apart and match only themselves; they are keyed by
// their bits, above every band number.
const float BandedUpTo = 0.125f;
const float BandsPerUnit = 67108864.0f; // 2^26
const std::int64_t ExactKeys = std::int64_t(1) << 32;

std::int64_t BandOf(float value)
{
    if (std::fabs(value) <= BandedUpTo)
        return static_cast<std::int64_t>(std::floor(value * BandsPerUnit));
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return ExactKeys + bits;
}

bool IsBanded(std::int64_t band)
{
    return band < ExactKeys;
}

bool Matches(const Model3D::Mesh& mesh, std::uint32_t a, std::uint32_t b)
{
    for (int k = 0; k < 3; ++k)
    {
        if (!Math::IsZero(mesh.normals[a * 3 + k] - mesh.normals[b * 3 + k]))
            return false;
    }
    for (int k = 0; k < 2; ++k)
    {
        if (!Math::IsZero(mesh.texCoords[a * 2 + k] - mesh.texCoords[b * 2 + k]))
            return false;
    }
    return true;
}

} // namespace

std::size_t VertexWelder::BandsHash::operator()(const Bands& bands) const
{
    std::size_t hash = 0;
    for (const std::int64_t band : bands)
        hash = hash * 1000003u ^ std::hash<std::int64_t>()(band);
    return hash;
}

VertexWelder::VertexWelder(int depth) : octree(depth, 1.0f) {}

VertexWelder::~VertexWelder() = default;

void VertexWelder::Weld(Model3D::Mesh& mesh)
{
    std::vector<std::uint32_t> remap(mesh.vertexCount);
    std::uint32_t next = 0;
    for (const std::unique_ptr<Model3D::SubMesh>& subMesh : mesh.subMeshes)
    {
        ClearCells();
        for (const std::uint32_t vertex : subMesh->indices)
        {
            Items& items = FindCell(mesh, vertex);
            const std::optional<std::uint32_t> match = FindMatch(mesh, items, vertex);
            if (match)
                remap[vertex] = remap[*match];
            else
            {
                Append(mesh, items, vertex);
                remap[vertex] = next++;
            }
        }
    }
    if (next < mesh.vertexCount)
        Renumber(mesh, remap, next);
}

void VertexWelder::ClearCells()
{
    for (Items* items : filled)
        items->clear();
    filled.clear();
    indexes.clear();
}

void VertexWelder::MergePositions(Model3D::Mesh& mesh)
{
    for (std::uint32_t& corner : mesh.shadowMesh->indices)
    {
        Items& items = FindCell(mesh, corner);
        if (items.empty())
        {
            filled.push_back(&items);
            items.push_back(corner);
        }
        else
            corner = items.front();
    }
}

VertexWelder::Items& VertexWelder::FindCell(const Model3D::Mesh& mesh, std::uint32_t vertex)
{
    return octree.Find(&mesh.positions[vertex * std::size_t(3)]).GetItems();
}

std::optional<std::uint32_t> VertexWelder::FindMatch(const Model3D::Mesh& mesh,
                                                     const Items& items, std::uint32_t vertex)
{
    if (items.size() >= IndexedFrom)
        return FindIndexed(mesh, items, IndexOf(mesh, items), vertex);
    for (const std::uint32_t item : items)
    {
        if (Matches(mesh, vertex, item))
            return item;
    }
    return std::nullopt;
}

std::optional<std::uint32_t> VertexWelder::FindIndexed(const Model3D::Mesh& mesh,
                                                       const Items& items,
                                                       const CellIndex& index,
                                                       std::uint32_t vertex) const
{
    const Bands own = BandsOf(mesh, vertex);
    std::uint32_t first = std::numeric_limits<std::uint32_t>::max();
    // Every combination of the neighbouring bands, the last component
    // counting fastest.
    Bands bands = own;
    std::array<int, 5> offset;
    for (std::size_t k = 0; k < own.size(); ++k)
        offset[k] = IsBanded(own[k]) ? -1 : 0;
    for (;;)
    {
        for (std::size_t k = 0; k < own.size(); ++k)
            bands[k] = own[k] + offset[k];
        const auto found = index.find(bands);
        if (found != index.end())
        {
            for (const std::uint32_t position : found->second)
            {
                if (position < first && Matches(mesh, vertex, items[position]))
                    first = position;
            }
        }
        std::size_t k = own.size();
        while (k > 0 && offset[k - 1] == (IsBanded(own[k - 1]) ? 1 : 0))
        {
            offset[k - 1] = IsBanded(own[k - 1]) ? -1 : 0;
            --k;
        }
        if (k == 0)
            break;
        ++offset[k - 1];
    }
    if (first == std::numeric_limits<std::uint32_t>::max())
        return std::nullopt;
    return items[first];
}

void VertexWelder::Append(const Model3D::Mesh& mesh, Items& items, std::uint32_t vertex)
{
    if (items.empty())
        filled.push_back(&items);
    items.push_back(vertex);
    const auto index = indexes.find(&items);
    if (index != indexes.end())
        index->second[BandsOf(mesh, vertex)].push_back(static_cast<std::uint32_t>(items.size() - 1));
}

VertexWelder::CellIndex& VertexWelder::IndexOf(const Model3D::Mesh& mesh, const Items& items)
{
    const auto known = indexes.find(&items);
    if (known != indexes.end())
        return known->second;
    CellIndex& index = indexes[&items];
    for (std::uint32_t position = 0; position < items.size(); ++position)
        index[BandsOf(mesh, items[position])].push_back(position);
    return index;
}

VertexWelder::Bands VertexWelder::BandsOf(const Model3D::Mesh& mesh, std::uint32_t vertex)
{
    const float* normal = &mesh.normals[vertex * std::size_t(3)];
    const float* texCoord = &mesh.texCoords[vertex * std::size_t(2)];
    return {BandOf(normal[0]), BandOf(normal[1]), BandOf(normal[2]), BandOf(texCoord[0]),
            BandOf(texCoord[1])};
}

void VertexWelder::Renumber(Model3D::Mesh& mesh, const std::vector<std::uint32_t>& remap,
                            std::uint32_t count)
{
    std::vector<float> positions(count * std::size_t(3));
    std::vector<float> texCoords(count * std::size_t(2));
    std::vector<float> normals(count * std::size_t(3));
    std::size_t shadowCorner = 0;
    for (const std::unique_ptr<Model3D::SubMesh>& subMesh : mesh.subMeshes)
    {
        for (std::uint32_t& index : subMesh->indices)
        {
            const std::uint32_t from = index;
            const std::uint32_t to = remap[from];
            std::memcpy(&positions[to * 3], &mesh.positions[from * 3], 3 * sizeof(float));
            std::memcpy(&normals[to * 3], &mesh.normals[from * 3], 3 * sizeof(float));
            std::memcpy(&texCoords[to * 2], &mesh.texCoords[from * 2], 2 * sizeof(float));
            index = to;
            mesh.shadowMesh->indices[shadowCorner++] = to;
        }
    }
    mesh.positions = std::move(positions);
    mesh.texCoords = std::move(texCoords);
    mesh.normals = std::move(normals);
    mesh.vertexCount = count;
}
