#include "Support/SdlEventQueue.h"

#include "Engine/EventDispatcher.h"

namespace
{

// A dispatcher without handlers releases the payloads of what it drains.
void DrainQueue()
{
    EventDispatcher dispatcher;
    dispatcher.Poll();
}

void Push(SDL_Event event)
{
    ASSERT_EQ(0, SDL_PushEvent(&event));
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

void PushButton(Uint8 type, int x, int y, Uint8 button)
{
    SDL_Event event = {};
    event.type = type;
    event.button.type = type;
    event.button.button = button;
    event.button.x = static_cast<Uint16>(x);
    event.button.y = static_cast<Uint16>(y);
    Push(event);
}

void PushClick(int x, int y)
{
    PushButton(SDL_MOUSEBUTTONDOWN, x, y);
    PushButton(SDL_MOUSEBUTTONUP, x, y);
}

void PushMotion(int x, int y)
{
    SDL_Event event = {};
    event.type = SDL_MOUSEMOTION;
    event.motion.x = static_cast<Uint16>(x);
    event.motion.y = static_cast<Uint16>(y);
    Push(event);
}

void PushKey(Uint8 type, SDLKey symbol)
{
    SDL_Event event = {};
    event.type = type;
    event.key.type = type;
    event.key.keysym.sym = symbol;
    Push(event);
}
