#include "Game/Melee/ShipDataReader.h"

#include "Engine/DataReader.h"
#include "Engine/DataStore.h"
#include "Engine/PointerResource.h"
#include "Engine/Settings.h"
#include "Engine/Subsystems.h"
#include "Game/Melee/LaserWeaponData.h"
#include "Game/Melee/ProjectileWeaponData.h"
#include "Game/Melee/ShipModelData.h"
#include "Game/Objects/ShipDataList.h"
#include "Support/Capture.h"
#include "Support/FileMutexGuard.h"
#include "Support/LuaScript.h"
#include "Support/ReadyResources.h"
#include "Support/TempDirectory.h"
#include "Support/VectorText.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <tinyxml.h>
#include <vector>

namespace
{

using Record = Melee::ShipModel::Data;

// The game's registries, a store with the list of ships published as the battle publishes it, and
// the texture "Flame" for the exhaust streams.
class ShipDataReaderTest : public testing::Test
{
protected:
    void SetUp() override
    {
        Settings::SetDefaults();
        // The game's registries, among them the reader of "ship" elements.
        Engine::RegisterSubsystems();
        store.AddExisting("ShipDataList", nullptr, new PointerResource(ships, true));
        store.AddExisting("Flame", nullptr, new IdleTexture("Flame"));
    }

    void TearDown() override { DataReader::RegisterReader("ship", nullptr); }

    // Data/Root.xml with one ship, the children from its third line on.
    static void WriteShip(const std::string& children)
    {
        WriteTextFile("Data/Root.xml",
                      "<MeleeData>\n"
                      "<ship resource=\"Hull\" race=\"Velmorian\" name=\"Cruiser\">\n" +
                          children +
                          "\n</ship>\n"
                          "</MeleeData>\n");
    }

    void ReadRoot()
    {
        DataReader reader(&store, nullptr, nullptr);
        reader.ReadFile("Data/Root.xml", "MeleeData");
    }

    // The ship of those children, which must be read without an error.
    const Record& ReadShip(const std::string& children)
    {
        const std::size_t before = ships->GetRecords().size();
        WriteShip(children);
        ReadRoot();
        EXPECT_EQ(before + 1, ships->GetRecords().size());
        return *ships->GetRecords().back();
    }

    std::string ReadError(const std::string& children)
    {
        WriteShip(children);
        return ErrorOf([this] { ReadRoot(); });
    }

    struct Failure
    {
        std::string children;
        std::string message;
    };

    // Each ship fails with its message about its third line, and none is
    // added (a ship that fails is freed).
    void ExpectFailures(const std::vector<Failure>& failures)
    {
        for (const Failure& failure : failures)
        {
            SCOPED_TRACE(failure.children);
            const std::string error = ReadError(failure.children);
            EXPECT_TRUE(EndsWith(error, failure.message + " in:\nData/Root.xml, line 3")) << error;
            EXPECT_TRUE(ships->GetRecords().empty());
        }
    }

    // What reading the ship prints.
    std::string ReadOutput(const std::string& children)
    {
        WriteShip(children);
        return OutputOf([this] { ReadRoot(); });
    }

