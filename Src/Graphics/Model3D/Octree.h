#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// A point octree of vertex indices centred at the origin. Its leaves form a
// fixed grid: every leaf a search reaches is a cube of edge size / 2^depth,
// and growing doubles the size and adds a level, so that edge never changes.
// A coordinate exactly on a grid plane belongs to the lower cell.
class Octree
{
public:
    // Kept small, since every subdivision makes eight: a leaf gets its list
    // of items only once it holds one.
    struct Node
    {
        using Items = std::vector<std::uint32_t>;
        using Visitor = std::function<void(Items& items)>;

        Node() = default;
        // Deep copies.
        Node(const Node& other);
        Node& operator=(const Node& other);
        Node(Node&& other) = default;
        Node& operator=(Node&& other) = default;

        // The leaf depth levels down that holds the point, this node being
        // the cube of edge size centred at the origin; leaves on the way are
        // subdivided.
        Node& Descend(const float* point, int depth, float size);
        // Eight empty leaves.
        void Subdivide();
        // Every leaf that has a list of items; the others hold none.
        void VisitLeaves(const Visitor& visit);
        bool IsLeaf() const { return !children; }
        // The leaf's list, made when first asked for.
        Items& GetItems();

        // None, or one per octant: bit 0 of the octant is set for the lower
        // half in x, bit 1 in y, bit 2 in z.
        std::unique_ptr<Node[]> children;
        std::unique_ptr<Items> items;
    };

    // The root cube spans [-size/2, size/2] on every axis.
    Octree(int depth, float size);
    ~Octree();

    // The leaf of the point, growing the tree first until it holds the point.
    // Throws Error for a point that is not finite, or so far out that the
    // tree's size would overflow.
    Node& Find(const float* point);
    // Doubles the size around the same centre; every cell keeps its place.
    void Grow();

    int GetDepth() const { return depth; }
    float GetSize() const { return size; }
    Node& GetRoot() { return root; }

private:
    bool Holds(const float* point) const;

    Node root;
    int depth;
    float size;
};
