#include "Engine/KeyHandler.h"

#include "Engine/EventDispatcher.h"
#include "Support/EventCounter.h"
#include "Support/SdlEventQueue.h"

#include <vector>

namespace
{

class KeyHandlerTest : public SdlEventQueueTest
{
protected:
    KeyHandlerTest() : keys(dispatcher, 3)
    {
        keys.SetKey(0, SDLK_UP);
        keys.SetKey(1, SDLK_SPACE);
        keys.SetKey(2, SDLK_UP);
        keys.SetKey(-1, SDLK_a);
        keys.SetKey(3, SDLK_a);
        AddCounterBehind();
    }

    // The key handler registers at the back; the counter goes back behind it.
    void Enable()
    {
        keys.Enable();
        for (const int type : {SDL_KEYDOWN, SDL_KEYUP})
            dispatcher.RemoveHandler(type, EventCounter::Count, &behind);
        AddCounterBehind();
    }

    void AddCounterBehind()
    {
        for (const int type : {SDL_KEYDOWN, SDL_KEYUP})
            dispatcher.AddHandler(type, EventCounter::Count, &behind, false);
    }

    void Key(Uint8 type, SDLKey symbol)
    {
        PushKey(type, symbol);
        dispatcher.Poll();
    }

    std::vector<bool> Down() const { return keys.down; }

    // Counts the key events that reach the handlers behind the key handler.
    EventCounter behind;

    EventDispatcher dispatcher;
    KeyHandler keys;
};

TEST_F(KeyHandlerTest, AWatchedKeyUpdatesItsFirstEntryAndIsConsumed)
{
    Enable();
    Key(SDL_KEYDOWN, SDLK_UP);
    EXPECT_EQ((std::vector<bool>{true, false, false}), Down());
    EXPECT_TRUE(keys.changed);

    Key(SDL_KEYDOWN, SDLK_SPACE);
    keys.changed = false;
    Key(SDL_KEYUP, SDLK_UP);
    EXPECT_EQ((std::vector<bool>{false, true, false}), Down());
    EXPECT_TRUE(keys.changed);
    EXPECT_EQ(0, behind.events);
}

TEST_F(KeyHandlerTest, AnUnwatchedKeyPassesOnAndChangesNothing)
{
    Enable();
    Key(SDL_KEYDOWN, SDLK_a);
    Key(SDL_KEYUP, SDLK_a);
    EXPECT_EQ((std::vector<bool>{false, false, false}), Down());
    EXPECT_FALSE(keys.changed);
    EXPECT_EQ(2, behind.events);
}

TEST_F(KeyHandlerTest, EnablingAndDisablingClearTheStates)
{
    Key(SDL_KEYDOWN, SDLK_UP); // disabled: not watched
    EXPECT_EQ((std::vector<bool>{false, false, false}), Down());
    EXPECT_EQ(1, behind.events);

    Enable();
    Enable();
    Key(SDL_KEYDOWN, SDLK_UP);
    Key(SDL_KEYDOWN, SDLK_SPACE);
    keys.Disable();
    EXPECT_EQ((std::vector<bool>{false, false, false}), Down());
    EXPECT_FALSE(keys.changed);

    Key(SDL_KEYDOWN, SDLK_UP);
    EXPECT_EQ(2, behind.events);
    Enable();
    Key(SDL_KEYDOWN, SDLK_SPACE);
    EXPECT_EQ((std::vector<bool>{false, true, false}), Down());
    EXPECT_EQ(2, behind.events);
}

} // namespace