    FileMutexGuard fileMutex;
    TempDirectory directory;
    DataStore store{nullptr};
    ShipDataList* const ships = new ShipDataList;
};

TEST_F(ShipDataReaderTest, ReadsEveryElementOfAShipFile)
{
    WriteTextFile("Data/Ships/Cruiser.xml",
                  ReadTextFile(std::string(ZEV_SOURCE_DIR) + "/Tests/Game/Melee/Cruiser.xml"));
    WriteTextFile("Data/Root.xml", "<MeleeData><include file=\"Ships/Cruiser.xml\"/></MeleeData>");
    ReadRoot();

    ASSERT_EQ(1u, ships->GetRecords().size());
    const Record& ship = *ships->GetRecords().front();
    EXPECT_EQ("Data/Ships/Cruiser.xml", ship.file);
    EXPECT_EQ("Models/Ship.3d", ship.resource);
    EXPECT_EQ("Velmorian", ship.race);
    EXPECT_EQ("Cruiser", ship.name);
    EXPECT_EQ(12, ship.crew);
    EXPECT_EQ(18, ship.crewMax);
    EXPECT_EQ(20, ship.energy);
    EXPECT_EQ(30, ship.energyMax);
    EXPECT_EQ(2, ship.regeneration);
    EXPECT_FLOAT_EQ(0.25f, ship.regenerationWait);
    EXPECT_EQ(40.0f, ship.maxSpeed);
    EXPECT_EQ(1600.0f, ship.maxSpeedSquared);
    // 3 frames with a wait of 1: 36 per second, times the step.
    EXPECT_FLOAT_EQ(0.54f, ship.acceleration);
    EXPECT_EQ(2.0f, ship.pitchGains.p);
    EXPECT_EQ(0.5f, ship.pitchGains.i);
    EXPECT_EQ(0.25f, ship.pitchGains.d);
    EXPECT_EQ(15.0f, ship.pitchTarget);
    EXPECT_EQ(180.0f, ship.turningSpeed);
    EXPECT_EQ(1.5f, ship.rollGains.p);
    EXPECT_EQ(0.0f, ship.rollGains.i);
    EXPECT_EQ(0.125f, ship.rollGains.d);
    EXPECT_EQ(40.0f, ship.rollTarget);
    EXPECT_EQ(6.0f, ship.mass);
    EXPECT_EQ(1.0f, ship.radius);
    EXPECT_EQ("Cruiser_Init", ship.initFunction);
    EXPECT_EQ("Cruiser_Update", ship.updateFunction);

    ASSERT_EQ(2u, ship.engines.size());
    const ThrustData& engine = *ship.engines[0];
    EXPECT_EQ(store.GetTexture("Flame", true), engine.texture);
    EXPECT_EQ(0.5f, engine.size);
    EXPECT_EQ(0.25f, engine.life);
    EXPECT_EQ("(-2, 0.5, 0)", VectorText(engine.position));
    EXPECT_EQ("(-4, 0, 0)", VectorText(engine.speed));
    EXPECT_EQ(0.5f, engine.speedFactor);
    EXPECT_EQ("(0, 0, 1)", VectorText(engine.accel));
    EXPECT_EQ(0.25f, engine.accelFactor);
    EXPECT_EQ("(-2, -0.5, 0)", VectorText(ship.engines[1]->position));
    EXPECT_EQ(1.0f, ship.engines[1]->life);

    const auto* shots =
        dynamic_cast<const Melee::ProjectileWeapon::Data*>(ship.primaryWeapon.get());
    ASSERT_TRUE(shots);
    EXPECT_EQ(Melee::Weapon::Data::Projectile, shots->type);
    EXPECT_EQ("Models/Shot.3d", shots->resource);
    EXPECT_EQ(0.5f, shots->hitRadius);
    EXPECT_EQ(2, shots->hits);
    EXPECT_EQ(0.5f, shots->lifetime);
    EXPECT_EQ(60.0f, shots->speed);
    EXPECT_TRUE(shots->homing);
    EXPECT_EQ(270.0f, shots->turningSpeed);
    EXPECT_TRUE(shots->canHitOwner);
    ASSERT_EQ(1u, shots->thrust.size());
    EXPECT_FLOAT_EQ(0.1f, shots->thrust[0]->life);
    EXPECT_EQ("Sounds/Shot.wav", shots->sample);
    EXPECT_EQ(3, shots->energyCost);
    EXPECT_EQ(4, shots->damage);
    EXPECT_EQ(0.5f, shots->waitTime);
    ASSERT_EQ(2u, shots->mounts.size());
    EXPECT_EQ(10.0f, shots->mounts[0].angle);
    EXPECT_EQ("(1, 2, 0)", VectorText(shots->mounts[0].offset));
    EXPECT_EQ(0.0f, shots->mounts[1].angle);
    EXPECT_EQ("(1, -2, 0.5)", VectorText(shots->mounts[1].offset));

    const auto* laser = dynamic_cast<const Melee::LaserWeapon::Data*>(ship.secondaryWeapon.get());
    ASSERT_TRUE(laser);
    EXPECT_EQ(Melee::Weapon::Data::Laser, laser->type);
    EXPECT_EQ("Textures/Beam.png", laser->resource);
    EXPECT_EQ(30.0f, laser->range);
    EXPECT_EQ(0.5f, laser->width);
    EXPECT_TRUE(laser->continuous);
    EXPECT_EQ(5, laser->energyCost);
    EXPECT_EQ(1.0f, laser->waitTime);
    EXPECT_TRUE(laser->mounts.empty());

    // The captain panel is a copy, read later.
    ASSERT_TRUE(ship.captainUi);
    EXPECT_EQ(std::string("$parentPortrait"),
              ship.captainUi->FirstChildElement("Texture")->Attribute("name"));
}

TEST_F(ShipDataReaderTest, AShipWithoutChildrenHasTheDefaults)
{
    const Record& ship = ReadShip("");
    EXPECT_EQ("Data/Root.xml", ship.file);
    EXPECT_EQ("Hull", ship.resource);
    EXPECT_EQ(1, ship.crew);
    EXPECT_EQ(1, ship.crewMax);
    EXPECT_EQ(1, ship.energy);
    EXPECT_EQ(1, ship.energyMax);
    EXPECT_EQ(1, ship.regeneration);
    EXPECT_EQ(1.0f, ship.regenerationWait);
    EXPECT_EQ(1.0f, ship.mass);
    EXPECT_EQ(1.0f, ship.radius);
    // No element, so no multiplication by the step.
    EXPECT_EQ(1.0f, ship.acceleration);
    EXPECT_EQ(1.0f, ship.turningSpeed);
    EXPECT_EQ(1.0f, ship.maxSpeed);
    EXPECT_EQ(1.0f, ship.maxSpeedSquared);
    EXPECT_TRUE(ship.engines.empty());
    EXPECT_FALSE(ship.primaryWeapon);
    EXPECT_FALSE(ship.secondaryWeapon);
    EXPECT_FALSE(ship.captainUi);
    EXPECT_EQ("", ship.initFunction);
    EXPECT_EQ("", ship.updateFunction);
    EXPECT_EQ(20.0f, ship.pitchTarget);
    EXPECT_EQ(50.0f, ship.rollTarget);
    for (const Record::Gains& gains : {ship.pitchGains, ship.rollGains})
    {
        EXPECT_EQ(1.0f, gains.p);
        EXPECT_EQ(1.0f, gains.i);
        EXPECT_EQ(0.1f, gains.d);
    }
}

const Melee::ProjectileWeapon::Data& Shots(const Record& ship)
{
    return dynamic_cast<const Melee::ProjectileWeapon::Data&>(*ship.primaryWeapon);
}

TEST_F(ShipDataReaderTest, ConvertsFrameUnitsAsItReads)
{
    const std::string projectile = "<primaryweapon><Projectile resource=\"Shot\" hitRadius=\"1\">";
    const struct
    {
        std::string children;
        std::function<float(const Record&)> value;
        float expected;
    } cases[] = {
        // 3 x 24 / 1 = 72 per second, times the step of 15 ms.
        {"<acceleration value=\"3\" original=\"TRUE\" wait=\"0\"/>",
         [](const Record& ship) { return ship.acceleration; }, 1.0799999f},
        {"<acceleration value=\"3\" original=\"true\" wait=\"-5\"/>",
         [](const Record& ship) { return ship.acceleration; }, 1.0799999f},
        {"<acceleration value=\"3\" original=\"true\" wait=\"2\"/>",
         [](const Record& ship) { return ship.acceleration; }, 24 * 0.015f},
        {"<acceleration value=\"2\" wait=\"7\"/>",
         [](const Record& ship) { return ship.acceleration; }, 2 * 0.015f},
        {"<acceleration value=\"2\" original=\"yes\"/>",
         [](const Record& ship) { return ship.acceleration; }, 2 * 0.015f},
        {"<turningspeed value=\"1\" original=\"true\"/>",
         [](const Record& ship) { return ship.turningSpeed; }, 270.0f},
        {"<turningspeed value=\"-0.5\" original=\"true\"/>",
         [](const Record& ship) { return ship.turningSpeed; }, 1080.0f},
        {"<turningspeed value=\"1\" original=\"false\"/>",
         [](const Record& ship) { return ship.turningSpeed; }, 1.0f},
        {"<energy start=\"1\" max=\"1\"><Regeneration value=\"1\"/>"
         "<WaitTime value=\"0\" original=\"true\"/></energy>",
         [](const Record& ship) { return ship.regenerationWait; }, 0.041666668f},
        {"<energy start=\"1\" max=\"1\"><Regeneration value=\"1\"/>"
         "<WaitTime value=\"0.5\"/></energy>",
         [](const Record& ship) { return ship.regenerationWait; }, 0.5f},
        {"<maxspeed value=\"4\"/>", [](const Record& ship) { return ship.maxSpeedSquared; }, 16.0f},
        {"<maxspeed value=\"4\" original=\"true\"/>",
         [](const Record& ship) { return ship.maxSpeedSquared; }, 16.0f},
        {projectile + "<lifetime value=\"12\" original=\"true\"/></Projectile></primaryweapon>",
         [](const Record& ship) { return Shots(ship).lifetime; }, 0.5f},
        {projectile + "<speed value=\"12\" original=\"true\"/></Projectile></primaryweapon>",
         [](const Record& ship) { return Shots(ship).speed; }, 12.0f},
        {projectile + "<homing turningSpeed=\"2\" original=\"true\"/></Projectile>"
                      "</primaryweapon>",
         [](const Record& ship) { return Shots(ship).turningSpeed; }, 180.0f},
        {projectile + "</Projectile><waittime value=\"0\" original=\"true\"/></primaryweapon>",
         [](const Record& ship) { return Shots(ship).waitTime; }, 0.041666668f},
    };
    for (const auto& test : cases)
    {
        SCOPED_TRACE(test.children);
        EXPECT_EQ(test.expected, test.value(ReadShip(test.children)));
    }
}

TEST_F(ShipDataReaderTest, MissingAttributesAndElementsNameTheFileAndLine)
{
    ExpectFailures({
        {"<crew start=\"1\"/>", "Missing attribute 'max'"},
        {"<energy start=\"1\" max=\"2\"><WaitTime value=\"1\"/></energy>",
         "Missing 'Regeneration' element!"},
        // The two children of "energy" are looked up with their exact case.
        {"<energy start=\"1\" max=\"2\"><Regeneration value=\"1\"/><waittime value=\"1\"/>"
         "</energy>",
         "Missing 'WaitTime' element!"},
        {"<energy start=\"1\" max=\"2\"><Regeneration/><WaitTime value=\"1\"/></energy>",
         "Missing attribute 'value'"},
        {"<acceleration value=\"3\" original=\"true\"/>", "Missing attribute 'wait'"},
        {"<maxspeed/>", "Missing attribute 'value'"},
        {"<turningspeed value=\"1\"><pidcontroller p=\"1\" i=\"1\"/></turningspeed>",
         "Missing attribute 'd'"},
        {"<initfunction/>", "Missing attribute 'name'"},
        {"<thrust/>", "Missing attribute 'resource'"},
        {"<thrust resource=\"Flame\"><life/></thrust>", "Missing attribute 'time'"},
        {"<primaryweapon><Projectile resource=\"Shot\"/></primaryweapon>",
         "Missing attribute 'hitRadius'"},
        {"<primaryweapon><Projectile resource=\"Shot\" hitRadius=\"1\"><homing/></Projectile>"
         "</primaryweapon>",
         "Missing attribute 'turningSpeed'"},
        {"<primaryweapon><Laser/></primaryweapon>", "Missing attribute 'resource'"},
        {"<primaryweapon><Laser resource=\"Beam\"/><offset x=\"1\" y=\"2\"/></primaryweapon>",
         "Missing attribute 'z'"},
    });
    EXPECT_EQ("Error while reading file: 'Data/Root.xml'\n"
              "Error while reading file: 'Data/Root.xml'\n"
              "Missing attribute 'max' in:\nData/Root.xml, line 3",
              ReadError("<crew start=\"1\"/>"));

    WriteTextFile("Data/Root.xml", "<MeleeData>\n<ship resource=\"Hull\" name=\"Cruiser\"/>\n"
                                   "</MeleeData>");
    EXPECT_TRUE(EndsWith(ErrorOf([this] { ReadRoot(); }),
                         "Missing attribute 'race' in:\nData/Root.xml, line 2"));
    EXPECT_TRUE(ships->GetRecords().empty());
}

// What only reverses a motion is read; what divides by 0, is no number, or
// lies beyond 1e6 as written or converted (and would carry a body past where
// its motion stays finite) is refused.
TEST_F(ShipDataReaderTest, RefusesOnlyValuesThatBreakTheFlight)
{
    const std::string projectile = "<primaryweapon><Projectile resource=\"Shot\" hitRadius=\"1\">";
    const std::string laser = "<secondaryweapon><Laser resource=\"Beam\">";
    const struct
    {
        std::string children;
        std::function<float(const Record&)> value;
        float expected;
    } accepted[] = {
        {"<maxspeed value=\"-3\"/>", [](const Record& ship) { return ship.maxSpeedSquared; }, 9},
        {"<maxspeed value=\"-3\" original=\"true\"/>",
         [](const Record& ship) { return ship.maxSpeed; }, -3},
        {"<turningspeed value=\"-4\" original=\"true\"/>",
         [](const Record& ship) { return ship.turningSpeed; }, -180},
        {projectile + "<homing turningSpeed=\"-2\" original=\"true\"/></Projectile>"
                      "</primaryweapon>",
         [](const Record& ship) { return Shots(ship).turningSpeed; }, -540},
        {projectile + "<speed value=\"1e6\"/></Projectile></primaryweapon>",
         [](const Record& ship) { return Shots(ship).speed; }, 1e6f},
        {"<maxspeed value=\"-1e6\"/>", [](const Record& ship) { return ship.maxSpeedSquared; },
         1e12f},
        {"<crew start=\"-1000000\" max=\"1000000\"/>",
         [](const Record& ship) { return static_cast<float>(ship.crew + ship.crewMax); }, 0},
    };
    ExpectFailures({
        {"<turningspeed value=\"-1\" original=\"true\"/>",
         "Attribute 'value' must not be -1 in frame units"},
        {projectile + "<homing turningSpeed=\"-1\" original=\"true\"/></Projectile>"
                      "</primaryweapon>",
         "Attribute 'turningSpeed' must not be -1 in frame units"},
        // 540 / 0.0001 degrees a second.
        {"<turningspeed value=\"-0.9999\" original=\"true\"/>",
         "Attribute 'value' is beyond the limit of 1000000 once converted"},
        {"<maxspeed value=\"0\"/>", "Attribute 'value' is 0 or too near it"},
        {"<maxspeed value=\"-0\" original=\"true\"/>", "Attribute 'value' is 0 or too near it"},
        {"<maxspeed value=\"1e-30\"/>", "Attribute 'value' is 0 or too near it"},
        {"<mass value=\"inf\"/>", "Attribute 'value' is not a finite number: 'inf'"},
        {"<mass value=\"NaN\"/>", "Attribute 'value' is not a finite number: 'NaN'"},
        {"<thrust resource=\"Flame\"><position x=\"1e39\"/></thrust>",
         "Attribute 'x' is not a finite number: '1e39'"},
        {"<maxspeed value=\"2e19\"/>", "Attribute 'value' is beyond the limit of 1000000: '2e19'"},
        {projectile + "<speed value=\"1e30\"/></Projectile></primaryweapon>",
         "Attribute 'value' is beyond the limit of 1000000: '1e30'"},
        {projectile + "<speed value=\"1e12\"/></Projectile></primaryweapon>",
         "Attribute 'value' is beyond the limit of 1000000: '1e12'"},
        {laser + "<range value=\"1e30\"/></Laser></secondaryweapon>",
         "Attribute 'value' is beyond the limit of 1000000: '1e30'"},
        {laser + "</Laser><offset x=\"-1e38\" y=\"0\" z=\"0\"/></secondaryweapon>",
         "Attribute 'x' is beyond the limit of 1000000: '-1e38'"},
        {"<thrust resource=\"Flame\"><speed x=\"1e7\"/></thrust>",
         "Attribute 'x' is beyond the limit of 1000000: '1e7'"},
        // Whole numbers keep the same bounds.
        {"<crew start=\"12\" max=\"nan\"/>", "Attribute 'max' is not a finite number: 'nan'"},
        {"<crew start=\"inf\" max=\"12\"/>", "Attribute 'start' is not a finite number: 'inf'"},
        {"<crew start=\"12\" max=\"1e38\"/>",
         "Attribute 'max' is beyond the limit of 1000000: '1e38'"},
        {"<energy start=\"0\" max=\"-99999999999\"><Regeneration value=\"1\"/>"
         "<WaitTime value=\"1\"/></energy>",
         "Attribute 'max' is beyond the limit of 1000000: '-99999999999'"},
        {"<energy start=\"1e38\" max=\"1\"><Regeneration value=\"1\"/>"
         "<WaitTime value=\"1\"/></energy>",
         "Attribute 'start' is beyond the limit of 1000000: '1e38'"},
        {"<energy start=\"1\" max=\"1\"><Regeneration value=\"-inf\"/>"
         "<WaitTime value=\"1\"/></energy>",
         "Attribute 'value' is not a finite number: '-inf'"},
        {"<acceleration value=\"3\" original=\"true\" wait=\"1e7\"/>",
         "Attribute 'wait' is beyond the limit of 1000000: '1e7'"},
        {projectile + "<hits value=\"NAN\"/></Projectile></primaryweapon>",
         "Attribute 'value' is not a finite number: 'NAN'"},
        {laser + "</Laser><energycost value=\"2e9\"/></secondaryweapon>",
         "Attribute 'value' is beyond the limit of 1000000: '2e9'"},
        {laser + "</Laser><damage value=\"Infinity\"/></secondaryweapon>",
         "Attribute 'value' is not a finite number: 'Infinity'"},
    });
    EXPECT_TRUE(EndsWith(ReadError("<thrust resource=\"Smoke\"/>"), "Missing resource: 'Smoke'"));

    for (const auto& test : accepted)
    {
        SCOPED_TRACE(test.children);
        EXPECT_EQ(test.expected, test.value(ReadShip(test.children)));
    }
}

TEST_F(ShipDataReaderTest, RepeatedElementsReplaceButStreamsAppend)
{
    const Record& ship =
        ReadShip("<crew start=\"1\" max=\"2\"/><crew start=\"3\" max=\"4\"/>"
                 "<thrust resource=\"Flame\"/><thrust resource=\"Flame\"/>"
                 "<primaryweapon><Laser resource=\"A\"/></primaryweapon>"
                 "<primaryweapon><Laser resource=\"B\"/></primaryweapon>"
                 "<captainui><First/></captainui><captainui><Second/></captainui>");
    EXPECT_EQ(3, ship.crew);
    EXPECT_EQ(4, ship.crewMax);
    EXPECT_EQ(2u, ship.engines.size());
    EXPECT_EQ("B", ship.primaryWeapon->resource);
    EXPECT_TRUE(ship.captainUi->FirstChildElement("Second"));
    EXPECT_FALSE(ship.captainUi->FirstChildElement("First"));
}

TEST_F(ShipDataReaderTest, TheDataTagsWorkInsideAShip)
{
    WriteTextFile("Data/Other.xml", "<ship resource=\"r\" race=\"Other\" name=\"Ship\"/>");
    WriteShip("<resource type=\"Alias\" file=\"Hull.3d\" name=\"Hull\"/>\n"
              "<Ship resource=\"r\" race=\"Inner\" name=\"Ship\"/>");
    ReadRoot();
    EXPECT_EQ("Data/Hull.3d", store.GetAliasTarget("Hull"));
    // The nested ship is a ship of its own, finished first.
    ASSERT_EQ(2u, ships->GetRecords().size());
    EXPECT_EQ("Inner", ships->GetRecords().front()->race);
    EXPECT_EQ("Velmorian", ships->GetRecords().back()->race);

    EXPECT_TRUE(EndsWith(ReadError("<include file=\"Other.xml\"/>"),
                         "Internal error, Ship defined inside of other ship!"));
    EXPECT_EQ(2u, ships->GetRecords().size());
}

TEST_F(ShipDataReaderTest, WarnsAboutUnknownTagsAndWeaponsOfNoKind)
{
    const std::string output = ReadOutput("<primaryweapon>\n"
                                          "<Projectile resource=\"Shot\" hitRadius=\"1\"><no/>"
                                          "</Projectile>\n"
                                          "<Laser resource=\"Beam\"><no/></Laser>\n"
                                          "</primaryweapon>\n"
                                          "<secondaryweapon><sample resource=\"Bang\"/>"
                                          "</secondaryweapon>\n"
                                          "<acceleration value=\"1\"><spring/></acceleration>\n"
                                          "<thrust resource=\"Flame\"><smoke/></thrust>\n"
                                          "<wings/>");
    EXPECT_EQ("Unknown XML tag 'Laser', in file 'Data/Root.xml' line 5\n"
              "Weapon type not found from 'secondaryweapon' in file 'Data/Root.xml'\n"
              "Unknown XML tag 'spring', in file 'Data/Root.xml' line 8\n"
              "Unknown XML tag 'smoke', in file 'Data/Root.xml' line 9\n"
              "Unknown XML tag 'wings', in file 'Data/Root.xml' line 10\n",
              output);
    const Record& ship = *ships->GetRecords().back();
    EXPECT_EQ(Melee::Weapon::Data::Projectile, ship.primaryWeapon->type);
    EXPECT_FALSE(ship.secondaryWeapon);
}

TEST_F(ShipDataReaderTest, NeedsTheListOfShips)
{
    DataStore bare(nullptr);
    WriteShip("");
    DataReader reader(&bare, nullptr, nullptr);
    EXPECT_TRUE(EndsWith(ErrorOf([&] { reader.ReadFile("Data/Root.xml", "MeleeData"); }),
                         "Missing resource: 'ShipDataList'"));
}

} // namespace
