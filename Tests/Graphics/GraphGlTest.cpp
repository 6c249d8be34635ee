#include "Engine/MathUtil.h"
#include "Graphics/CheckGLError.h"
#include "Graphics/Graph.h"

#include <GL/glu.h>
#include <cmath>
#include <gtest/gtest.h>
#include <string>

namespace
{

// A 640x480 window with the fixed state, opened for every test.
class GraphGlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(0, SDL_Init(SDL_INIT_VIDEO)) << SDL_GetError();
        graph.SetFullScreen(false);
        graph.SetVSync(false);
        testing::internal::CaptureStdout();
        graph.Init(640, 480, 32);
        banner = testing::internal::GetCapturedStdout();
    }
    void TearDown() override { SDL_Quit(); }

    std::string CheckedError(const char* context)
    {
        testing::internal::CaptureStdout();
        const int error = CheckGLError(context);
        line = testing::internal::GetCapturedStdout();
        return std::to_string(error);
    }

    // Draws a square facing the camera, centred on the view axis at the depth.
    static void DrawSquare(GLuint name, float depth)
    {
        glLoadName(name);
        glBegin(GL_QUADS);
        glVertex3f(-1, -1, depth);
        glVertex3f(1, -1, depth);
        glVertex3f(1, 1, depth);
        glVertex3f(-1, 1, depth);
        glEnd();
    }

    Graph graph;
    std::string banner;
    std::string line;
};

GLint GetInt(GLenum name)
{
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

TEST_F(GraphGlTest, InitOpensTheModeWithAStencilBuffer)
{
    EXPECT_EQ(0u, banner.find("OpenGL version: "));
    EXPECT_EQ(640, graph.width);
    EXPECT_EQ(480, graph.height);
    EXPECT_EQ(32, graph.bitsPerPixel);
    const SDL_Surface* const screen = SDL_GetVideoSurface();
    ASSERT_NE(nullptr, screen);
    EXPECT_EQ(640, screen->w);
    EXPECT_EQ(480, screen->h);
    EXPECT_EQ(8, GetInt(GL_STENCIL_BITS));
    EXPECT_LE(16, GetInt(GL_DEPTH_BITS));
    EXPECT_EQ(SDL_OPENGL, graph.GetVideoFlags());
}

TEST_F(GraphGlTest, TheFixedStateIsSet)
{
    GLfloat colour[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, colour);
    for (const GLfloat component : colour)
        EXPECT_EQ(0.0f, component);
    for (const GLenum capability :
         {GL_TEXTURE_2D, GL_COLOR_MATERIAL, GL_DEPTH_TEST, GL_LIGHT1, GL_LIGHTING})
        EXPECT_TRUE(glIsEnabled(capability)) << capability;
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT0));
    EXPECT_EQ(GL_FRONT, GetInt(GL_COLOR_MATERIAL_FACE));
    EXPECT_EQ(GL_AMBIENT_AND_DIFFUSE, GetInt(GL_COLOR_MATERIAL_PARAMETER));
    EXPECT_EQ(GL_SMOOTH, GetInt(GL_SHADE_MODEL));
    EXPECT_EQ(GL_LEQUAL, GetInt(GL_DEPTH_FUNC));
    EXPECT_EQ(GL_SRC_ALPHA, GetInt(GL_BLEND_SRC));
    EXPECT_EQ(GL_ONE_MINUS_SRC_ALPHA, GetInt(GL_BLEND_DST));
    EXPECT_EQ(GL_NICEST, GetInt(GL_PERSPECTIVE_CORRECTION_HINT));
    EXPECT_EQ(0, GetInt(GL_STENCIL_CLEAR_VALUE));
    GLdouble depth = 0;
    glGetDoublev(GL_DEPTH_CLEAR_VALUE, &depth);
    EXPECT_EQ(1.0, depth);

    struct Parameter
    {
        GLenum name;
        GLfloat expected[4];
    };
    const Parameter light[] = {{GL_AMBIENT, {0.5f, 0.5f, 0.5f, 1.0f}},
                               {GL_DIFFUSE, {1.0f, 1.0f, 1.0f, 1.0f}},
                               {GL_POSITION, {0.0f, 2.0f, 0.0f, 1.0f}}};
    for (const Parameter& parameter : light)
    {
        GLfloat value[4];
        glGetLightfv(GL_LIGHT1, parameter.name, value);
        for (int i = 0; i < 4; ++i)
            EXPECT_FLOAT_EQ(parameter.expected[i], value[i]) << parameter.name << " " << i;
    }
    EXPECT_EQ("0", CheckedError(nullptr));
}

