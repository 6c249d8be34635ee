#include "BattleFixture.h"

#include "Engine/Error.h"
#include "Game/Melee/ShipModelData.h"
#include "Game/Objects/PlanetModel.h"
#include "Support/Capture.h"
#include "Support/LuaScript.h"

#include <gtest/gtest.h>

namespace
{

class BattleShipTest : public BattleTest
{
protected:
    // Energy 10 of 10, two battery points every regeneration; a primary
    // weapon of cost 4 and a secondary one of cost 5.
    void SetUp() override
    {
        BattleTest::SetUp();
        data->energy = 10;
        data->energyMax = 10;
        data->regeneration = 2;
        data->regenerationWait = 1.0f;
        data->crew = 3;
        data->crewMax = 4;
        data->primaryWeapon = Cannon(4);
        data->secondaryWeapon = Cannon(5);
    }

    Melee::ShipModel* ArmedShip()
    {
        Melee::ShipModel* const ship = AddShip(*data);
        ship->SetWeapons(std::make_unique<Melee::ProjectileWeapon>(
                             static_cast<const Melee::ProjectileWeapon::Data&>(*data->primaryWeapon),
                             *ship, store),
                         std::make_unique<Melee::ProjectileWeapon>(
                             static_cast<const Melee::ProjectileWeapon::Data&>(
                                 *data->secondaryWeapon),
                             *ship, store));
        return ship;
    }

    std::vector<std::string> Reported(const std::string& name)
    {
        events.Poll();
        std::vector<std::string> found;
        for (const std::string& line : log.lines)
        {
            if (line.compare(0, name.size() + 1, name + " ") == 0)
                found.push_back(line.substr(name.size() + 1));
        }
        return found;
    }

    const std::unique_ptr<Melee::ShipModel::Data> data = ShipData();
};

TEST_F(BattleShipTest, AMadeShipIsAnnouncedAndMirroredInShipData)
{
    AddShip(*data, 2);
    events.Poll();
    const std::vector<std::string> expected = {"UNIT_CREATED 2", "UNIT_MAXHEALTH 2 4",
                                               "UNIT_MAXBATTERY 2 10", "UNIT_HEALTH 2 3",
                                               "UNIT_BATTERY 2 10"};
    EXPECT_EQ(expected, log.lines);
    EXPECT_EQ("3 4 10 10 ShipWindow2Captain",
              LuaEval(lua, "ShipData[2].Crew .. ' ' .. ShipData[2].CrewMax .. ' ' .. "
                           "ShipData[2].Battery .. ' ' .. ShipData[2].BatteryMax .. ' ' .. "
                           "ShipData[2].FrameName"));
}

// Held, the fire key fires every waitTime while the battery lasts; firing
// puts regeneration off, which then raises the battery by 2 a second.
TEST_F(BattleShipTest, TheBatteryPaysForShotsAndRegeneratesAfterTheLast)
{
    Melee::ShipModel* const ship = ArmedShip();
    ship->controls.firePrimary = true;
    std::vector<std::pair<int, float>> changes;
    float last = ship->GetBattery();
    for (int step = 1; step <= 100; ++step)
    {
        Step();
        if (ship->GetBattery() != last)
            changes.emplace_back(step, last = ship->GetBattery());
    }
    ASSERT_GE(changes.size(), 3u);
    EXPECT_EQ(std::make_pair(1, 6.0f), changes[0]);
    EXPECT_EQ(2.0f, changes[1].second);
    EXPECT_NEAR(21, changes[1].first, 1);
    // The regeneration to 4 and the shot it allows, in one step.
    EXPECT_EQ(0.0f, changes[2].second);
    EXPECT_NEAR(changes[1].first + 67, changes[2].first, 1);
    EXPECT_EQ((std::vector<std::string>{"1 10", "1 6", "1 2", "1 4", "1 0"}),
              Reported("UNIT_BATTERY"));
}

TEST_F(BattleShipTest, TheSpecialKeyWinsAndABatteryOfTheCostStillFires)
{
    const struct
    {
        bool fire;
        bool special;
        int energy;
        float left;
    } cases[] = {{true, false, 10, 6},  {false, true, 10, 5}, {true, true, 10, 5},
                 {true, false, 4, 0},   {false, true, 4, 4},  {false, false, 10, 10}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.fire << c.special << " " << c.energy);
        // A full battery does not regenerate in the step.
        data->energy = data->energyMax = c.energy;
        Melee::ShipModel* const ship = ArmedShip();
        ship->controls.firePrimary = c.fire;
        ship->controls.fireSecondary = c.special;
        Step();
        EXPECT_EQ(c.left, ship->GetBattery());
        ObjectFactoryInterface::KillByModel(ship);
        factory->Flush();
        factory->DeleteDead();
    }
}

// A battery beyond what an int holds is reported at the end it passed.
TEST_F(BattleShipTest, ABatteryBeyondAnIntIsReportedAtItsEnd)
{
    const struct
    {
        int energy;
        int regeneration;
        const char* reported;
    } cases[] = {
        {2147483647, 1, "2147483647"},
        // Two regenerations: 1 - 2^31 and then far below.
        {1, -2147483647 - 1, "-2147483648"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.energy);
        data->energy = c.energy;
        data->energyMax = 2147483647;
        data->regeneration = c.regeneration;
        data->regenerationWait = StepSeconds;
        Melee::ShipModel* const ship = AddShip(*data);
        Step(2);
        EXPECT_EQ(c.reported, LuaEval(lua, "ShipData[1].Battery"));
        EXPECT_EQ(std::string("1 ") + c.reported, Reported("UNIT_BATTERY").back());
        ObjectFactoryInterface::KillByModel(ship);
        factory->Flush();
        factory->DeleteDead();
    }
}

