#pragma once

#include "Graphics/Model3D/Octree.h"

#include <array>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

namespace Model3D
{
class Mesh;
}

// Merges the corners of a mesh that share a cell of the octree's grid, a
// normal and a texture coordinate, and joins the shadow mesh's corners by cell
// alone. The tree keeps its shape for the welder's life; only the cells'
// items are emptied between passes.
class VertexWelder
{
public:
    // An octree of the depth over the cube of edge 1.
    explicit VertexWelder(int depth);
    ~VertexWelder();
    VertexWelder(const VertexWelder&) = delete;
    VertexWelder& operator=(const VertexWelder&) = delete;

    // Welds sub-mesh by sub-mesh, so that vertices of different sub-meshes
    // stay apart, and renumbers the indices of the sub-meshes and of the
    // shadow mesh, whose triangles must be those of the sub-meshes in list
    // order. The vertices are numbered in the order of their first corner;
    // a welded vertex keeps the data of the last corner mapped to it. A mesh
    // where nothing welds stays exactly as it was.
    void Weld(Model3D::Mesh& mesh);
    void ClearCells();
    // Gives every corner of the shadow mesh the first vertex met in its cell.
    // The vertex arrays stay as they are.
    void MergePositions(Model3D::Mesh& mesh);

    const Octree& GetOctree() const { return octree; }

private:
    using Items = Octree::Node::Items;
    // The tolerance bands of the three normal components and the two texture
    // coordinates (see VertexWelder.cpp).
    using Bands = std::array<std::int64_t, 5>;

    struct BandsHash
    {
        std::size_t operator()(const Bands& bands) const;
    };

    // The positions in a cell's items of the vertices in each band.
    using CellIndex = std::unordered_map<Bands, std::vector<std::uint32_t>, BandsHash>;

    Items& FindCell(const Model3D::Mesh& mesh, std::uint32_t vertex);
    // The first item of the cell whose normal and texture coordinate match
    // the vertex's.
    std::optional<std::uint32_t> FindMatch(const Model3D::Mesh& mesh, const Items& items,
                                           std::uint32_t vertex);
    std::optional<std::uint32_t> FindIndexed(const Model3D::Mesh& mesh, const Items& items,
                                             const CellIndex& index, std::uint32_t vertex) const;
    void Append(const Model3D::Mesh& mesh, Items& items, std::uint32_t vertex);
    CellIndex& IndexOf(const Model3D::Mesh& mesh, const Items& items);
    static Bands BandsOf(const Model3D::Mesh& mesh, std::uint32_t vertex);
    // The renumbered arrays and indices after a weld to fewer vertices.
    static void Renumber(Model3D::Mesh& mesh, const std::vector<std::uint32_t>& remap,
                         std::uint32_t count);

    Octree octree;
    // The cells holding items, so that clearing costs what was filled. A
    // cell's list stays where it is when the tree grows.
    std::vector<Items*> filled;
    std::unordered_map<const Items*, CellIndex> indexes;
};
