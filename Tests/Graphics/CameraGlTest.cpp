#include "Engine/EventDispatcher.h"
#include "Engine/Timer.h"
#include "Graphics/Camera.h"
#include "Graphics/Frustum.h"
#include "Graphics/SceneGlTest.h"

namespace
{

class CameraGlTest : public SceneGlTest
{
protected:
    void SetUp() override
    {
        SceneGlTest::SetUp();
        camera = std::make_unique<Camera>(&events, &timer);
        camera->SetTarget(&ship);
        camera->distance = 20;
        camera->yaw = 30;
        camera->pitch = -50;
        camera->offset = Math::Matrix::Translate(0, 0, 5);
        camera->Snap();
    }

    static Math::Matrix Current(GLenum matrix)
    {
        GLfloat values[16];
        glGetFloatv(matrix, values);
        return Math::Matrix(values);
    }

    static void ExpectNear(const Math::MemMatrix& expected, const Math::MemMatrix& actual)
    {
        for (int i = 0; i < 16; ++i)
            EXPECT_NEAR(expected[i], actual[i], 1e-5f) << "element " << i;
    }

    EventDispatcher events;
    Timer timer{15};
    const Math::Matrix ship = Math::Matrix::Translate(3, 4, 0) * Math::Matrix::Rotate(30, 0, 0, 1);
    std::unique_ptr<Camera> camera;
};

} // namespace

TEST_F(CameraGlTest, ApplyLoadsTheViewAndPublishesItsAxes)
{
    CameraRight.Set(0, 0, 0);
    CameraUp.Set(0, 0, 0);
    CameraBack.Set(0, 0, 0);
    camera->Apply();
    const Math::Matrix& view = camera->GetViewMatrix();
    ExpectNear(view, Current(GL_MODELVIEW_MATRIX));
    ExpectNear(Current(GL_PROJECTION_MATRIX) * view, camera->GetViewProjectionMatrix());

    Math::Vector up;
    Math::Vector right;
    Math::Vector back;
    camera->GetAxes(up, right, back, true);
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_FLOAT_EQ(view(i, 0), CameraRight[i]);
        EXPECT_FLOAT_EQ(view(i, 1), CameraUp[i]);
        EXPECT_FLOAT_EQ(view(i, 2), CameraBack[i]);
        EXPECT_FLOAT_EQ(CameraRight[i], right[i]);
        EXPECT_FLOAT_EQ(CameraUp[i], up[i]);
        EXPECT_FLOAT_EQ(CameraBack[i], back[i]);
    }
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}

TEST_F(CameraGlTest, LoadRotationLoadsTheViewWithoutItsTranslation)
{
    camera->Apply();
    glLoadIdentity();
    camera->LoadRotation();
    Math::Matrix rotation(camera->GetViewMatrix());
    rotation[12] = 0;
    rotation[13] = 0;
    rotation[14] = 0;
    ExpectNear(rotation, Current(GL_MODELVIEW_MATRIX));
}

// Both ways of projecting agree only when the product is projection x view.
TEST_F(CameraGlTest, ProjectingWithoutOpenGLMatchesGlu)
{
    camera->Apply();
    const Math::Vector points[] = {{3, 4, -5}, {5, 2, -3}, {0, 0, 0}, {-4, 6, 1}};
    for (const Math::Vector& point : points)
    {
        SCOPED_TRACE(testing::Message() << point[0] << " " << point[1] << " " << point[2]);
        double glX = 0, glY = 0, glZ = 0;
        double x = 0, y = 0, z = 0;
        ASSERT_TRUE(camera->Project(point, glX, glY, glZ, true));
        ASSERT_TRUE(camera->Project(point, x, y, z, false));
        EXPECT_NEAR(glX, x, 1e-3);
        EXPECT_NEAR(glY, y, 1e-3);
        EXPECT_NEAR(glZ, z, 1e-5);
    }
    // The target, moved back by the offset, is in the middle of the window.
    double x = 0, y = 0, z = 0;
    camera->Project(Math::Vector(3, 4, -5), x, y, z, false);
    EXPECT_NEAR(GlWindowWidth / 2.0, x, 1e-3);
    EXPECT_NEAR(GlWindowHeight / 2.0, y, 1e-3);
}

TEST_F(CameraGlTest, TheFrustumOfOpenGLsMatricesIsThatOfTheViewProjection)
{
    camera->Apply();
    Frustum live;
    Frustum kept;
    live.Extract();
    kept.Extract(camera->GetViewProjectionMatrix());
    for (int p = 0; p < Frustum::PlaneCount; ++p)
        for (int i = 0; i < 4; ++i)
            EXPECT_NEAR(kept.GetPlane(Frustum::Plane(p))[i], live.GetPlane(Frustum::Plane(p))[i],
                        1e-5f)
                << "plane " << p << " " << i;
    EXPECT_TRUE(live.Contains(Math::Vector(3, 4, -5)));
}
