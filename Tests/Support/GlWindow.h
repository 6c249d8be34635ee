#pragma once

#include <GL/gl.h>
#include <SDL_types.h>

// The window of a gl test process: opened once with an OpenGL context and
// left open until the process ends. SDL_Quit would unload the GL driver
// before the leak checker runs, and the driver's own leaks could then no
// longer be told apart from ours.
const int GlWindowWidth = 128;
const int GlWindowHeight = 128;
void OpenGlWindow();

// A projection of one unit per pixel over the whole window, x to the right
// and y downward from the top-left corner; identity modelview and texture
// matrices; depth test, lighting, blending and texturing off; the back buffer cleared to
// black.
void SetPixelProjection();

// An orthographic view from +z down onto the x-y plane over the whole window,
// halfView units from its centre to each edge (depths -10 to 10); identity
// modelview.
void SetTopDownView(float halfView);

// The back buffer's pixel as 0xRRGGBB, x and y from the top-left corner. Read
// before any swap.
Uint32 ReadBackPixel(int x, int y);
