#include "Engine/DataFile.h"
#include "Engine/DataReader.h"
#include "Engine/DataStore.h"
#include "Engine/EventDispatcher.h"
#include "Engine/LuaState.h"
#include "Engine/ResourceType.h"
#include "Engine/SimpleGameState.h"
#include "Engine/Timer.h"
#include "Engine/UiRootInterface.h"
#include "Graphics/Graph.h"
#include "Graphics/GraphicsKinds.h"
#include "Support/Capture.h"
#include "Support/FakeResource.h"
#include "Support/FileMutexGuard.h"
#include "Support/GlWindow.h"
#include "Support/Images.h"
#include "Support/LuaScript.h"
#include "Support/SdlEventQueue.h"
#include "Support/TempDirectory.h"
#include "Ui/FrameModel.h"
#include "Ui/RegisterInterface.h"
#include "Ui/Root.h"
#include "Ui/RootView.h"
#include "Ui/TextView.h"

#include <GL/gl.h>
#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <stdexcept>
#include <vector>

namespace
{

const Uint32 Red = 0xFF0000;
const Uint32 Green = 0x00FF00;
const Uint32 Black = 0x000000;

struct Rectangle
{
    int x, y, width, height;

    bool Contains(int px, int py) const
    {
        return px >= x && px < x + width && py >= y && py < y + height;
    }
};

// The interface of a state over the window, read from the data: the solid
// textures "Red" and "Green" (8 by 8) and the bitmap font "Font" whose
// glyphs are 8 by 8 white squares.
class UiGlTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        OpenGlWindow();
        RegisterGraphicsKinds();
        Ui::RegisterInterface();
    }

    UiGlTest()
    {
        graph.width = GlWindowWidth;
        graph.height = GlWindowHeight;
        root = Ui::Root::Create(graph, events, lua);
    }

    void SetUp() override
    {
        SetPixelProjection();
        WriteSolidBmp("Data/Red.bmp", 8, 8, Red);
        WriteSolidBmp("Data/Green.bmp", 8, 8, Green);
        WriteSolidBmp("Data/Glyphs.bmp", 8, 8, 0xFFFFFF);
        WriteTextFile("Data/Font.xml", "<Font file='Glyphs.bmp'><Character char='A' default='1'>"
                                       "<Area x='0' y='0' w='8' h='8'/></Character></Font>");
    }

    // Reads the interface and waits until its resources are ready.
    void Read(const std::string& ui)
    {
        WriteTextFile("Data/Root.xml", "<MenuData>"
                                       "<Resource type='Texture' file='Red.bmp' name='Red'/>"
                                       "<Resource type='Texture' file='Green.bmp' name='Green'/>"
                                       "<Resource type='Font' file='Font.xml' name='Font'/>"
                                       "<Ui>" +
                                           ui + "</Ui></MenuData>");
        DataReader reader(&store, &events, &lua);
        reader.SetParent(root->AsParent());
        reader.ReadFile("Data/Root.xml", "MenuData");
        for (const char* name : {"Red", "Green", "Font"})
        {
            Resource* const resource = store.GetResource(name, true);
            ASSERT_TRUE(ProcessUntil(store, [resource] { return resource->IsReady(); })) << name;
        }
    }

    // Draws the interface into the cleared back buffer.
    void Draw()
    {
        SetPixelProjection();
        root->Draw();
    }

    // Every pixel of the window is the colour inside the rectangle and black
    // outside.
    static void ExpectOnly(const Rectangle& area, Uint32 color)
    {
        int wrong = 0;
        for (int y = 0; y < GlWindowHeight; ++y)
            for (int x = 0; x < GlWindowWidth; ++x)
                wrong += ReadBackPixel(x, y) != (area.Contains(x, y) ? color : Black);
        EXPECT_EQ(0, wrong);
    }

    static std::string Quad(const std::string& tag, const std::string& name,
                            const std::string& attributes, const Rectangle& area,
                            const std::string& children = "")
    {
        return "<" + tag + " name='" + name + "' " + attributes + "><Size width='" +
               std::to_string(area.width) + "' height='" + std::to_string(area.height) +
               "'/><Offset x='" + std::to_string(area.x) + "' y='" + std::to_string(area.y) +
               "'/>" + children + "</" + tag + ">";
    }

    FileMutexGuard fileMutex;
    TempDirectory directory;
    DataStore store{nullptr};
    LuaState lua;
    EventDispatcher events;
    Graph graph;
    std::unique_ptr<Ui::Root> root;
};

// The state that the OpenGL state is compared in.
struct GlState
{
    std::vector<GLboolean> enabled;
    GLint matrixMode = 0;
    GLint modelViewDepth = 0;
    GLint projectionDepth = 0;
    GLint attributeDepth = 0;
    std::vector<GLfloat> matrices;

