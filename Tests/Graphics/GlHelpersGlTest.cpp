#include "Graphics/DisplayList.h"
#include "Graphics/VertexArray.h"
#include "Support/GlWindow.h"

#include <gtest/gtest.h>
#include <memory>

namespace
{

class GlHelpersGlTest : public testing::Test
{
protected:
    static void SetUpTestSuite() { OpenGlWindow(); }

    void SetUp() override { SetPixelProjection(); }

    static bool ClientStatesOff()
    {
        for (const GLenum array :
             {GL_VERTEX_ARRAY, GL_NORMAL_ARRAY, GL_TEXTURE_COORD_ARRAY, GL_COLOR_ARRAY})
        {
            if (glIsEnabled(array))
                return false;
        }
        return true;
    }

    // A square of one colour with its top-left corner at x, y.
    static void AddSquare(VertexArray& array, float x, float y, float size, float red)
    {
        const float corners[][2] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};
        for (const auto& corner : corners)
        {
            array.SetColor(red, 1 - red, 0, 1);
            array.AddVertex(x + corner[0] * size, y + corner[1] * size, 0);
        }
    }
};

} // namespace

TEST_F(GlHelpersGlTest, AVertexArrayDrawsItsVerticesInOneCall)
{
    // Capacity 2 and step 3: the squares grow the arrays on the way.
    VertexArray array(GL_QUADS, 2, 3, true, false, true, 3);
    AddSquare(array, 10, 10, 4, 1);
    AddSquare(array, 20, 10, 4, 0);
    array.Draw();
    EXPECT_EQ(0xFF0000u, ReadBackPixel(10, 10));
    EXPECT_EQ(0xFF0000u, ReadBackPixel(13, 13));
    EXPECT_EQ(0x00FF00u, ReadBackPixel(20, 10));
    EXPECT_EQ(0u, ReadBackPixel(14, 10));
    EXPECT_EQ(0u, ReadBackPixel(10, 14));
    EXPECT_TRUE(ClientStatesOff());
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());

    array.Clear();
    glClear(GL_COLOR_BUFFER_BIT);
    array.Draw();
    EXPECT_EQ(0u, ReadBackPixel(10, 10));
}

TEST_F(GlHelpersGlTest, DisplayListsRecordAndReplayByIndex)
{
    DisplayList lists(2);
    EXPECT_NE(0u, lists.GetBase());
    EXPECT_FALSE(lists.Begin(2));
    EXPECT_FALSE(lists.Begin(-1));
    ASSERT_TRUE(lists.Begin(1));
    EXPECT_FALSE(lists.Begin(0)); // one list at a time
    glColor3f(0, 0, 1);
    glBegin(GL_QUADS);
    glVertex2f(5, 5);
    glVertex2f(5, 9);
    glVertex2f(9, 9);
    glVertex2f(9, 5);
    glEnd();
    lists.End();
    lists.End();                        // nothing open
    EXPECT_EQ(0u, ReadBackPixel(6, 6)); // recorded, not drawn
    EXPECT_FALSE(lists.Call(2));
    EXPECT_TRUE(lists.Call(1));
    EXPECT_EQ(0x0000FFu, ReadBackPixel(6, 6));
    EXPECT_TRUE(glIsList(lists.GetBase() + 1));
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}

TEST_F(GlHelpersGlTest, ARangeThatOpenGlRefusedRefusesEveryIndexAndDeletesNothing)
{
    const GLuint other = glGenLists(1);
    glNewList(other, GL_COMPILE);
    glEndList();
    glBegin(GL_POINTS); // no lists are made in here
    auto refused = std::make_unique<DisplayList>(static_cast<int>(other) + 2);
    glEnd();
    EXPECT_EQ(GLenum(GL_INVALID_OPERATION), glGetError());
    const DisplayList empty(0);
    for (const DisplayList* lists : {static_cast<const DisplayList*>(refused.get()), &empty})
    {
        EXPECT_EQ(0u, lists->GetBase());
        EXPECT_FALSE(lists->Call(0));
    }
    EXPECT_FALSE(refused->Begin(0));
    refused.reset();
    EXPECT_TRUE(glIsList(other));
    glDeleteLists(other, 1);
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}

TEST_F(GlHelpersGlTest, DeletingARangeDeletesItsLists)
{
    GLuint base = 0;
    {
        DisplayList lists(3);
        base = lists.GetBase();
        for (int i = 0; i < 3; ++i)
        {
            lists.Begin(i);
            lists.End();
        }
        EXPECT_TRUE(glIsList(base + 2));
    }
    EXPECT_FALSE(glIsList(base));
    EXPECT_FALSE(glIsList(base + 2));
}
