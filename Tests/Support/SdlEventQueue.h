#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

// Starts SDL's video (the dummy driver in headless tests) so that its event
// queue takes events, and leaves the queue empty before and after each test.
class SdlEventQueueTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;
};

// Pushes a key event (SDL_KEYDOWN or SDL_KEYUP) of the symbol into SDL's queue.
void PushKey(Uint8 type, SDLKey symbol);
