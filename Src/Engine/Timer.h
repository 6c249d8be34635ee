#pragma once

#include <SDL.h>

// The frame clock of the fixed-step loop: each frame turns the milliseconds
// measured since the previous one into whole simulation steps and the fraction
// of a step left over, with which the views interpolate.
class Timer
{
public:
    // A step of 0 ms cannot run: it is taken as 1 ms.
    explicit Timer(const unsigned& stepMs);

    // Starts measuring from now.
    void Start();
    // Measures the frame since the previous one (after sleeping 1 ms when the
    // setting useDelay holds) and advances by it.
    void Frame();
    // Turns the elapsed milliseconds into steps and alpha.
    void Advance(Uint32 elapsedMs);
    // The span between Pause(true) and Pause(false) is not counted as frame
    // time; Pause(false) while not paused does nothing.
    void Pause(bool pause);
    bool IsPaused() const { return paused; }
    void SetSpeed(float factor) { speed = factor; }

    Uint32 stepMs;
    float stepSeconds;
    float speed = 1.0f;
    // Scaled time of the last frame: truncated milliseconds, and seconds.
    Uint32 frameMs = 0;
    float frameSeconds = 0;
    float fps = 0;
    Uint32 frameCount = 0;
    // Fixed steps the current frame runs.
    Uint32 steps = 0;
    // Fraction of a step left over after this frame's steps, 0 to below 1.
    float alpha = 0;
    Uint32 lastTicks = 0;
    // Milliseconds not yet turned into steps.
    Uint32 accumulator = 0;
    Uint32 pauseTicks = 0;

private:
    bool paused = false;
};
