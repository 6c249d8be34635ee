#include "Game/Melee/MeleeState.h"

#include "Engine/DataFile.h"
#include "Engine/Settings.h"
#include "Engine/Subsystems.h"
#include "Engine/Timer.h"
#include "Game/Melee/ShipModel.h"
#include "Game/Melee/WeaponData.h"
#include "Game/MenuState.h"
#include "Graphics/Camera.h"
#include "Graphics/Graph.h"
#include "Support/Capture.h"
#include "Support/FakeResource.h"
#include "Support/GlWindow.h"
#include "Support/LuaScript.h"
#include "Support/TempDirectory.h"
#include "Ui/FrameController.h"
#include "Ui/Root.h"
#include "Ui/TextView.h"

#include <SDL_ttf.h>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace fs = std::filesystem;

namespace
{

class TestMenu : public MenuState
{
public:
    using MenuState::MenuState;
    using MenuState::Update;

    DataStore& Store() { return store; }
    LuaState& Lua() { return lua; }
};

class TestMelee : public MeleeState
{
public:
    using MeleeState::MeleeState;
    using MeleeState::Update;

    DataStore& Store() { return store; }
    LuaState& Lua() { return lua; }
    Ui::Root& Root() { return dynamic_cast<Ui::Root&>(*uiRoot); }
};

// The game's own data in a directory of the test's, and the menu over it,
// initialised but never ticked.
class MeleeStateGlTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        OpenGlWindow();
        ASSERT_EQ(0, TTF_Init()) << TTF_GetError();
        Engine::RegisterSubsystems();
    }

    void SetUp() override
    {
        Settings::SetDefaults();
        CreateFileMutex();
        graph.width = GlWindowWidth;
        graph.height = GlWindowHeight;
        fs::copy(fs::path(ZEV_SOURCE_DIR) / "Data", "Data", fs::copy_options::recursive);
    }

    void TearDown() override
    {
        melee.reset();
        menu.reset();
        DestroyFileMutex();
    }

    void StartMenu()
    {
        menu = std::make_unique<TestMenu>(&timer, &graph, nullptr);
        menu->Init();
    }

    // The battle over the menu's store, as the menu starts it.
    void InitMelee()
    {
        StartMenu();
        melee = std::make_unique<TestMelee>(&timer, &graph, &menu->Store());
        melee->Init();
    }

    TempDirectory directory;
    Timer timer{15};
    Graph graph;
    std::unique_ptr<TestMenu> menu;
    std::unique_ptr<TestMelee> melee;
};

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
        fs::remove_all("Data");
        fs::copy(fs::path(ZEV_SOURCE_DIR) / "Data", "Data", fs::copy_options::recursive);
        c.breakData();
        const std::string message = ErrorOf([this] { InitMelee(); });
        EXPECT_NE(std::string::npos, message.find(c.message)) << message;
        melee.reset();
        menu.reset();
        EXPECT_EQ(nullptr, Melee::ShipModel::Find(1));
        EXPECT_EQ(nullptr, Melee::ShipModel::Find(2));
    }
}

} // namespace
