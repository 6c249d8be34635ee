#include "Graphics/CameraMouseController.h"

#include "Engine/EventDispatcher.h"
#include "Engine/Object.h"
#include "Support/SdlEventQueue.h"

#include <SDL.h>
#include <gtest/gtest.h>

namespace
{

// Counts the button events that reach the handler behind the controller's.
class ButtonCounter : public Object
{
public:
    static bool Count(const SDL_Event&, Object* data)
    {
        ++static_cast<ButtonCounter*>(data)->events;
        return false;
    }

    int events = 0;
};

class CameraMouseControllerTest : public SdlEventQueueTest
{
protected:
    void SetUp() override
    {
        SdlEventQueueTest::SetUp();
        controller = std::make_unique<CameraMouseController>(&events);
        events.AddHandler(SDL_MOUSEBUTTONDOWN, ButtonCounter::Count, &counter, false);
        events.AddHandler(SDL_MOUSEBUTTONUP, ButtonCounter::Count, &counter, false);
    }

    void TearDown() override
    {
        controller.reset();
        SdlEventQueueTest::TearDown();
    }

    void Button(Uint8 type, Uint8 button)
    {
        SDL_Event event = {};
        event.type = type;
        event.button.type = type;
        event.button.button = button;
        event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        ASSERT_EQ(0, SDL_PushEvent(&event));
        events.Poll();
    }

    void Press(Uint8 button) { Button(SDL_MOUSEBUTTONDOWN, button); }
    void Release(Uint8 button) { Button(SDL_MOUSEBUTTONUP, button); }

    // One notch of the wheel, as SDL reports it.
    void Notch(Uint8 button)
    {
        Press(button);
        Release(button);
    }

    EventDispatcher events;
    ButtonCounter counter;
    std::unique_ptr<CameraMouseController> controller;
};

} // namespace

TEST_F(CameraMouseControllerTest, AWheelNotchMovesTwoUnitsWithinTheRange)
{
    struct Case
    {
        float distance;
        Uint8 button;
        float expected;
    };
    const Case cases[] = {
        {50.0f, SDL_BUTTON_WHEELDOWN, 52.0f},   {50.0f, SDL_BUTTON_WHEELUP, 48.0f},
        {99.5f, SDL_BUTTON_WHEELDOWN, 100.0f},  {0.5f, SDL_BUTTON_WHEELUP, 0.0f},
        {100.0f, SDL_BUTTON_WHEELDOWN, 100.0f},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.distance << ", button " << int(c.button));
        controller->distance = c.distance;
        Notch(c.button);
        EXPECT_FLOAT_EQ(c.expected, controller->distance);
    }
    // Zooming never consumes the events.
    EXPECT_EQ(10, counter.events);
}

TEST_F(CameraMouseControllerTest, OnlyTheRotateButtonIsConsumed)
{
    struct Case
    {
        Uint8 type;
        Uint8 button;
        bool consumed;
        bool rotating;
    };
    const Case cases[] = {
        {SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, true, true},
        {SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, false, true},
        {SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, false, true},
        {SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, false, true},
        // No button has the number 0; none has a mask bit past 31.
        {SDL_MOUSEBUTTONUP, 0, false, true},
        {SDL_MOUSEBUTTONUP, 200, false, true},
        {SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, true, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << int(c.type) << ", button " << int(c.button));
        const int before = counter.events;
        Button(c.type, c.button);
        EXPECT_EQ(c.consumed ? before : before + 1, counter.events);
        EXPECT_EQ(c.rotating, controller->IsRotating());
    }
    EXPECT_FLOAT_EQ(0.0f, controller->distance);
}

TEST_F(CameraMouseControllerTest, ReleasingTheButtonGivesThePointerBackAndAPressGrabsItAgain)
{
    for (int round = 0; round < 2; ++round)
    {
        SCOPED_TRACE(round);
        Press(SDL_BUTTON_RIGHT);
        controller->Update();
        EXPECT_TRUE(controller->IsGrabbed());
        EXPECT_EQ(SDL_DISABLE, SDL_ShowCursor(SDL_QUERY));

        Release(SDL_BUTTON_RIGHT);
        controller->Update();
        EXPECT_FALSE(controller->IsGrabbed());
        EXPECT_EQ(SDL_ENABLE, SDL_ShowCursor(SDL_QUERY));
    }
}

TEST_F(CameraMouseControllerTest, APointerThatIsHiddenIsNotGrabbed)
{
    SDL_ShowCursor(SDL_DISABLE);
    Press(SDL_BUTTON_RIGHT);
    controller->Update();
    EXPECT_FALSE(controller->IsGrabbed());
    SDL_ShowCursor(SDL_ENABLE);
}

TEST_F(CameraMouseControllerTest, TheFirstMotionsAfterTheGrabAreSkipped)
{
    // The dummy driver moves the pointer when it is warped once a mode is set.
    ASSERT_NE(nullptr, SDL_SetVideoMode(200, 200, 0, SDL_SWSURFACE)) << SDL_GetError();
    SDL_WarpMouse(100, 100);
    controller->skipMotions = 2;
    controller->invertY = true;
    SDL_GetRelativeMouseState(nullptr, nullptr);
    Press(SDL_BUTTON_RIGHT);
    controller->Update();

    const struct
    {
        int x, y;
        float yaw, pitch;
    } moves[] = {
        {106, 100, 0.0f, 0.0f},   // x skips its first motion
        {112, 112, 0.0f, 0.0f},   // x its second, y its first
        {118, 124, 2.0f, 0.0f},   // y its second
        {112, 127, -2.0f, -1.0f}, // y inverted
    };
    float yaw = 0;
    float pitch = 0;
    for (const auto& move : moves)
    {
        SCOPED_TRACE(testing::Message() << move.x << ", " << move.y);
        SDL_WarpMouse(move.x, move.y);
        controller->Update();
        yaw += move.yaw;
        pitch += move.pitch;
        EXPECT_FLOAT_EQ(yaw, controller->yaw);
        EXPECT_FLOAT_EQ(pitch, controller->pitch);
    }
}
