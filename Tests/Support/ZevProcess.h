#pragma once

#include "Support/ChildProcess.h"

#include <memory>
#include <string>

class VirtualDisplay;

// The environment that runs zev with OpenGL on the display: SDL_VIDEODRIVER x11,
// SDL_AUDIODRIVER dummy and DISPLAY.
ChildProcess::Environment ZevEnvironment(const VirtualDisplay& display);

// Copies the game's data, the repository's Data/, into the directory.
void CopyGameData(const std::string& directory);

// Starts the zev executable of this build in the directory.
std::unique_ptr<ChildProcess> StartZev(const std::string& directory,
                                       const ChildProcess::Environment& environment);

// The number of "Option" elements in the text of a settings file.
int CountOptions(const std::string& settings);

// Waits for zev to end, a minute at the most, and expects a clean end: status
// 0, a "settings.xml" with all nineteen options in the working directory and,
// with the checking allocator, no leak in its report there.
void ExpectCleanEnd(ChildProcess& zev);
