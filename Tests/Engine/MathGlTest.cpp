#include "Engine/Color.h"
#include "Engine/Point.h"
#include "Engine/Vector.h"

#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>

namespace
{

class MathGlTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        ASSERT_EQ(0, SDL_Init(SDL_INIT_VIDEO)) << SDL_GetError();
        ASSERT_NE(nullptr, SDL_SetVideoMode(64, 64, 0, SDL_OPENGL)) << SDL_GetError();
    }

    // No SDL_Quit: it unloads the GL driver, whose own leaks could then no
    // longer be told apart from ours under the leak checker.

    void SetUp() override
    {
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }

    static float Get(GLenum name, int index)
    {
        GLfloat values[16];
        glGetFloatv(name, values);
        return values[index];
    }
};

} // namespace

TEST_F(MathGlTest, TranslateMovesTheCurrentMatrix)
{
    Math::Vector(1, 2, 3).Translate();
    Math::Point(10, 20, 30, 0).Translate();
    EXPECT_FLOAT_EQ(11, Get(GL_MODELVIEW_MATRIX, 12));
    EXPECT_FLOAT_EQ(22, Get(GL_MODELVIEW_MATRIX, 13));
    EXPECT_FLOAT_EQ(33, Get(GL_MODELVIEW_MATRIX, 14));
}

TEST_F(MathGlTest, ApplySetsTheCurrentColour)
{
    Color(0.25f, 0.5f, 0.75f, 0.5f).Apply();
    EXPECT_FLOAT_EQ(0.25f, Get(GL_CURRENT_COLOR, 0));
    EXPECT_FLOAT_EQ(0.75f, Get(GL_CURRENT_COLOR, 2));
    EXPECT_FLOAT_EQ(0.5f, Get(GL_CURRENT_COLOR, 3));
}

TEST_F(MathGlTest, DrawRestoresTheStateItChanges)
{
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
    glDisable(GL_BLEND);
    Math::Vector(1, 0, 0).Draw(2);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FLOAT_EQ(1, Get(GL_LINE_WIDTH, 0));
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}
