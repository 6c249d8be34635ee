#include "Engine/Error.h"
#include "Engine/GameEvents.h"
#include "Support/Capture.h"
#include "Support/LuaScript.h"
#include "Ui/KeyboardInputHandler.h"
#include "Ui/MouseButtonHandler.h"
#include "Ui/MouseMotionHandler.h"
#include "Ui/MovingHandler.h"
#include "Ui/UiFixture.h"
#include "Ui/UserEventHandler.h"

#include <gtest/gtest.h>

namespace
{

// Counts the events that reach the end of a dispatcher's list.
struct Behind : Object
{
    static bool Count(const SDL_Event& /*event*/, Object* data)
    {
        ++static_cast<Behind*>(data)->seen;
        return false;
    }

    int seen = 0;
};

// "Button", 100 by 50 at (10, 20), under the root.
class InputHandlerTest : public UiTest
{
protected:
    InputHandlerTest() : button(AddPlaced("Button", 10, 20)) {}

    Ui::FrameController* AddPlaced(const std::string& name, float x, float y,
                                   Ui::FrameController* parent = nullptr)
    {
        Ui::FrameController* const frame = AddFrame(name, parent);
        Model(frame).offsetX = x;
        Model(frame).offsetY = y;
        Model(frame).width = 100;
        Model(frame).height = 50;
        return frame;
    }

    void ListenBehind(int type) { events.AddHandler(type, Behind::Count, &behind, false); }

    // Lays the frames out, then delivers what was pushed.
    void Deliver()
    {
        LayOut();
        events.Poll();
    }

    std::string Eval(const std::string& expression) { return LuaEval(lua, expression); }

    Ui::FrameController* const button;
    Behind behind;
};

} // namespace

TEST_F(InputHandlerTest, APointOnTheBorderIsOutside)
{
    button->AddHandler(new Ui::MouseButtonHandler(button));
    button->SetScript("OnMouseDown", "downs = (downs or 0) + 1");
    const struct
    {
        int x, y;
        bool inside;
    } cases[] = {{10, 40, false}, {110, 40, false}, {11, 40, true}, {109, 40, true},
                 {50, 20, false}, {50, 70, false},  {50, 21, true}, {50, 69, true}};
    for (const auto& c : cases)
    {
        lua.DoString("downs = 0");
        PushButton(SDL_MOUSEBUTTONDOWN, c.x, c.y);
        Deliver();
        EXPECT_EQ(c.inside ? "1" : "0", Eval("downs")) << c.x << ", " << c.y;
    }
}

TEST_F(InputHandlerTest, AClickIsAPressAndAReleaseInsideAndTheLaterFrameTakesIt)
{
    button->AddHandler(new Ui::MouseButtonHandler(button));
    button->SetScript("OnClick", "clicks = (clicks or '') .. 'under '");
    Ui::FrameController* const over = AddPlaced("Over", 60, 20);
    over->AddHandler(new Ui::MouseButtonHandler(over));
    over->SetScript("OnClick", "clicks = (clicks or '') .. 'over '");
    ListenBehind(SDL_MOUSEBUTTONDOWN);

    PushClick(80, 40);
    Deliver();
    EXPECT_EQ("over ", Eval("clicks"));
    EXPECT_EQ(0, behind.seen);

    // Pressed inside, released outside: the next release inside completes it.
    lua.DoString("clicks = nil");
    PushButton(SDL_MOUSEBUTTONDOWN, 30, 40);
    PushButton(SDL_MOUSEBUTTONUP, 300, 300);
    Deliver();
    EXPECT_EQ("nil", Eval("clicks"));
    PushButton(SDL_MOUSEBUTTONUP, 30, 40);
    Deliver();
    EXPECT_EQ("under ", Eval("clicks"));
    EXPECT_EQ(0, behind.seen);

    // The right button runs nothing.
    lua.DoString("clicks = nil");
    PushButton(SDL_MOUSEBUTTONDOWN, 30, 40, SDL_BUTTON_RIGHT);
    PushButton(SDL_MOUSEBUTTONUP, 30, 40, SDL_BUTTON_RIGHT);
    Deliver();
    EXPECT_EQ("nil", Eval("clicks"));
    EXPECT_EQ(1, behind.seen);
}

