#pragma once

#include "Support/ChildProcess.h"

#include <memory>
#include <string>

class VirtualDisplay;

// The environment that runs zev with OpenGL on the display: SDL_VIDEODRIVER x11,
// SDL_AUDIODRIVER dummy and DISPLAY.
ChildProcess::Environment ZevEnvironment(const VirtualDisplay& display);

// Starts the zev executable of this build in the directory.
std::unique_ptr<ChildProcess> StartZev(const std::string& directory,
                                       const ChildProcess::Environment& environment);