    static GlState Read()
    {
        GlState state;
        for (const GLenum capability :
             {GL_DEPTH_TEST, GL_LIGHTING, GL_FOG, GL_TEXTURE_2D, GL_BLEND, GL_ALPHA_TEST})
            state.enabled.push_back(glIsEnabled(capability));
        glGetIntegerv(GL_MATRIX_MODE, &state.matrixMode);
        glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &state.modelViewDepth);
        glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &state.projectionDepth);
        glGetIntegerv(GL_ATTRIB_STACK_DEPTH, &state.attributeDepth);
        state.matrices.resize(32);
        glGetFloatv(GL_MODELVIEW_MATRIX, &state.matrices[0]);
        glGetFloatv(GL_PROJECTION_MATRIX, &state.matrices[16]);
        return state;
    }

    bool operator==(const GlState& other) const
    {
        return enabled == other.enabled && matrixMode == other.matrixMode &&
               modelViewDepth == other.modelViewDepth && projectionDepth == other.projectionDepth &&
               attributeDepth == other.attributeDepth && matrices == other.matrices;
    }
};

// A widget that fails half-way through its drawing.
class FailingView : public Ui::FrameView
{
public:
    using FrameView::FrameView;

    void Draw() override
    {
        FrameView::Draw();
        glPushMatrix();
        glTranslatef(5, 5, 0);
        throw std::runtime_error("broken widget");
    }
};

// A game state whose interface is read from "Data/Root.xml".
class InterfaceState : public Engine::SimpleGameState
{
public:
    InterfaceState(Timer* timer, Graph* graph) : SimpleGameState(timer, graph, nullptr, 1) {}

    void Init() override
    {
        SimpleGameState::Init();
        DataReader reader(&store, &events, &lua);
        reader.SetParent(uiRoot->AsParent());
        reader.ReadFile("Data/Root.xml", "MenuData");
        for (const char* name : {"Red", "Green", "Font"})
            waitList.push_back(store.GetResource(name, true));
        dynamic_cast<Ui::Root&>(*uiRoot).RunOnLoad();
    }

    bool IsLoading() const { return loading; }
    LuaState& Lua() { return lua; }

protected:
    GameState* Update() override { return this; }
    void DrawScene() override {}
};

} // namespace

TEST_F(UiGlTest, ASolidTextureFillsExactlyItsRectangle)
{
    Read(Quad("Texture", "Back", "resource='Red'", {10, 20, 30, 40}));
    Draw();
    ExpectOnly({10, 20, 30, 40}, Red);
}

TEST_F(UiGlTest, LaterFramesCoverEarlierOnesAndHiddenSubtreesDrawNothing)
{
    Read(Quad("Texture", "Under", "resource='Red'", {0, 0, 40, 40}) +
         Quad("Texture", "Over", "resource='Green'", {20, 0, 40, 40}) +
         Quad("Frame", "Hidden", "visible='false'", {0, 0, 128, 128},
              Quad("Texture", "$ParentChild", "resource='Red'", {0, 60, 50, 50})));
    Draw();
    EXPECT_EQ(Red, ReadBackPixel(10, 10));
    EXPECT_EQ(Green, ReadBackPixel(30, 10));
    EXPECT_EQ(Green, ReadBackPixel(50, 10));
    EXPECT_EQ(Black, ReadBackPixel(10, 80));
}

TEST_F(UiGlTest, AdditiveFramesAddTheirColour)
{
    Read(Quad("Texture", "Under", "resource='Red'", {0, 0, 40, 40}) +
         Quad("Texture", "Over", "resource='Green' alphaMode='ADD'", {20, 0, 40, 40}) +
         Quad("Texture", "Normal", "resource='Green'", {0, 60, 40, 40}));
    Draw();
    EXPECT_EQ(0xFFFF00u, ReadBackPixel(30, 10));
    EXPECT_EQ(Green, ReadBackPixel(50, 10));
    // The additive frame leaves the blending normal for the frames after it.
    EXPECT_EQ(Green, ReadBackPixel(10, 70));
}

TEST_F(UiGlTest, TheAlphaTestDropsFramesBelowOneSixteenth)
{
    Read(Quad("Texture", "Faint", "resource='Red'", {0, 0, 40, 40}, "<Color alpha='0.05'/>") +
         Quad("Texture", "Half", "resource='Red'", {60, 0, 40, 40}, "<Color alpha='0.5'/>") +
         Quad("Anim", "Anim", "", {0, 60, 40, 40},
              "<AnimFrame resource='Green'/><Color alpha='0.5'/>"));
    Draw();
    EXPECT_EQ(Black, ReadBackPixel(10, 10));
    const Uint32 half = ReadBackPixel(70, 10);
    EXPECT_NEAR(0x80, static_cast<int>(half >> 16), 2);
    EXPECT_EQ(0u, half & 0xFFFF);
    // An animation is drawn opaque whatever its frame's alpha.
    EXPECT_EQ(Green, ReadBackPixel(10, 70));
}

