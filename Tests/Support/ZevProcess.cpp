#include "Support/ZevProcess.h"

#include "Support/VirtualDisplay.h"

ChildProcess::Environment ZevEnvironment(const VirtualDisplay& display)
{
    return {{"SDL_VIDEODRIVER", "x11"}, {"SDL_AUDIODRIVER", "dummy"}, {"DISPLAY", display.Name()}};
}

std::unique_ptr<ChildProcess> StartZev(const std::string& directory,
                                       const ChildProcess::Environment& environment)
{
    return std::make_unique<ChildProcess>(std::vector<std::string>{ZEV_BINARY}, directory,
                                          environment);
}
