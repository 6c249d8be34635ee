#pragma once

namespace Ui
{

// Fills the engine's forward points of the interface: every simple game state
// gets a Ui::Root, and "ui" elements of the data are read by a UiDataReader.
void RegisterInterface();

} // namespace Ui
