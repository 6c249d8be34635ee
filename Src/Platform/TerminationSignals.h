#pragma once

namespace Platform
{

// Makes SIGTERM and SIGINT ask the whole game to end. SDL installs handlers
// of its own for both when it starts, which turn them into the same quit
// event as the window's close button, so this is called after SDL_Init.
void CatchTerminationSignals();

// True once SIGTERM or SIGINT arrived after CatchTerminationSignals.
bool TerminationRequested();

} // namespace Platform