TEST_F(GraphGlTest, TheViewportKeepsItsPerspective)
{
    struct Case
    {
        int x, y, w, h;
        GLint viewport[4];
        double aspect;
    };
    const Case cases[] = {
        {0, 0, 0, 0, {0, 0, 640, 480}, 640.0 / 480},
        {0, 0, 640, 0, {0, 0, 640, 1}, 640.0},
        {0, 0, 320, 0, {0, 0, 320, 1}, 320.0},
        {10, 20, 300, 200, {10, 20, 300, 200}, 1.5},
    };
    const double f = 1.0 / std::tan(22.5 * Math::Pi<double> / 180.0);
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.x << " " << c.y << " " << c.w << " " << c.h);
        graph.SetViewport(c.x, c.y, c.w, c.h);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(c.viewport[i], graph.GetViewport()[i]);
        const GLdouble* const projection = graph.GetProjection();
        // OpenGL keeps the matrix in floats.
        EXPECT_NEAR(f / c.aspect, projection[0], 1e-6);
        EXPECT_NEAR(f, projection[5], 1e-6);
        EXPECT_NEAR((500.0 + 0.1) / (0.1 - 500.0), projection[10], 1e-6);
        EXPECT_EQ(-1.0, projection[11]);
        EXPECT_NEAR(2 * 500.0 * 0.1 / (0.1 - 500.0), projection[14], 1e-6);
    }
}

TEST_F(GraphGlTest, UnProjectThenProjectComesBackToTheWindowPoint)
{
    glTranslatef(1.0f, -2.0f, -10.0f);
    glRotatef(30.0f, 0.0f, 1.0f, 0.0f);
    const int points[][2] = {{320, 240}, {0, 0}, {639, 479}, {100, 400}};
    for (const auto& point : points)
    {
        SCOPED_TRACE(testing::Message() << point[0] << ", " << point[1]);
        Math::Vector nearPoint;
        Math::Vector farPoint;
        graph.UnProject(point[0], point[1], nearPoint, farPoint);
        double x, y, z;
        ASSERT_TRUE(graph.Project(nearPoint, x, y, z));
        EXPECT_NEAR(point[0], x, 0.05);
        // Rows count from the top: row 0 is window y = height.
        EXPECT_NEAR(480 - point[1], y, 0.05);
        EXPECT_NEAR(0.0, z, 1e-4);
        ASSERT_TRUE(graph.Project(farPoint, x, y, z));
        EXPECT_NEAR(point[0], x, 0.5);
        EXPECT_NEAR(1.0, z, 1e-4);
    }

    glLoadIdentity();
    EXPECT_TRUE(graph.IsOnScreen(Math::Vector(0, 0, -5)));
    EXPECT_FALSE(graph.IsOnScreen(Math::Vector(100, 0, -5)));
}

TEST_F(GraphGlTest, CheckGLErrorReportsTheFirstPendingError)
{
    glEnable(0xFFFF);
    const std::string text = reinterpret_cast<const char*>(gluErrorString(GL_INVALID_ENUM));
    EXPECT_EQ(std::to_string(GL_INVALID_ENUM), CheckedError("when testing"));
    EXPECT_EQ("OpenGL error #1280 when testing: '" + text + "'\n", line);

    glEnable(0xFFFF);
    EXPECT_EQ(std::to_string(GL_INVALID_ENUM), CheckedError(nullptr));
    EXPECT_EQ("OpenGL error #1280: '" + text + "'\n", line);

    EXPECT_EQ("0", CheckedError("nothing pending"));
    EXPECT_EQ("", line);
}

TEST_F(GraphGlTest, PickingFindsTheNearestNamedHit)
{
    graph.BeginPick(320, 240, 4, 4);
    glPushName(0);
    DrawSquare(7, -20.0f);
    DrawSquare(3, -5.0f);
    DrawSquare(9, -50.0f);
    EXPECT_EQ(3, graph.EndPick());
    const GLuint* const names = graph.GetPickHit();
    ASSERT_NE(nullptr, names);
    EXPECT_EQ(3u, names[0]);

    // Nothing under the point.
    graph.BeginPick(5, 5, 2, 2);
    glPushName(0);
    DrawSquare(3, -5.0f);
    EXPECT_EQ(0, graph.EndPick());
    EXPECT_EQ(nullptr, graph.GetPickHit());
}

// 200 records of four words do not fit in the 512 words of the buffer.
TEST_F(GraphGlTest, AnOverflowingPickHasNoHit)
{
    graph.BeginPick(320, 240, 4, 4);
    glPushName(0);
    for (GLuint name = 1; name <= 200; ++name)
        DrawSquare(name, -5.0f - name * 0.1f);
    EXPECT_EQ(-1, graph.EndPick());
    EXPECT_EQ(nullptr, graph.GetPickHit());
}

TEST_F(GraphGlTest, AFrameIsClearedAndSwapped)
{
    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    graph.BeginFrame();
    GLubyte pixel[4] = {};
    glReadPixels(10, 10, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    EXPECT_EQ(255, pixel[0]);
    EXPECT_EQ(0, pixel[1]);
    testing::internal::CaptureStdout();
    graph.EndFrame();
    EXPECT_EQ("", testing::internal::GetCapturedStdout());
}

TEST_F(GraphGlTest, TheVideoModesAreListedOnceAndCleared)
{
    graph.ListVideoModes();
    const std::size_t count = graph.GetVideoModes().size();
    graph.ListVideoModes();
    EXPECT_EQ(count, graph.GetVideoModes().size());
    graph.ClearVideoModes();
    EXPECT_TRUE(graph.GetVideoModes().empty());
}

} // namespace
