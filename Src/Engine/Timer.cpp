#include "Engine/Timer.h"

#include "Engine/Settings.h"

#include <algorithm>

Timer::Timer(const unsigned& stepMs)
    : stepMs(std::max(stepMs, 1u)), stepSeconds(this->stepMs / 1000.0f)
{
}

void Timer::Start()
{
    lastTicks = SDL_GetTicks();
}

void Timer::Frame()
{
    if (Settings::useDelay)
        SDL_Delay(1);
    const Uint32 now = SDL_GetTicks();
    // Unsigned, so a wrap of the tick counter still gives the right span.
    const Uint32 elapsed = now - lastTicks;
    lastTicks = now;
    Advance(elapsed);
}

void Timer::Advance(Uint32 elapsedMs)
{
    const float scaled = elapsedMs * speed;
    frameMs = static_cast<Uint32>(scaled);
    frameSeconds = scaled / 1000.0f;
    // A frame measured at 0 ms has no rate of its own.
    if (scaled > 0)
        fps = (fps * 3 + 1000.0f / scaled) / 4;
    ++frameCount;

    accumulator += frameMs;
    steps = accumulator / stepMs;
    accumulator -= steps * stepMs;
    alpha = static_cast<float>(accumulator) / stepMs;
}

void Timer::Pause(bool pause)
{
    if (pause == paused)
        return;
    paused = pause;
    if (pause)
        pauseTicks = SDL_GetTicks();
    else
        lastTicks += SDL_GetTicks() - pauseTicks;
}