TEST_F(UiGlTest, TextLightsPixelsInsideItsRectangleOnly)
{
    Read("<Text name='Label' font='Font' text='AAA'><Offset x='20' y='30'/></Text>"
         "<Text name='Big' font='Font' text='A'><Offset x='20' y='60'/>"
         "<Color red='1' green='0' blue='0'/></Text>");
    root->FindFrame("Big")->GetFrameModel().scale = 2;
    Draw();
    int lit = 0;
    int outside = 0;
    const Rectangle label{20, 30, 24, 8};
    const Rectangle big{20, 60, 16, 16};
    for (int y = 0; y < GlWindowHeight; ++y)
        for (int x = 0; x < GlWindowWidth; ++x)
        {
            const bool on = ReadBackPixel(x, y) != Black;
            lit += on;
            outside += on && !label.Contains(x, y) && !big.Contains(x, y);
        }
    EXPECT_LT(0, lit);
    EXPECT_EQ(0, outside);
    EXPECT_EQ(Red, ReadBackPixel(34, 74));
}

TEST_F(UiGlTest, TheDrawPassLeavesTheStateItFoundAlsoWhenAWidgetFails)
{
    Read(Quad("Texture", "Back", "resource='Red'", {0, 0, 10, 10}));
    SetPixelProjection();
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_FOG);
    glMatrixMode(GL_PROJECTION);
    glScalef(0.5f, 0.5f, 1);
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(1, 2, 3);
    const GlState before = GlState::Read();
    root->Draw();
    EXPECT_TRUE(before == GlState::Read());

    Ui::FrameModel* const model = new Ui::FrameModel("Failing", &lua);
    root->AddChild(new Ui::FrameController(model, new FailingView(model), &events, root.get()));
    EXPECT_THROW(root->Draw(), std::runtime_error);
    EXPECT_TRUE(before == GlState::Read());
    glDisable(GL_FOG);
}

TEST_F(UiGlTest, AStatesInterfaceDrawsTakesClicksAndShowsItsErrors)
{
    WriteTextFile(
        "Data/Root.xml",
        "<MenuData>"
        "<Resource type='Texture' file='Red.bmp' name='Red'/>"
        "<Resource type='Texture' file='Green.bmp' name='Green'/>"
        "<Resource type='Font' file='Font.xml' name='Font'/>"
        "<Ui>" +
            Quad("Texture", "Button", "resource='Red' mouseButtonHandler='true'", {10, 10, 30, 30},
                 "<Scripts><OnLoad>clicks = 0</OnLoad>"
                 "<OnClick>clicks = clicks + 1</OnClick></Scripts>") +
            Quad("Texture", "Broken", "resource='Green' mouseButtonHandler='true'",
                 {60, 10, 30, 30}, "<Scripts><OnClick>error('boom')</OnClick></Scripts>") +
            Quad("Frame", "ErrorMessageWindow", "visible='false'", {0, 80, 128, 40},
                 "<Text name='ErrorMessageText' font='Font' text='A'/>") +
            "</Ui></MenuData>");
    Timer timer(15);
    Graph window;
    window.width = GlWindowWidth;
    window.height = GlWindowHeight;
    InterfaceState state(&timer, &window);
    state.Init();
    const std::chrono::steady_clock::time_point end =
        std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (state.IsLoading() && std::chrono::steady_clock::now() < end)
    {
        state.Tick();
        SDL_Delay(1);
    }
    ASSERT_FALSE(state.IsLoading());

    SetPixelProjection();
    state.Draw();
    EXPECT_EQ(Red, ReadBackPixel(20, 20));
    EXPECT_EQ(Green, ReadBackPixel(70, 20));
    EXPECT_EQ(Black, ReadBackPixel(4, 84));

    PushClick(20, 20);
    timer.steps = 1;
    state.Tick();
    EXPECT_EQ("1", LuaEval(state.Lua(), "clicks"));

    PushClick(70, 20);
    const std::string printed = OutputOf([&] { EXPECT_EQ(&state, state.Tick()); });
    EXPECT_NE(std::string::npos, printed.find("boom")) << printed;
    SetPixelProjection();
    state.Draw();
    EXPECT_EQ(0xFFFFFFu, ReadBackPixel(4, 84));
}