TEST_F(InputHandlerTest, WhatTheHooksReturnDecidesWhoElseSeesTheButton)
{
    Ui::MouseButtonHandler* const handler = new Ui::MouseButtonHandler(button);
    button->AddHandler(handler);
    ListenBehind(SDL_MOUSEBUTTONDOWN);
    ListenBehind(SDL_MOUSEBUTTONUP);
    const struct
    {
        const char* down;
        const char* up;
        int seen;
    } cases[] = {{"", "", 2},
                 {"return 0", "return 0", 2},
                 {"x = 1", "return false", 1},
                 {"return 1", "", 1}};
    for (const auto& c : cases)
    {
        behind.seen = 0;
        button->SetScript("OnMouseDown", c.down);
        button->SetScript("OnMouseUp", c.up);
        PushClick(50, 40);
        Deliver();
        EXPECT_EQ(c.seen, behind.seen) << c.down << " / " << c.up;
    }
}

TEST_F(InputHandlerTest, AFailingHookChangesNoFlag)
{
    button->AddHandler(new Ui::MouseButtonHandler(button));
    button->SetScript("OnMouseDown", "error('down')");
    button->SetScript("OnClick", "clicked = true");
    PushButton(SDL_MOUSEBUTTONDOWN, 50, 40);
    EXPECT_NE(std::string::npos, ErrorOf([&] { Deliver(); }).find("down"));
    PushButton(SDL_MOUSEBUTTONUP, 50, 40);
    Deliver();
    EXPECT_EQ("nil", Eval("clicked"));
}

TEST_F(InputHandlerTest, EnterAndLeaveRunOnceEachAndHiddenFramesSeeNothing)
{
    button->AddHandler(new Ui::MouseMotionHandler(button));
    button->SetScript("OnEnter", "log = (log or '') .. 'enter '");
    button->SetScript("OnLeave", "log = (log or '') .. 'leave '");
    ListenBehind(SDL_MOUSEMOTION);
    for (const int x : {5, 20, 30, 40, 200, 300, 50})
        PushMotion(x, 40);
    Deliver();
    EXPECT_EQ("enter leave enter ", Eval("log"));
    EXPECT_EQ(7, behind.seen);

    // Hidden under the pointer: no leave, and no second enter when shown.
    lua.DoString("log = ''");
    Model(root.get()).visible = false;
    PushMotion(300, 40);
    Deliver();
    Model(root.get()).visible = true;
    PushMotion(60, 40);
    Deliver();
    EXPECT_EQ("", Eval("log"));
}

TEST_F(InputHandlerTest, KeysGoToShownKeyboardFramesWithTheSymbolInArg1)
{
    button->AddHandler(new Ui::KeyboardInputHandler(button));
    ListenBehind(SDL_KEYDOWN);
    ListenBehind(SDL_KEYUP);

    button->SetScript("OnKeyPress", "pressed = arg1 return 0");
    button->SetScript("OnKeyRelease", "released = arg1");
    PushKey(SDL_KEYDOWN, SDLK_ESCAPE);
    PushKey(SDL_KEYUP, SDLK_UP);
    Deliver();
    EXPECT_EQ("27", Eval("pressed"));
    EXPECT_EQ("273", Eval("released"));
    EXPECT_EQ(1, behind.seen);

    Model(button).visible = false;
    PushKey(SDL_KEYUP, SDLK_a);
    Deliver();
    EXPECT_EQ("273", Eval("released"));
    EXPECT_EQ(2, behind.seen);
}

