#include "Support/SdlEventQueue.h"

#include "Engine/EventDispatcher.h"

#include <SDL.h>

namespace
{

// A dispatcher without handlers releases the payloads of what it drains.
void DrainQueue()
{
    EventDispatcher dispatcher;
    dispatcher.Poll();
}

} // namespace

void SdlEventQueueTest::SetUp()
{
    ASSERT_EQ(0, SDL_Init(SDL_INIT_VIDEO)) << SDL_GetError();
    DrainQueue();
}

void SdlEventQueueTest::TearDown()
{
    DrainQueue();
    SDL_Quit();
}

void PushKey(Uint8 type, SDLKey symbol)
{
    SDL_Event event = {};
    event.type = type;
    event.key.type = type;
    event.key.keysym.sym = symbol;
    ASSERT_EQ(0, SDL_PushEvent(&event));
}
