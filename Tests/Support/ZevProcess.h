#pragma once

#include "Support/ChildProcess.h"

#include <chrono>
#include <memory>
#include <string>

class VirtualDisplay;

// How long a test waits for one step of the game: its window, a picture, its
// end. A sanitizer build on a machine busy with parallel builds and tests
// was seen to take a quarter of a minute for one.
constexpr std::chrono::minutes ZevTimeout(2);

// How long the game may take to end after one SIGTERM, from any game mode;
// it takes well under a second, the rest is room for a busy machine.
#ifdef ZEV_SANITIZED
constexpr std::chrono::seconds SignalTimeout(30);
#else
constexpr std::chrono::seconds SignalTimeout(10);
#endif

// The title of the game's window, as a regular expression for xdotool.
const char* const ZevWindowTitle = "^ZEV - Quillmere$";

// The environment that runs zev with OpenGL on the display: SDL_VIDEODRIVER x11,
// SDL_AUDIODRIVER dummy and DISPLAY.
ChildProcess::Environment ZevEnvironment(const VirtualDisplay& display);

// Copies the game's data, the repository's Data/, into the directory.
void CopyGameData(const std::string& directory);

// Starts the zev executable of this build in the directory.
std::unique_ptr<ChildProcess> StartZev(const std::string& directory,
                                       const ChildProcess::Environment& environment);

// How often the part occurs in the text, such as the game's output.
int Occurrences(const std::string& text, const std::string& part);

// The number of "Option" elements in the text of a settings file.
int CountOptions(const std::string& settings);

// Waits for zev to end, ZevTimeout at the most, and expects a clean end: status
// 0, a "settings.xml" with all nineteen options in the working directory and,
// with the checking allocator, no leak in its report there.
void ExpectCleanEnd(ChildProcess& zev);

// Sends zev one SIGTERM and expects it to end within the timeout, as cleanly
// as ExpectCleanEnd says.
void ExpectCleanEndOnSigterm(ChildProcess& zev, std::chrono::milliseconds timeout = SignalTimeout);
