#pragma once

namespace Ui
{

struct Edges
{
    float left;
    float top;
    float right;
    float bottom;
};

// One quadrilateral with its corners in the order top left, bottom left,
// bottom right, top right, each with the texture coordinate at that corner.
void DrawTexturedQuad(const Edges& screen, const Edges& texture);

} // namespace Ui
