#pragma once

#include "Graphics/Graph.h"

#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>
#include <memory>

// A window with the video context's fixed state, opened once per test program
// (ctest runs each test in a program of its own). SDL is not quit: that
// unloads the GL driver, whose own leaks could then no longer be told apart
// from ours under the leak checker.
class GlWindowTest : public ::testing::Test
{
protected:
    static constexpr int Size = 64;

    static void SetUpTestSuite()
    {
        ASSERT_EQ(0, SDL_Init(SDL_INIT_VIDEO)) << SDL_GetError();
        graph = std::make_unique<Graph>();
        graph->SetFullScreen(false);
        graph->SetVSync(false);
        graph->Init(Size, Size, 32);
    }

    static void TearDownTestSuite() { graph.reset(); }

    // Each test starts from the fixed state with a cleared back buffer.
    void SetUp() override
    {
        ASSERT_TRUE(graph);
        graph->InitGLState();
        graph->SetViewport(0, 0, 0, 0);
        graph->BeginFrame();
    }

    // The colour of a pixel of the back buffer, from the bottom left, as bytes.
    static void ReadPixel(int x, int y, GLubyte rgb[3])
    {
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(x, y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    }

    static inline std::unique_ptr<Graph> graph;
};
