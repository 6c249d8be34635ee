#include "Platform/TerminationSignals.h"

#include <SDL.h>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>

namespace
{

using Handler = void (*)(int);

Handler HandlerOf(int signal)
{
    struct sigaction action = {};
    sigaction(signal, nullptr, &action);
    return action.sa_handler;
}

// Runs in a child process of its own, as the request cannot be taken back;
// prints what failed and exits with 1, or exits with 0.
[[noreturn]] void RaiseAfterSdlStarted(int signal)
{
    const auto fail = [](const char* what)
    {
        std::fprintf(stderr, "%s\n", what);
        std::exit(1);
    };
    if (SDL_Init(SDL_INIT_VIDEO) != 0)
        fail(SDL_GetError());
    const Handler sdlHandler = HandlerOf(signal);
    if (sdlHandler == SIG_DFL)
        fail("SDL installed no handler");
    Platform::CatchTerminationSignals();
    if (HandlerOf(signal) == sdlHandler)
        fail("SDL's handler is still installed");
    if (Platform::TerminationRequested())
        fail("requested before the signal");
    std::raise(signal);
    if (!Platform::TerminationRequested())
        fail("not requested after the signal");
    SDL_PumpEvents();
    if (SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_QUITMASK) != 0)
        fail("the signal also became SDL's quit event");
    std::exit(0);
}

// SDL would turn the signal into the window's quit event, which only takes a
// game mode back to the menu.
TEST(TerminationSignalsTest, SigtermAndSigintRequestTheEndInsteadOfSdlsQuitEvent)
{
    for (const int signal : {SIGTERM, SIGINT})
    {
        SCOPED_TRACE(signal);
        EXPECT_EXIT(RaiseAfterSdlStarted(signal), ::testing::ExitedWithCode(0), "");
    }
}

} // namespace
