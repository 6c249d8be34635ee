#include "Game/Melee/MeleeState.h"

#include "Engine/DataFile.h"
#include "Engine/ObjectFactoryInterface.h"
#include "Game/GameDataGlTest.h"
#include "Game/Melee/Parallax.h"
#include "Game/Melee/ShipModel.h"
#include "Game/Melee/WeaponData.h"
#include "Game/MenuState.h"
#include "Game/Objects/AsteroidModel.h"
#include "Game/Objects/PositionView.h"
#include "Graphics/Camera.h"
#include "Graphics/Graph.h"
#include "Platform/Random.h"
#include "Support/Capture.h"
#include "Support/FakeObjects.h"
#include "Support/FakeResource.h"
#include "Support/LuaScript.h"
#include "Support/TempDirectory.h"
#include "Support/VectorText.h"
#include "Ui/FrameController.h"
#include "Ui/Root.h"
#include "Ui/TextView.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <stdexcept>
#include <string>
#include <vector>

namespace
{

class TestMelee : public MeleeState
{
public:
    using MeleeState::MeleeState;
    using MeleeState::Update;

    DataStore& Store() { return store; }
    LuaState& Lua() { return lua; }
    Ui::Root& Root() { return dynamic_cast<Ui::Root&>(*uiRoot); }
};

class MeleeStateGlTest : public GameDataGlTest
{
protected:
    // The zoom table is measured through the window's perspective.
    void SetUp() override
    {
        GameDataGlTest::SetUp();
        graph.SetViewport(0, 0, 0, 0);
    }

    void TearDown() override
    {
        melee.reset();
        GameDataGlTest::TearDown();
    }

    // The battle over a new menu, as the menu starts it.
    void InitMelee()
    {
        melee.reset();
        melee = StartOverMenu<TestMelee>();
    }

    // One frame of the given steps.
    void Frame(Uint32 steps)
    {
        timer.steps = steps;
        melee->Update();
    }

    // Frames of one step until the planet, the five asteroids and both ships
    // are in the world; each is passed to the callback once, in the frame it
    // joined, before its first step.
    void JoinWorld(const std::function<void(ControllerInterface&)>& joined = {})
    {
        std::vector<const ControllerInterface*> seen;
        ASSERT_TRUE(ProcessUntil(melee->Store(),
                                 [&]
                                 {
                                     Frame(1);
                                     for (ControllerInterface* const object : melee->GetWorld())
                                     {
                                         if (std::find(seen.begin(), seen.end(), object) !=
                                             seen.end())
                                             continue;
                                         seen.push_back(object);
                                         if (joined)
                                             joined(*object);
                                     }
                                     return melee->GetWorld().size() == 8;
                                 }));
    }

    const PositionView& ViewOf(const EntityModel& model) const
    {
        for (const ControllerInterface* const object : melee->GetWorld())
        {
            if (object->GetModel() == &model)
                return *object->GetView<PositionView>();
        }
        throw std::runtime_error("not in the world");
    }

    AsteroidModel& AnAsteroid() const
    {
        for (ControllerInterface* const object : melee->GetWorld())
        {
            if (auto* const asteroid = dynamic_cast<AsteroidModel*>(object->GetModel()))
                return *asteroid;
        }
        throw std::runtime_error("no asteroid");
    }

    Math::Vector Centre() const
    {
        const Math::Matrix& centre = melee->GetCentre();
        return Math::Vector(centre[12], centre[13], centre[14]);
    }