// The kill happens inside the crew change, before the crew is reported.
TEST_F(BattleShipTest, PlanetsAndDamageReportTheCrewAndTheLoss)
{
    Melee::ShipModel* const ship = ArmedShip();
    PlanetModel planet(Mesh("Planet"), 3, nullptr);
    ship->OnHit(planet);
    EXPECT_EQ(1, ship->GetHitPoints());
    ship->OnHit(planet);
    EXPECT_FALSE(ship->IsAlive());
    events.Poll();
    const std::vector<std::string> tail(log.lines.end() - 3, log.lines.end());
    EXPECT_EQ((std::vector<std::string>{"UNIT_HEALTH 1 1", "UNIT_DESTROYED 1", "UNIT_HEALTH 1 0"}),
              tail);

    // Damage that kills reports in the same order.
    Melee::ShipModel* const other = AddShip(*data, 2);
    other->Damage(5);
    events.Poll();
    const std::vector<std::string> last(log.lines.end() - 2, log.lines.end());
    EXPECT_EQ((std::vector<std::string>{"UNIT_DESTROYED 2", "UNIT_HEALTH 2 -2"}), last);
}

TEST_F(BattleShipTest, EachStepMirrorsTheCrewBatteryAndKeys)
{
    Melee::ShipModel* const ship = ArmedShip();
    ship->controls = {true, false, true, false, false};
    Step();
    EXPECT_EQ("3 10 true false true false false",
              LuaEval(lua, "ShipData[1].Crew .. ' ' .. ShipData[1].Battery .. ' ' .. "
                           "tostring(ShipData[1].KeyThrust) .. ' ' .. tostring(ShipData[1].KeyLeft)"
                           " .. ' ' .. tostring(ShipData[1].KeyRight) .. ' ' .. "
                           "tostring(ShipData[1].KeyFire) .. ' ' .. tostring(ShipData[1].KeySpecial)"));
}

// A script may replace the tables: what is no table is left alone, also when
// reading it would run the script's own code.
TEST_F(BattleShipTest, ShipDataThatIsNoTableIsLeftAlone)
{
    const char* const replacements[] = {
        "ShipData = 5",
        "ShipData[1] = 'x'",
        "ShipData = nil",
        "setmetatable(_G, {__index = function() error('no globals') end}) ShipData = nil",
    };
    for (const char* const replacement : replacements)
    {
        SCOPED_TRACE(replacement);
        Melee::ShipModel* const ship = ArmedShip();
        const int height = lua_gettop(lua.GetState());
        lua.DoString(replacement);
        if (std::string(replacement).find("error") != std::string::npos)
        {
            EXPECT_THROW(Step(), Error);
        }
        else
        {
            EXPECT_NO_THROW(Step());
        }
        EXPECT_EQ(height, lua_gettop(lua.GetState()));
        lua.DoString("setmetatable(_G, nil) ShipData = {}");
        ObjectFactoryInterface::KillByModel(ship);
        factory->Flush();
        factory->DeleteDead();
    }
}

TEST_F(BattleShipTest, AFailingUpdateFunctionThrowsAtEveryStepAndLeavesNothingOnTheStack)
{
    data->updateFunction = "Cruiser_Update";
    lua.DoString("function Cruiser_Update(player) error('broken ' .. player) end");
    AddShip(*data);
    const int height = lua_gettop(lua.GetState());
    for (int i = 0; i < 3; ++i)
    {
        const std::string message = ErrorOf([this] { Step(); });
        EXPECT_NE(std::string::npos, message.find("Cruiser_Update:\n")) << message;
        EXPECT_NE(std::string::npos, message.find("broken 1")) << message;
    }
    EXPECT_EQ(height, lua_gettop(lua.GetState()));
}

TEST_F(BattleShipTest, TheInitFunctionGetsThePlayerAndItsFailureIsOnlyPrinted)
{
    data->initFunction = "Cruiser_Init";
    lua.DoString("function Cruiser_Init(player) Made = player end");
    AddShip(*data, 2);
    EXPECT_EQ("2", LuaEval(lua, "Made"));

    lua.DoString("Cruiser_Init = 7");
    const int height = lua_gettop(lua.GetState());
    EXPECT_EQ("Cruiser_Init: attempt to call a number value",
              OutputOf([this] { AddShip(*data, 1); }));
    EXPECT_EQ(height, lua_gettop(lua.GetState()));
    EXPECT_NE(nullptr, Melee::ShipModel::Find(1));
}

// A hook that is not a function fails with Lua's own words.
TEST_F(BattleShipTest, AnUpdateFunctionThatIsNoFunctionReportsLuasMessage)
{
    data->updateFunction = "Cruiser_Update";
    AddShip(*data);
    EXPECT_EQ("Cruiser_Update:\nattempt to call a nil value", ErrorOf([this] { Step(); }));
    lua.DoString("Cruiser_Update = 'text'");
    EXPECT_EQ("Cruiser_Update:\nattempt to call a string value", ErrorOf([this] { Step(); }));
}

} // namespace
