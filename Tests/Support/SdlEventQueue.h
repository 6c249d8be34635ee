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

// Each puts input events on SDL's queue as the window would; positions are
// window pixels from the top left.
void PushButton(Uint8 type, int x, int y, Uint8 button = SDL_BUTTON_LEFT);
// A left press and release at the point.
void PushClick(int x, int y);
void PushMotion(int x, int y);
// A key event (SDL_KEYDOWN or SDL_KEYUP) of the symbol.
void PushKey(Uint8 type, SDLKey symbol);