    std::unique_ptr<TestMelee> melee;
};

Math::Vector Translation(const Math::Matrix& transform)
{
    return Math::Vector(transform[12], transform[13], transform[14]);
}

// Place, velocity and spin, as the asteroid was made.
std::string AsteroidText(const AsteroidModel& asteroid)
{
    return VectorText(Math::Vector(asteroid.GetX(), asteroid.GetY(), 0)) + " " +
           VectorText(Math::Vector(asteroid.GetVelocityX(), asteroid.GetVelocityY(), 0)) + " " +
           VectorText(asteroid.GetSpinAxis()) + " " + std::to_string(asteroid.GetSpinAngle()) +
           " " + std::to_string(asteroid.GetSpinSpeed());
}

TEST_F(MeleeStateGlTest, BattleInTheMenuStartsTheBattleOverTheMenusStore)
{
    StartMenu();
    menu->Lua().DoString("MainMenu:StartMelee()");
    std::unique_ptr<Engine::GameState> battle(menu->Update());
    ASSERT_NE(nullptr, dynamic_cast<MeleeState*>(battle.get()));
    EXPECT_EQ(3, battle->GetId());
    // The flag was acted on.
    EXPECT_EQ(menu.get(), menu->Update());
}

// The objects still waiting join the end of the world as the factory goes,
// and the world is deleted from its front.
TEST_F(MeleeStateGlTest, TheWorldIsDeletedFromItsFront)
{
    InitMelee();
    JoinWorld();
    std::vector<std::string> deleted;
    for (const char* name : {"first", "second"})
        ObjectFactoryInterface::AddPending(
            new ControllerInterface(new FakeModel(name, deleted), nullptr));
    melee.reset();
    EXPECT_EQ((std::vector<std::string>{"first deleted", "second deleted"}), deleted);
}

TEST_F(MeleeStateGlTest, TheBattleMakesItsWorldFromTheGameData)
{
    InitMelee();
    for (const char* name : {"Camera", "ShipDataList", "Empty3DModel"})
        EXPECT_NE(nullptr, melee->Store().Find(name, true)) << name;
    EXPECT_EQ("ShipWindow1Captain ShipWindow2Captain",
              LuaEval(melee->Lua(), "ShipData[1].FrameName .. ' ' .. ShipData[2].FrameName"));
    // The captain panels were read into the ships' windows.
    EXPECT_NE(nullptr, melee->Root().FindFrame("ShipWindow1CaptainPortrait"));
    EXPECT_NE(nullptr, melee->Root().FindFrame("ShipWindow2CaptainPortrait"));
    const Melee::ShipModel* const first = Melee::ShipModel::Find(1);
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(140.0f, first->GetX());
    EXPECT_EQ(35.0f, first->GetAngle());
    EXPECT_NE(nullptr, first->GetPrimaryWeapon());
    EXPECT_NE(nullptr, first->GetSecondaryWeapon());

    // A definition whose type number is not its kind's gives no weapon; an
    // unknown type is an error.
    Melee::ShipModel* const ship = Melee::ShipModel::Find(2);
    const Melee::Weapon::Data projectileOfNoKind(Melee::Weapon::Data::Projectile, "Shot");
    EXPECT_EQ(nullptr, melee->WeaponFactory(*ship, &projectileOfNoKind));
    EXPECT_EQ(nullptr, melee->WeaponFactory(*ship, nullptr));
    const Melee::Weapon::Data unknown(7, "Shot");
    EXPECT_EQ("WeaponFactory / Unknown weapon type!",
              ErrorOf([&] { melee->WeaponFactory(*ship, &unknown); }));

    // The planet, the asteroids and the ships join one a step as their meshes
    // load; the camera then follows the ships' midpoint.
    timer.steps = 1;
    ASSERT_TRUE(ProcessUntil(melee->Store(),
                             [this]
                             {
                                 melee->Update();
                                 return melee->GetWorld().size() == 8;
                             }));
    EXPECT_FLOAT_EQ(137.5f, melee->GetCentre()[12]);
    EXPECT_FLOAT_EQ(15.0f, melee->GetCentre()[13]);
}

// Drawn once loaded, the interface of a 640x480 screen is laid out: each
// ship's window lies in the lower half on the side where the camera shows
// its ship, and the line of the keys fits across the top, above them.
TEST_F(MeleeStateGlTest, EachShipsWindowSitsOnItsShipsSideUnderTheLineOfTheKeys)
{
    graph.width = 640;
    graph.height = 480;
    InitMelee();
    ASSERT_TRUE(ProcessUntil(melee->Store(),
                             [this]
                             {
                                 melee->Tick();
                                 return melee->GetWorld().size() == 8;
                             }));
    melee->Draw();
    const auto view = [this](const char* name)
    {
        const Ui::FrameController* const frame = melee->Root().FindFrame(name);
        return frame ? frame->GetView<Ui::FrameView>() : nullptr;
    };
    const Math::Vector centre(melee->GetCentre()[12], melee->GetCentre()[13], 0);
    for (const int player : {1, 2})
    {
        SCOPED_TRACE(player);
        const Melee::ShipModel* const ship = Melee::ShipModel::Find(player);
        const Ui::FrameView* const window = view(("ShipWindow" + std::to_string(player)).c_str());
        ASSERT_NE(nullptr, ship);
        ASSERT_NE(nullptr, window);
        const Math::Vector fromCentre = Math::Vector(ship->GetX(), ship->GetY(), 0) - centre;
        const bool shipOnTheRight = CameraRight.Dot(fromCentre) > 0;
        EXPECT_EQ(shipOnTheRight, window->x + window->width / 2 > graph.width / 2.0f);
        EXPECT_GT(window->y, graph.height / 2.0f);
    }
    const auto* const keys = dynamic_cast<const Ui::TextView*>(view("MeleeHelp"));
    ASSERT_NE(nullptr, keys);
    int textWidth = 0;
    int textHeight = 0;
    keys->GetTextSize(textWidth, textHeight);
    EXPECT_LE(keys->x + textWidth, graph.width);
    EXPECT_LT(keys->y + textHeight, view("ShipWindow1")->y);
}

// Every failure leaves the state with its message; deleting it leaves no
// ship to be found.
TEST_F(MeleeStateGlTest, ABattleThatCannotStartSaysWhy)
{
    const struct
    {
        const char* name;
        std::function<void()> breakData;
        const char* message;
    } cases[] = {
        {"no ship", [] { ReplaceInFile("Data/Melee/Melee.xml", "<include file=\"Cruiser.xml\"/>", ""); },
         "Internal error, ShipDataList is empty, no ships are loaded!"},
        {"another ship",
         [] { ReplaceInFile("Data/Melee/Cruiser.xml", "name=\"Cruiser\"", "name=\"Scout\""); },
         "Ship data not found!"},
        {"no captain's frame for ship 2",
         [] { ReplaceInFile("Data/Melee/MeleeUi.xml", "name=\"ShipWindow2\"", "name=\"ShipWindowB\""); },
         "Can't find frame 'ShipWindow2Captain'"},
        {"no music, after the ships were made",
         [] { ReplaceInFile("Data/Melee/Melee.xml", "name=\"Game music\"", "name=\"Other music\""); },
         "Missing resource: 'Game music'"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        CopyGameData();
        c.breakData();
        const std::string message = ErrorOf([this] { InitMelee(); });
        EXPECT_NE(std::string::npos, message.find(c.message)) << message;
        melee.reset();
        menu.reset();
        EXPECT_EQ(nullptr, Melee::ShipModel::Find(1));
        EXPECT_EQ(nullptr, Melee::ShipModel::Find(2));
    }
}

// Each row: the half height of the arena plane the window shows from
// straight above, which grows in proportion to the distance.
TEST_F(MeleeStateGlTest, TheZoomTableIsMeasuredAtEightDistances)
{
    InitMelee();
    const float distances[] = {10, 30, 70, 130, 210, 340, 550, 890};
    const Melee::ZoomTable& zoom = melee->GetZoomTable();
    // tan(22.5 degrees), half the field of view, squared.
    const float slopeSquared = 0.171573f;
    for (std::size_t i = 0; i < zoom.size(); ++i)
    {
        EXPECT_EQ(distances[i], zoom[i].distance) << i;
        EXPECT_NEAR(slopeSquared, zoom[i].reachSquared / (distances[i] * distances[i]), 1e-4f) << i;
    }
    // The camera is back at its start.
    EXPECT_EQ(20.0f, melee->GetCamera()->distance);
    EXPECT_EQ(20.0f, melee->GetCamera()->GetCurrentDistance());
}

TEST_F(MeleeStateGlTest, TheCameraFollowsTheShipsAndKeepsItsPlaceWithoutThem)
{
    InitMelee();
    JoinWorld();
    const Melee::ZoomTable& zoom = melee->GetZoomTable();
    Melee::ShipModel* const first = Melee::ShipModel::Find(1);
    Melee::ShipModel* const second = Melee::ShipModel::Find(2);
    ASSERT_NE(nullptr, second);

    // Across the edge at x = 200, each ship between the reaches of rows 2
    // and 3 from the centre: row 3 shows both.
    const float apart = std::sqrt((zoom[2].reachSquared + zoom[3].reachSquared) / 2);
    first->SetPosition(200 - apart, 10);
    second->SetPosition(-200 + apart, 10);
    Frame(0);
    EXPECT_EQ("(200, 10, 0)", VectorText(Centre()));
    EXPECT_EQ(130.0f, melee->GetCamera()->distance);
    EXPECT_EQ("(0, 0, 0)", VectorText(ViewOf(*first).offset));
    EXPECT_EQ("(400, 0, 0)", VectorText(ViewOf(*second).offset));

    // One ship: the camera centres on it, close.
    ObjectFactoryInterface::KillByModel(second);
    Frame(1);
    first->SetPosition(190, 0);
    AsteroidModel& asteroid = AnAsteroid();
    asteroid.SetPosition(-190, 0);
    Frame(0);
    EXPECT_EQ("(190, 0, 0)", VectorText(Centre()));
    EXPECT_EQ(9.0f, melee->GetCamera()->distance);
    EXPECT_EQ("(400, 0, 0)", VectorText(ViewOf(asteroid).offset));

    // No ship: centre, distance and drawing offsets stay, while the objects
    // are still drawn where they are.
    ObjectFactoryInterface::KillByModel(first);
    Frame(1);
    asteroid.SetPosition(50, 5);
    timer.alpha = 0.5f;
    Frame(0);
    EXPECT_EQ("(190, 0, 0)", VectorText(Centre()));
    EXPECT_EQ(9.0f, melee->GetCamera()->distance);
    EXPECT_EQ("(400, 0, 0)", VectorText(ViewOf(asteroid).offset));
    EXPECT_EQ("(50, 5, 0)", VectorText(Translation(ViewOf(asteroid).GetInterpolated())));
}

// The star layer reseeds the generator that the asteroids made next draw
// from, whatever was drawn before.
TEST_F(MeleeStateGlTest, EveryBattleHasTheSameStarsAndAsteroids)
{
    const auto battle = [this](std::vector<std::string>& asteroids, std::vector<float>& stars)
    {
        InitMelee();
        const VertexArray& layer = melee->GetStarLayer().GetStars();
        ASSERT_EQ(6400, layer.GetCount());
        stars.assign(layer.GetVertices().begin(), layer.GetVertices().begin() + 3 * 6400);
        stars.insert(stars.end(), layer.GetTexCoords().begin(),
                     layer.GetTexCoords().begin() + 2 * 6400);
        JoinWorld(
            [&](ControllerInterface& object)
            {
                if (const auto* const asteroid = dynamic_cast<AsteroidModel*>(object.GetModel()))
                    asteroids.push_back(AsteroidText(*asteroid));
            });
        melee.reset();
        menu.reset();
    };
    std::vector<std::string> firstAsteroids, secondAsteroids;
    std::vector<float> firstStars, secondStars;
    battle(firstAsteroids, firstStars);
    for (int i = 0; i < 7; ++i)
        Platform::Random();
    battle(secondAsteroids, secondStars);
    EXPECT_EQ(5u, firstAsteroids.size());
    EXPECT_EQ(firstAsteroids, secondAsteroids);
    EXPECT_TRUE(firstStars == secondStars);
}

} // namespace
