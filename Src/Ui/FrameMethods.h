#pragma once

namespace Ui
{

class FrameModel;

// Adds the methods of every frame to the frame's table: name, parent, id,
// position, size, anchor, visibility, alpha, scale, scripts and moving.
void AddFrameMethods(FrameModel& model);

} // namespace Ui