TEST_F(InputHandlerTest, GameEventsReachTheFramesThatRegisteredTheirNames)
{
    button->AddHandler(new Ui::UserEventHandler(button));
    ListenBehind(SDL_USEREVENT);
    const auto send = [&]
    {
        lua.DoString("got = nil");
        Event::Send(Event::UnitHealth(1, 50));
        Deliver();
        return Eval("got");
    };

    lua.DoString("Button:RegisterEvent('UNIT_HEALTH')");
    EXPECT_EQ("nil", send()) << "an empty hook consumes nothing";
    EXPECT_EQ(1, behind.seen);

    button->SetScript("OnEvent", "got = arg1 .. ' ' .. arg2.Unit .. ' ' .. arg2.Value");
    lua.DoString("Button:RegisterEvent('UNIT_HEALTH') Button:UnregisterEvent('UNIT_HEALTH')");
    EXPECT_EQ("UNIT_HEALTH 1 50", send());
    EXPECT_EQ(1, behind.seen);
    lua.DoString("Button:UnregisterEvent('UNIT_HEALTH') Button:UnregisterEvent('UNIT_HEALTH')");
    EXPECT_EQ("nil", send());
    EXPECT_EQ(2, behind.seen);

    // Only game events count.
    lua.DoString("Button:RegisterEvent('UNIT_HEALTH')");
    PushUserEvent(UserEventString, new std::string("UNIT_HEALTH"), nullptr);
    PushUserEvent(UserEventObject, nullptr, nullptr);
    Deliver();
    EXPECT_EQ("nil", Eval("got"));
    EXPECT_EQ(4, behind.seen);
}

TEST_F(InputHandlerTest, RegisterEventChecksItsArgumentsAndItsFrame)
{
    button->AddHandler(new Ui::UserEventHandler(button));
    AddFrame("Plain");
    lua.DoString("Plain.RegisterEvent = Button.RegisterEvent");
    const struct
    {
        const char* call;
        const char* message;
    } cases[] = {{"Button:RegisterEvent()", "Too few arguments, 1 required"},
                 {"Button:UnregisterEvent()", "Too few arguments, 1 required"},
                 {"Button:RegisterEvent({})", "Argument 1 must be a string"},
                 {"Plain:RegisterEvent('UNIT_HEALTH')", "Invalid Lua object!"}};
    for (const auto& c : cases)
        EXPECT_TRUE(EndsWith(LuaFailure(lua, c.call), c.message)) << LuaFailure(lua, c.call);
}

TEST_F(InputHandlerTest, AMovingFrameFollowsThePointerInItsRelativeFramesUnits)
{
    Ui::FrameController* const panel = AddPlaced("Panel", 0, 0);
    Model(panel).scale = 2;
    Ui::FrameController* const knob = AddPlaced("Knob", 4, 6, panel);
    LayOut();
    int x = 0;
    int y = 0;
    SDL_GetMouseState(&x, &y);
    lua.DoString("Knob:StartMoving()");
    PushMotion(x + 10, y + 4);
    Deliver();
    EXPECT_FLOAT_EQ(9.0f, Model(knob).offsetX);
    EXPECT_FLOAT_EQ(8.0f, Model(knob).offsetY);

    // The newer handler runs first, so the older one's offset stays.
    Model(knob).offsetX = 100;
    lua.DoString("Knob:StartMoving()");
    PushMotion(x + 20, y);
    Deliver();
    EXPECT_FLOAT_EQ(14.0f, Model(knob).offsetX);

    lua.DoString("Knob:StopMoving()");
    PushMotion(x + 40, y);
    Deliver();
    EXPECT_FLOAT_EQ(14.0f, Model(knob).offsetX);
}

TEST_F(InputHandlerTest, HandlersLeaveTheDispatcherWithTheirFrame)
{
    button->AddHandler(new Ui::MouseButtonHandler(button));
    button->AddHandler(new Ui::KeyboardInputHandler(button));
    button->SetScript("OnMouseDown", "return 1");
    button->SetScript("OnKeyPress", "return 1");
    ListenBehind(SDL_MOUSEBUTTONDOWN);
    ListenBehind(SDL_KEYDOWN);
    root->DeleteChild(button);
    PushButton(SDL_MOUSEBUTTONDOWN, 50, 40);
    PushKey(SDL_KEYDOWN, SDLK_a);
    Deliver();
    EXPECT_EQ(2, behind.seen);
}
