#include "Support/GlWindow.h"

#include <SDL.h>
#include <gtest/gtest.h>

void OpenGlWindow()
{
    if (SDL_GetVideoSurface())
        return;
    ASSERT_EQ(0, SDL_Init(SDL_INIT_VIDEO)) << SDL_GetError();
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    // The shadow tests count in the stencil buffer, as the game does.
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    ASSERT_NE(nullptr, SDL_SetVideoMode(GlWindowWidth, GlWindowHeight, 0, SDL_OPENGL))
        << SDL_GetError();
}

void SetPixelProjection()
{
    glViewport(0, 0, GlWindowWidth, GlWindowHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, GlWindowWidth, GlWindowHeight, 0, -1, 1);
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glClearColor(0, 0, 0, 0);
    glDrawBuffer(GL_BACK);
    glClear(GL_COLOR_BUFFER_BIT);
}

void SetTopDownView(float halfView)
{
    glViewport(0, 0, GlWindowWidth, GlWindowHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-halfView, halfView, -halfView, halfView, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

Uint32 ReadBackPixel(int x, int y)
{
    GLubyte rgb[3] = {};
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, GlWindowHeight - 1 - y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    return static_cast<Uint32>(rgb[0]) << 16 | rgb[1] << 8 | rgb[2];
}
