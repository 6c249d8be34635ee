#include "Graphics/Camera.h"

#include "Engine/EventDispatcher.h"
#include "Engine/Matrix.h"
#include "Engine/Point.h"
#include "Engine/Timer.h"
#include "Support/SdlEventQueue.h"

#include <gtest/gtest.h>

namespace
{

using Math::Matrix;

void ExpectNear(const Math::MemMatrix& expected, const Math::MemMatrix& actual)
{
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(expected[i], actual[i], 1e-5f) << "element " << i;
}

void ExpectNear(const Math::Vector& expected, const Math::Vector& actual)
{
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(expected[i], actual[i], 1e-5f) << "component " << i;
}

// A camera driven by a timer whose frames the test measures. Nothing here
// needs an OpenGL context.
class CameraTest : public ::testing::Test
{
protected:
    // A frame of the given length, then the camera's update.
    void Frame(Uint32 ms)
    {
        timer.Advance(ms);
        camera.Update();
    }

    EventDispatcher events;
    Timer timer{15};
    Camera camera{&events, &timer};
};

// A rotation followed by a translation, as a ship's transform is.
Matrix ShipTransform()
{
    return Matrix::Translate(3, 4, 0) * Matrix::Rotate(30, 0, 0, 1);
}

} // namespace

TEST_F(CameraTest, EachUpdateClosesAShareOfTheGapSetByTheFrameTime)
{
    struct Case
    {
        Uint32 ms;
        float t;
    };
    // Rate 5 per second, at most the whole gap.
    const Case cases[] = {{0, 0.0f}, {20, 0.1f}, {100, 0.5f}, {200, 1.0f}, {500, 1.0f}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.ms << " ms");
        Camera fresh(&events, &timer);
        fresh.distance = 10;
        fresh.yaw = 40;
        fresh.pitch = -20;
        timer.Advance(c.ms);
        fresh.Update();
        EXPECT_FLOAT_EQ(10 * c.t, fresh.GetCurrentDistance());
        EXPECT_FLOAT_EQ(40 * c.t, fresh.GetCurrentYaw());
        EXPECT_FLOAT_EQ(-20 * c.t, fresh.GetCurrentPitch());
        // The set values stay as the game wrote them.
        EXPECT_EQ(10, fresh.distance);
    }

    camera.distance = 10;
    Frame(20);
    Frame(20);
    EXPECT_NEAR(10 * (1 - 0.9f * 0.9f), camera.GetCurrentDistance(), 1e-5f);
}

TEST_F(CameraTest, AnglesEaseAsPlainNumbers)
{
    camera.yaw = 350;
    camera.Snap();
    camera.yaw = 10;
    Frame(100);
    EXPECT_FLOAT_EQ(180, camera.GetCurrentYaw());
}

TEST_F(CameraTest, SnapTakesTheSetValuesAndTheTargetAtOnce)
{
    const Matrix ship = ShipTransform();
    camera.SetTarget(&ship);
    camera.distance = 20;
    camera.yaw = 15;
    camera.pitch = -60;
    camera.Snap();
    EXPECT_EQ(20, camera.GetCurrentDistance());
    EXPECT_EQ(15, camera.GetCurrentYaw());
    EXPECT_EQ(-60, camera.GetCurrentPitch());

    // The target's point, moved back by the offset, is seen straight ahead at
    // the distance, whatever the angles.
    camera.offset = Matrix::Translate(0, 0, 5);
    camera.BuildView(Matrix::Identity);
    const Math::Point seen = Math::Point(3, 4, -5, 1) * camera.GetViewMatrix();
    ExpectNear(Math::Vector(0, 0, -20), Math::Vector(seen[0], seen[1], seen[2]));
}

