#include "Game/Objects/PlayerController.h"

#include "Engine/GameEvents.h"
#include "Engine/LuaState.h"
#include "Game/Melee/ShipModel.h"
#include "Game/Objects/AiController.h"
#include "Support/EventCounter.h"
#include "WorldFixture.h"

#include <SDL.h>
#include <gtest/gtest.h>

namespace
{

class PlayerControllerTest : public WorldTest
{
protected:
    // A battle ship of that player under a player controller, in the world.
    Melee::ShipModel* BattleShip(int player)
    {
        auto* ship = new Melee::ShipModel(*data, store, lua, player, "Captain");
        world.push_back(new PlayerController(ship, nullptr, events, &world));
        return ship;
    }

    // Counts the user events that reach a handler behind the controllers.
    EventCounter behind;
    LuaState lua;

    const std::unique_ptr<Melee::ShipModel::Data> data = ShipData();
};

// Both ships of the battle are on the same keys: each key reaches both, and
// the handlers behind them.
TEST_F(PlayerControllerTest, TheKeysSetTheControlsOfEveryShipOnThem)
{
    ShipModel* const ships[] = {new ShipModel(*data, store), new ShipModel(*data, store)};
    PlayerController first(ships[0], nullptr, events, &world);
    PlayerController second(ships[1], nullptr, events, &world);
    EventCounter keysBehind;
    events.AddHandler(SDL_KEYDOWN, EventCounter::Count, &keysBehind, false);
    const struct
    {
        SDLKey key;
        bool ShipModel::Controls::*flag;
    } keys[] = {{SDLK_UP, &ShipModel::Controls::thrust},
                {SDLK_LEFT, &ShipModel::Controls::turnLeft},
                {SDLK_RIGHT, &ShipModel::Controls::turnRight},
                {SDLK_z, &ShipModel::Controls::firePrimary},
                {SDLK_x, &ShipModel::Controls::fireSecondary}};
    for (const auto& key : keys)
    {
        PushKey(SDL_KEYDOWN, key.key);
        events.Poll();
        first.Update();
        second.Update();
        EXPECT_TRUE(ships[0]->controls.*key.flag) << key.key;
        EXPECT_TRUE(ships[1]->controls.*key.flag) << key.key;
        PushKey(SDL_KEYUP, key.key);
        events.Poll();
        first.Update();
        second.Update();
        EXPECT_FALSE(ships[0]->controls.*key.flag) << key.key;
        EXPECT_FALSE(ships[1]->controls.*key.flag) << key.key;
    }
    EXPECT_EQ(5, keysBehind.events);
    ships[0]->nearPlanet = true;
    first.Update();
    // The planets set and clear that one.
    EXPECT_FALSE(ships[0]->nearPlanet);
}

TEST_F(PlayerControllerTest, BothTurnKeysHeldHoldTheHeading)
{
    ShipModel* const ship = new ShipModel(*data, store);
    PlayerController controller(ship, nullptr, events, &world);
    ship->SetAngle(10);
    PushKey(SDL_KEYDOWN, SDLK_LEFT);
    PushKey(SDL_KEYDOWN, SDLK_RIGHT);
    events.Poll();
    controller.Update();
    EXPECT_EQ(10.0f, ship->GetAngle());
    EXPECT_EQ(0.0f, ship->GetRollSpring().target);

    PushKey(SDL_KEYUP, SDLK_LEFT);
    events.Poll();
    controller.Update();
    EXPECT_LT(ship->GetAngle(), 10.0f);
    EXPECT_EQ(50.0f, ship->GetRollSpring().target);

    // Parked, the ship no longer listens.
    controller.GetKeyHandler().Disable();
    PushKey(SDL_KEYDOWN, SDLK_UP);
    events.Poll();
    controller.Update();
    EXPECT_FALSE(ship->controls.thrust);
}

TEST_F(PlayerControllerTest, TwoBattleShipsTakeEachOtherAsTargets)
{
    // The ships announce themselves; the events of both arrive once both
    // exist.
    Melee::ShipModel* const first = BattleShip(1);
    Melee::ShipModel* const second = BattleShip(2);
    events.AddHandler(SDL_USEREVENT, EventCounter::Count, &behind, false);
    events.Poll();
    EXPECT_EQ(second, first->GetTarget());
    EXPECT_EQ(first, second->GetTarget());

    // A ship ignores its own creation, and one with a target keeps it.
    Melee::ShipModel* const third = BattleShip(3);
    events.Poll();
    EXPECT_EQ(second, first->GetTarget());
    EXPECT_EQ(first, second->GetTarget());
    EXPECT_EQ(nullptr, third->GetTarget());

    // Only the ship whose target it was lets it go.
    Event::Send(Event::UnitDestroyed(2));
    Event::Send(Event::UnitHealth(1, 0));
    Event::Send(Event::LeaveOrbit());
    events.Poll();
    EXPECT_EQ(nullptr, first->GetTarget());
    EXPECT_EQ(first, second->GetTarget());
    EXPECT_EQ(nullptr, third->GetTarget());
    // Every event goes on to the handlers behind: the five of each ship's
    // making and the three above.
    EXPECT_EQ(18, behind.events);
}

TEST_F(PlayerControllerTest, ATargetThatIsDeletedReadsNull)
{
    Melee::ShipModel* const first = BattleShip(1);
    Melee::ShipModel* const second = BattleShip(2);
    events.Poll();
    ASSERT_EQ(second, first->GetTarget());
    delete world.back();
    world.pop_back();
    EXPECT_EQ(nullptr, first->GetTarget());
    EXPECT_EQ(nullptr, Melee::ShipModel::Find(2));
    EXPECT_EQ(first, Melee::ShipModel::Find(1));

    // An announcement that comes after its ship is gone finds nothing.
    Event::Send(Event::UnitCreated(2));
    events.Poll();
    EXPECT_EQ(nullptr, first->GetTarget());
}

TEST_F(PlayerControllerTest, TheControllerOfAShipThatDriftsHoldsEveryControlOff)
{
    ShipModel* const ship = new ShipModel(*data, store);
    AiController controller(ship, nullptr);
    ship->controls = {true, true, false, true, true};
    ship->SetVelocity(10, 0);
    controller.Update();
    EXPECT_FALSE(ship->controls.thrust || ship->controls.turnLeft || ship->controls.turnRight ||
                 ship->controls.firePrimary || ship->controls.fireSecondary);
    EXPECT_EQ(10.0f, ship->GetVelocityX());
}

} // namespace
