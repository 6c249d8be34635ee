#include "Graphics/Model3D/Octree.h"

#include "Engine/Error.h"

#include <cmath>
#include <string>

namespace
{

const int OctantCount = 8;

std::string Describe(const float* point)
{
    return "(" + std::to_string(point[0]) + ", " + std::to_string(point[1]) + ", " +
           std::to_string(point[2]) + ")";
}

} // namespace

Octree::Node::Node(const Node& other)
{
    *this = other;
}

Octree::Node& Octree::Node::operator=(const Node& other)
{
    if (this == &other)
        return *this;
    children.reset();
    if (other.children)
    {
        children = std::make_unique<Node[]>(OctantCount);
        for (int i = 0; i < OctantCount; ++i)
            children[i] = other.children[i];
    }
    items = other.items ? std::make_unique<Items>(*other.items) : nullptr;
    return *this;
}

Octree::Node& Octree::Node::Descend(const float* point, int depth, float size)
{
    Node* node = this;
    float centre[3] = {0.0f, 0.0f, 0.0f};
    for (int level = 0; level < depth; ++level)
    {
        int octant = 0;
        for (int axis = 0; axis < 3; ++axis)
        {
            if (point[axis] <= centre[axis])
                octant |= 1 << axis;
        }
        if (node->IsLeaf())
            node->Subdivide();
        const float half = size / 2;
        const float quarter = half / 2;
        for (int axis = 0; axis < 3; ++axis)
        {
            centre[axis] += quarter;
            if (octant & (1 << axis))
                centre[axis] -= half;
        }
        node = &node->children[octant];
        size = half;
    }
    return *node;
}

void Octree::Node::Subdivide()
{
    children = std::make_unique<Node[]>(OctantCount);
}

void Octree::Node::VisitLeaves(const Visitor& visit)
{
    if (IsLeaf())
    {
        if (items)
            visit(*items);
        return;
    }
    for (int i = 0; i < OctantCount; ++i)
        children[i].VisitLeaves(visit);
}

Octree::Node::Items& Octree::Node::GetItems()
{
    if (!items)
        items = std::make_unique<Items>();
    return *items;
}

Octree::Octree(int depth, float size) : depth(depth), size(size) {}

Octree::~Octree() = default;

Octree::Node& Octree::Find(const float* point)
{
    if (!std::isfinite(point[0]) || !std::isfinite(point[1]) || !std::isfinite(point[2]))
        throw Error("The point ", Describe(point), " is not finite");
    while (!Holds(point))
    {
        if (!std::isfinite(size * 2))
            throw Error("The point ", Describe(point), " lies too far out");
        Grow();
    }
    return root.Descend(point, depth, size);
}

void Octree::Grow()
{
    if (root.IsLeaf())
        root.Subdivide();
    // New node i holds the old child i as its child 7 - i: the octant of the
    // old cell within the new node is the opposite one.
    auto grown = std::make_unique<Node[]>(OctantCount);
    for (int i = 0; i < OctantCount; ++i)
    {
        grown[i].Subdivide();
        grown[i].children[OctantCount - 1 - i] = std::move(root.children[i]);
    }
    root.children = std::move(grown);
    ++depth;
    size *= 2;
}

bool Octree::Holds(const float* point) const
{
    const float h = size / 2;
    for (int axis = 0; axis < 3; ++axis)
    {
        if (point[axis] < -h || point[axis] > h)
            return false;
    }
    return true;
}