TEST_F(CameraTest, TheViewIsBuiltFromDistancePitchYawTargetAndOffset)
{
    const Matrix ship = ShipTransform();
    const Matrix offset = Matrix::Translate(0, 0, 5);
    const Matrix inverseShip = Matrix::Rotate(-30, 0, 0, 1) * Matrix::Translate(-3, -4, 0);
    const Matrix turn = Matrix::Rotate(-60, 1, 0, 0) * Matrix::Rotate(15, 0, 0, 1);
    camera.distance = 20;
    camera.yaw = 15;
    camera.pitch = -60;
    camera.offset = offset;
    camera.Snap();

    // Without a target the camera sits at the world origin: no distance.
    camera.BuildView(Matrix::Identity);
    ExpectNear(turn * offset, camera.GetViewMatrix());

    camera.SetTarget(&ship);
    camera.Snap();
    camera.BuildView(Matrix::Identity);
    ExpectNear(Matrix::Translate(0, 0, -20) * turn * inverseShip * offset, camera.GetViewMatrix());
}

TEST_F(CameraTest, TheViewFollowsTheTargetAsItStoodAtTheLastUpdate)
{
    Matrix ship = Matrix::Translate(1, 0, 0);
    camera.SetTarget(&ship);
    camera.Snap();
    ship = Matrix::Translate(5, 0, 0);
    camera.BuildView(Matrix::Identity);
    EXPECT_FLOAT_EQ(-1, camera.GetViewMatrix()[12]);

    Frame(20);
    camera.BuildView(Matrix::Identity);
    EXPECT_FLOAT_EQ(-5, camera.GetViewMatrix()[12]);
}

TEST_F(CameraTest, TheProductIsProjectionTimesViewAndTheAxesAreTheViewsRows)
{
    camera.yaw = 90;
    camera.pitch = -90;
    camera.offset = Matrix::Translate(1, 2, 3);
    camera.Snap();
    const float elements[16] = {2, 0, 0, 0, 0, 3, 0, 0, 0.5f, 0.25f, -1, -1, 0, 0, -0.2f, 0};
    const Matrix projection(elements);
    camera.BuildView(projection);
    const Matrix& view = camera.GetViewMatrix();
    ExpectNear(projection * view, camera.GetViewProjectionMatrix());

    // Looking along +x with +z up: the right axis runs along -y.
    ExpectNear(Math::Vector(0, -1, 0), CameraRight);
    ExpectNear(Math::Vector(0, 0, 1), CameraUp);
    ExpectNear(Math::Vector(-1, 0, 0), CameraBack);
    ExpectNear(CameraBack, CameraRight.Cross(CameraUp));

    Math::Vector up;
    Math::Vector right;
    Math::Vector back;
    camera.GetAxes(up, right, back, false);
    ExpectNear(CameraUp, up);
    ExpectNear(CameraRight, right);
    ExpectNear(CameraBack, back);
}

namespace
{

class CameraMouseTest : public SdlEventQueueTest
{
protected:
    void WheelNotch(Uint8 button)
    {
        for (const Uint8 type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP})
        {
            SDL_Event event = {};
            event.type = type;
            event.button.type = type;
            event.button.button = button;
            ASSERT_EQ(0, SDL_PushEvent(&event));
        }
        events.Poll();
    }

    EventDispatcher events;
    Timer timer{15};
};

} // namespace

TEST_F(CameraMouseTest, TheMouseValuesArePassedOnBeforeTheEasing)
{
    Camera camera(&events, &timer);
    camera.distance = 10;
    camera.SetMouseControl(true);
    camera.Snap();
    // The controller's values replace what the game writes meanwhile.
    camera.distance = 50;
    WheelNotch(SDL_BUTTON_WHEELDOWN);
    timer.Advance(200);
    camera.Update();
    EXPECT_EQ(12, camera.distance);
    EXPECT_EQ(12, camera.GetCurrentDistance());

    camera.SetMouseControl(false);
    WheelNotch(SDL_BUTTON_WHEELDOWN);
    camera.Update();
    EXPECT_EQ(12, camera.distance);
}
