#include "Ui/UiDataReader.h"

#include "Engine/DataReader.h"
#include "Engine/Settings.h"
#include "Graphics/Texture.h"
#include "Support/Capture.h"
#include "Support/LuaScript.h"
#include "Ui/AnimModel.h"
#include "Ui/AnimView.h"
#include "Ui/RegisterInterface.h"
#include "Ui/RepeatTextureView.h"
#include "Ui/SplitTextureView.h"
#include "Ui/TextView.h"
#include "Ui/UiFixture.h"

#include <gtest/gtest.h>

namespace
{

class UiDataReaderTest : public UiResourceTest
{
protected:
    void SetUp() override
    {
        UiResourceTest::SetUp();
        Ui::RegisterInterface();
    }

    // Reads the text as the children of a "Ui" element of the menu's group;
    // returns the error, or "no error".
    std::string Read(const std::string& ui)
    {
        WriteTextFile("Data/Root.xml", "<MenuData>\n<Ui>\n" + ui + "\n</Ui>\n</MenuData>");
        DataReader reader(&store, &events, &lua);
        reader.SetParent(root->AsParent());
        return ErrorOf([&] { reader.ReadFile("Data/Root.xml", "MenuData"); });
    }

    // What reading prints, the read required to succeed.
    std::string ReadOutput(const std::string& ui)
    {
        std::string error;
        const std::string output = OutputOf([&] { error = Read(ui); });
        EXPECT_EQ("no error", error);
        return output;
    }

    Ui::FrameController& Frame(const std::string& name)
    {
        Ui::FrameController* const frame = root->FindFrame(name);
        EXPECT_NE(nullptr, frame) << name;
        return frame ? *frame : *root;
    }

    Ui::FrameModel& ModelOf(const std::string& name) { return Frame(name).GetFrameModel(); }

    std::vector<std::string> ChildNames(const std::string& name)
    {
        std::vector<std::string> names;
        for (const Ui::FrameController* child : Frame(name).GetChildren())
            names.push_back(child->GetFrameModel().GetName());
        return names;
    }
};

using Names = std::vector<std::string>;

} // namespace

TEST_F(UiDataReaderTest, EachFrameTagBuildsItsModelViewAndHandlers)
{
    ASSERT_EQ("no error",
              Read("<Frame name='Menu' id='3' visible='FALSE' ignoreScale='true' "
                   "integerCoords='true' mouseButtonHandler='true' mouseMotionHandler='true' "
                   "keyboardInputHandler='true' eventHandler='true'>"
                   "  <Texture name='$ParentBack' resource='Solid' alphaMode='ADD'/>"
                   "  <SplitTexture name='$ParentBorder' resource='Solid'/>"
                   "  <RepeatTexture name='$ParentTiles' resource='Solid' texWidth='16' "
                   "texHeight='8'/>"
                   "  <Text name='$ParentTitle' font='Font' text='Hello' multiline='true'/>"
                   "  <Anim name='$ParentSpin' loop='true' reverse='true'>"
                   "    <AnimFrame resource='Solid' time='0.5'/><AnimFrame resource='Other'/>"
                   "  </Anim>"
                   "</Frame>"));
    const Ui::FrameModel& menu = ModelOf("Menu");
    EXPECT_EQ(3, menu.id);
    EXPECT_FALSE(menu.visible);
    EXPECT_TRUE(menu.ignoreScale);
    EXPECT_TRUE(menu.integerCoords);
    for (const Ui::HandlerType type : {Ui::HandlerType::MouseButton, Ui::HandlerType::MouseMotion,
                                       Ui::HandlerType::Keyboard, Ui::HandlerType::UserEvent})
        EXPECT_NE(nullptr, Frame("Menu").GetHandler(type));
    EXPECT_EQ((Names{"MenuBack", "MenuBorder", "MenuTiles", "MenuTitle", "MenuSpin"}),
              ChildNames("Menu"));
    EXPECT_EQ(&Frame("Menu"), ModelOf("MenuBack").relativeTo);

    EXPECT_TRUE(Frame("MenuBack").GetView<Ui::TextureView>()->paint.IsAdditive());
    EXPECT_NE(nullptr, Frame("MenuBorder").GetView<Ui::SplitTextureView>());
    const Ui::RepeatTextureView* const tiles = Frame("MenuTiles").GetView<Ui::RepeatTextureView>();
    ASSERT_NE(nullptr, tiles);
    EXPECT_EQ(16, tiles->tileWidth);
    EXPECT_EQ(8, tiles->tileHeight);
    const Ui::TextView* const title = Frame("MenuTitle").GetView<Ui::TextView>();
    ASSERT_NE(nullptr, title);
    EXPECT_EQ("Hello", title->GetText());
    EXPECT_EQ(title, root->GetTextView("MenuTitle"));
    EXPECT_EQ(nullptr, root->GetTextView("Menu"));
    const Ui::AnimModel* const spin = dynamic_cast<Ui::AnimModel*>(&ModelOf("MenuSpin"));
    ASSERT_NE(nullptr, spin);
    EXPECT_TRUE(spin->loop);
    EXPECT_TRUE(spin->reverse);
    EXPECT_EQ(2, spin->GetFrameCount());
    EXPECT_NE(nullptr, Frame("MenuSpin").GetView<Ui::AnimView>());

    // Every frame is a global table with its widget's methods.
    EXPECT_EQ("Hello", LuaEval(lua, "MenuTitle:GetText()"));
    EXPECT_EQ("16", LuaEval(lua, "MenuTiles:GetTexWidth()"));
}

TEST_F(UiDataReaderTest, PropertyTagsChangeTheCurrentFrame)
{
    ASSERT_EQ("no error",
              Read("<Frame name='A'><Size width='30' height='40'/><Size width='7'/></Frame>"
                   "<Frame name='B'><RelativeSize width='50'/><Offset x='12.7'/></Frame>"
                   "<Frame name='C' visible='maybe'>"
                   "  <Anchor point='CENTER' relativePoint='BOTTOM' relativeTo='A'>"
                   "    <Offset x='3' y='4'/>"
                   "  </Anchor>"
                   "</Frame>"
                   "<Anim name='D'><AnimFrame resource='Solid' time='soon'/></Anim>"));
    EXPECT_EQ(7, ModelOf("A").width);
    EXPECT_EQ(0, ModelOf("A").height);
    EXPECT_FLOAT_EQ(50.0f, ModelOf("B").relativeWidth);
    EXPECT_FLOAT_EQ(-1.0f, ModelOf("B").relativeHeight);
    EXPECT_FLOAT_EQ(12.0f, ModelOf("B").offsetX);
    EXPECT_FLOAT_EQ(0.0f, ModelOf("B").offsetY);
    const Ui::FrameModel& c = ModelOf("C");
    EXPECT_TRUE(c.visible);
    EXPECT_EQ(Ui::CENTER, c.point);
    EXPECT_EQ(Ui::BOTTOM, c.relativePoint);
    EXPECT_EQ(&Frame("A"), c.relativeTo);
    EXPECT_FLOAT_EQ(3.0f, c.offsetX);
    EXPECT_FLOAT_EQ(4.0f, c.offsetY);

    // An animation frame whose time is no number lasts a second.
    Ui::AnimModel& d = dynamic_cast<Ui::AnimModel&>(ModelOf("D"));
    StepSeconds = 0.5f;
    d.Play();
    root->Update(StepSeconds);
    EXPECT_TRUE(d.IsPlaying());
    root->Update(StepSeconds);
    EXPECT_FALSE(d.IsPlaying());
}

TEST_F(UiDataReaderTest, ColorGoesToTheWidgetsAndAlphaToTheFrame)
{
    ASSERT_EQ("no error", Read("<Text name='T' font='Font'><Color red='0.5' alpha='0.25'/></Text>"
                               "<Texture name='X' resource='Solid'><Color green='0'/></Texture>"
                               "<Frame name='F'><Color red='0'/></Frame>"));
    EXPECT_EQ(Color(0.5f, 1, 1), Frame("T").GetView<Ui::TextView>()->paint.color);
    EXPECT_FLOAT_EQ(0.25f, ModelOf("T").alpha);
    EXPECT_EQ(Color(1, 0, 1), Frame("X").GetView<Ui::TextureView>()->paint.color);
    EXPECT_FLOAT_EQ(1.0f, ModelOf("X").alpha);
}

TEST_F(UiDataReaderTest, ScriptsAreStoredForTheFrameOrItsHandlers)
{
    const std::string output =
        ReadOutput("<Frame name='Button' mouseButtonHandler='true'>\n"
                   "  <Scripts>\n"
                   "    <OnLoad><![CDATA[-- a comment\nloaded = self:GetName()]]></OnLoad>\n"
                   "    <OnClick>clicked = 1</OnClick>\n"
                   "    <OnUpdate/>\n"
                   "    <OnKeyPress>never = 1</OnKeyPress>\n"
                   "  </Scripts>\n"
                   "</Frame>");
    EXPECT_EQ("Unknown XML tag 'OnKeyPress', in file 'Data/Root.xml' line 9\n", output);
    EXPECT_EQ("-- a comment\nloaded = self:GetName()", ModelOf("Button").onLoad);
    ASSERT_NE(nullptr, Frame("Button").GetScript("OnClick"));
    EXPECT_EQ("clicked = 1", *Frame("Button").GetScript("OnClick"));
    EXPECT_EQ("nil", LuaEval(lua, "loaded"));
    root->RunOnLoad();
    EXPECT_EQ("Button", LuaEval(lua, "loaded"));
}

TEST_F(UiDataReaderTest, SplitAndAnimFrameCountOnlyOnTheirKinds)
{
    const std::string output = ReadOutput(
        "<SplitTexture name='S' resource='Solid'><Split left='2' top='3'/></SplitTexture>"
        "<Frame name='F'><Split left='2'/><AnimFrame resource='Solid'/></Frame>");
    EXPECT_EQ("", output);
    Texture* const texture = store.GetTexture("Solid", true);
    texture->width = texture->height = 16;
    Ui::SplitTextureView::Grid grid;
    ASSERT_TRUE(Frame("S").GetView<Ui::SplitTextureView>()->GetGrid(grid));
    EXPECT_FLOAT_EQ(2.0f / 16, grid.u[1]);
    EXPECT_FLOAT_EQ(0.0f, grid.u[2]);
    EXPECT_FLOAT_EQ(3.0f / 16, grid.v[1]);
    EXPECT_FLOAT_EQ(1.0f / 16, grid.v[2]);
}

TEST_F(UiDataReaderTest, TemplatesAreBuiltByTheInstancesTagWithTheTemplatesChildrenFirst)
{
    ASSERT_EQ("no error", Read("<Frame name='Button' template='false' visible='false'>"
                               "  <Size width='10' height='10'/>"
                               "  <Text name='$ParentLabel' font='Font'/>"
                               "</Frame>"
                               "<Texture name='Ok' inherits='Button' resource='Solid'>"
                               "  <Size width='50'/>"
                               "</Texture>"
                               "<Frame name='Cancel' inherits='Button' visible='true'/>"));
    EXPECT_EQ((Names{"Ok", "Cancel"}), ChildNames("UiRoot"));
    EXPECT_NE(nullptr, Frame("Ok").GetView<Ui::TextureView>());
    EXPECT_FALSE(ModelOf("Ok").visible);
    EXPECT_EQ(50, ModelOf("Ok").width);
    EXPECT_EQ(0, ModelOf("Ok").height);
    EXPECT_TRUE(ModelOf("Cancel").visible);
    EXPECT_EQ(10, ModelOf("Cancel").width);
    EXPECT_EQ((Names{"OkLabel"}), ChildNames("Ok"));
    EXPECT_EQ((Names{"CancelLabel"}), ChildNames("Cancel"));
}

TEST_F(UiDataReaderTest, TemplatesLiveAsLongAsTheirReader)
{
    WriteTextFile("Data/Parts.xml", "<Parts><Frame name='$ParentPart' inherits='T'/></Parts>");
    ASSERT_EQ("no error", Read("<Frame name='T' template='1'><Size width='5'/></Frame>"
                               "<Frame name='Holder'><Include file='Parts.xml' type='Parts'/>"
                               "</Frame>"));
    EXPECT_EQ(5, ModelOf("HolderPart").width);

    // Another "Ui" element has a reader of its own.
    const std::string error = Read("<Frame name='Late' inherits='T'/>");
    EXPECT_TRUE(EndsWith(error, "Template 'T' not found! Used in 'Frame' element!")) << error;
    EXPECT_EQ(nullptr, root->FindFrame("Late"));
}

TEST_F(UiDataReaderTest, ParentNamesAndAnchors)
{
    ASSERT_EQ("no error",
              Read("<Frame name='Menu'>"
                   "  <Frame name='$ParentButton'>"
                   "    <Anchor point='TOP' relativeTo='$ParentTitle'/>"
                   "  </Frame>"
                   "  <Frame name='$Parent$Parent'>"
                   "    <Anchor point='TOP' relativeTo='$ParentButton'/>"
                   "  </Frame>"
                   "  <Frame name='$ParentTitle'/>"
                   "  <Frame name='Plain$Parent'/>"
                   "</Frame>"
                   "<Frame name='Top'><Anchor point='LEFT' relativeTo='$ParentButton'/></Frame>"));
    EXPECT_EQ((Names{"MenuButton", "Menu$Parent", "MenuTitle", "Plain$Parent"}),
              ChildNames("Menu"));
    // A frame defined further down is not found yet.
    EXPECT_EQ(&Frame("Menu"), ModelOf("MenuButton").relativeTo);
    EXPECT_EQ(&Frame("MenuButton"), ModelOf("Menu$Parent").relativeTo);
    // Under the root, "$Parent" stands for "UiRoot".
    EXPECT_EQ(root.get(), ModelOf("Top").relativeTo);
    EXPECT_EQ(Ui::LEFT, ModelOf("Top").point);

    EXPECT_EQ("MenuX", Ui::UiDataReader::ResolveName(&Frame("Menu"), "$ParentX"));
    EXPECT_EQ("a$ParentX", Ui::UiDataReader::ResolveName(&Frame("Menu"), "a$ParentX"));
    // Without a parent there is no full name.
    EXPECT_EQ("", Ui::UiDataReader::ResolveName(nullptr, "$ParentX"));
    EXPECT_EQ("", Ui::UiDataReader::ResolveName(nullptr, "Plain"));
}

namespace
{

// Takes over the place of another reader where the definition has a
// "HandOver" element, and notes the current frame just after.
class HandingOverReader : public Ui::UiDataReader
{
public:
    HandingOverReader(DataStore& store, EventDispatcher& events, LuaState& lua,
                      Ui::FrameController& root, const DataReader& other)
        : UiDataReader(&store, &events, &lua, root), other(other)
    {
    }

    bool HandleTag(const TiXmlElement* element, const std::string& lowerTag) override
    {
        if (lowerTag != "handover")
            return UiDataReader::HandleTag(element, lowerTag);
        InheritContext(other);
        currentAfterHandOver = GetCurrentFrame();
        return true;
    }

    const DataReader& other;
    const Ui::FrameController* currentAfterHandOver = nullptr;
};

} // namespace

TEST_F(UiDataReaderTest, TakingOverAPlaceMakesTheRootFrameCurrent)
{
    WriteTextFile("Data/Ui.xml", "<Ui><Frame name='A'><HandOver/><Frame name='B'/></Frame>"
                                 "<Frame name='C'/></Ui>");
    const DataReader other(&store, &events, &lua);
    HandingOverReader reader(store, events, lua, *root, other);
    ASSERT_EQ("no error", ErrorOf([&] { reader.ReadFile("Data/Ui.xml", "Ui"); }));
    EXPECT_EQ(root.get(), reader.currentAfterHandOver);
    EXPECT_EQ((Names{"A", "B", "C"}), ChildNames("UiRoot"));
    EXPECT_EQ(Names{}, ChildNames("A"));
    EXPECT_EQ(root.get(), reader.GetCurrentFrame());
}

TEST_F(UiDataReaderTest, PointNames)
{
    const struct
    {
        const char* name;
        Ui::FramePoint point;
    } cases[] = {{"TOPLEFT", Ui::TOPLEFT},
                 {"TOPRIGHT", Ui::TOPRIGHT},
                 {"BOTTOMLEFT", Ui::BOTTOMLEFT},
                 {"BOTTOMRIGHT", Ui::BOTTOMRIGHT},
                 {"TOP", Ui::TOP},
                 {"LEFT", Ui::LEFT},
                 {"RIGHT", Ui::RIGHT},
                 {"BOTTOM", Ui::BOTTOM},
                 {"CENTER", Ui::CENTER}};
    for (const auto& c : cases)
        EXPECT_EQ(c.point, Ui::UiDataReader::ParsePoint(c.name)) << c.name;
    Ui::FramePoint point = Ui::CENTER;
    EXPECT_EQ("Unknown point 'Top'\n",
              OutputOf([&] { point = Ui::UiDataReader::ParsePoint("Top"); }));
    EXPECT_EQ(Ui::TOPLEFT, point);
}

TEST_F(UiDataReaderTest, OtherTagsGoToTheDataReader)
{
    WriteTextFile("Data/Scripts/ui.lua", "fromLua = 'ran'");
    const std::string output = ReadOutput("<Resource type='Texture' file='Textures/New.bmp' "
                                          "name='New'/>"
                                          "<Lua file='Scripts/ui.lua'/>"
                                          "<Frame name='Outer'><Ui><Frame name='Inner'/></Ui>"
                                          "<Blink/></Frame>");
    EXPECT_EQ("Unknown XML tag 'Blink', in file 'Data/Root.xml' line 3\n", output);
    EXPECT_EQ("ran", LuaEval(lua, "fromLua"));
    EXPECT_NE(nullptr, store.Find("New", true));
    // A nested "Ui" builds under the state's root, not the current frame.
    EXPECT_EQ((Names{"Outer", "Inner"}), ChildNames("UiRoot"));
}

TEST_F(UiDataReaderTest, MissingAttributesAndResourcesFail)
{
    const struct
    {
        const char* ui;
        const char* message;
    } cases[] = {
        {"<Frame/>", "Missing attribute 'name'"},
        {"<Frame template='1'/>", "Missing attribute 'name'"},
        {"<Texture name='F'/>", "Missing attribute 'resource'"},
        {"<Text name='F'/>", "Missing attribute 'font'"},
        {"<RepeatTexture name='F' resource='Solid' texWidth='4'/>",
         "Missing attribute 'texHeight'"},
        {"<Frame name='F'><Anchor/></Frame>", "Missing attribute 'point'"},
        {"<Anim name='F'><AnimFrame/></Anim>", "Missing attribute 'resource'"},
        {"<Texture name='F' resource='Nope'/>", "Missing resource: 'Nope'"},
        {"<Text name='F' font='Solid'/>", "Missing resource: 'Solid'"},
        {"<Frame name='F' inherits='Nope'/>",
         "Template 'Nope' not found! Used in 'Frame' element!"},
    };
    for (const auto& c : cases)
    {
        const std::string error = Read(c.ui);
        EXPECT_NE(std::string::npos, error.find(c.message)) << c.ui << "\n" << error;
        EXPECT_EQ(0u, error.find("Error while reading file: 'Data/Root.xml'")) << error;
        EXPECT_EQ(nullptr, root->FindFrame("F")) << c.ui;
        EXPECT_EQ("nil", LuaEval(lua, "F and next(F)")) << c.ui;
    }
}

// Definitions that would build without end, or more than any interface has,
// end with an error instead of a full stack or memory.
TEST_F(UiDataReaderTest, RunawayDefinitionsAreRefused)
{
    std::string deepFrames;
    for (int i = 0; i < 20000; ++i)
        deepFrames += "<Frame name='$ParentF'>";
    // Six generations of anchors, each inheriting ten of the one before.
    std::string generations = "<Anchor name='T0' template='1' point='TOP'/>";
    for (int i = 1; i <= 6; ++i)
    {
        generations += "<Anchor name='T" + std::to_string(i) + "' template='1' point='TOP'>";
        for (int child = 0; child < 10; ++child)
            generations += "<Anchor point='TOP' inherits='T" + std::to_string(i - 1) + "'/>";
        generations += "</Anchor>";
    }
    // Frames of one read count together, also those of a nested "Ui".
    std::string children;
    for (int i = 0; i < 6000; ++i)
        children += "<Frame name='$ParentX'/>";
    const std::string manyFrames =
        "<Ui><Frame name='G'>" + children + "</Frame></Ui><Frame name='F'>" + children + "</Frame>";
    const struct
    {
        std::string ui;
        const char* message;
    } cases[] = {
        {deepFrames, "XML parsing error 'elements nested deeper than 256 at line 3'"},
        {"<Frame name='T' template='1'><Frame name='$ParentX' inherits='T'/></Frame>"
         "<Frame name='F' inherits='T'/>",
         "Elements nested deeper than 256 through includes and templates"},
        {"<Anchor name='A' template='1' point='TOP'><Anchor point='TOP' inherits='A'/></Anchor>"
         "<Frame name='F'><Anchor point='TOP' inherits='A'/></Frame>",
         "Elements nested deeper than 256 through includes and templates"},
        {"<Frame name='F'><Include file='Root.xml' type='MenuData'/></Frame>",
         "Include cycle: 'Data/Root.xml' is already being read (Data/Root.xml -> Data/Root.xml)"},
        {generations + "<Frame name='F'><Anchor point='TOP' inherits='T6'/></Frame>",
         "Templates build more than 100000 elements in:\nData/Root.xml"},
        {manyFrames, "The interface builds more than 10000 frames in:\nData/Root.xml, line 3"},
    };
    for (const auto& c : cases)
    {
        const std::string error = Read(c.ui);
        EXPECT_NE(std::string::npos, error.find(c.message)) << c.ui.substr(0, 200) << "\n"
                                                            << error.substr(0, 400);
        EXPECT_EQ(nullptr, root->FindFrame("F"));
    }
    const std::string shallower = generations.substr(0, generations.find("<Anchor name='T5'"));
    EXPECT_EQ("no error", Read(shallower + "<Frame name='F'><Anchor point='TOP' inherits='T4'/>"
                                           "</Frame>"));
}

// A frame template of that many elements, all on one line.
std::string FrameTemplate(const std::string& name, int elements)
{
    std::string text = "<Frame name='" + name + "' template='1'>";
    for (int i = 1; i < elements; ++i)
        text += "<Size/>";
    return text + "</Frame>";
}

// Stored templates stay to the end of the read, so one read, with the files
// it includes and its nested "Ui" readers, stores and builds a bounded number
// of template elements; the copy past the bound is refused before it is made.
TEST_F(UiDataReaderTest, TemplateElementsAreCountedOverTheWholeRead)
{
    const std::string inParts = "<Include file='Parts.xml' type='Parts'/>";
    const std::string stored = "The templates stored hold more than 100000 elements in:\n";
    const std::string built = "Templates build more than 100000 elements in:\n";
    const struct
    {
        const char* name;
        std::string ui;
        std::string parts;   // the children of Data/Parts.xml's root
        std::string message; // empty when the read succeeds
    } cases[] = {
        {"a template of the most elements", FrameTemplate("T", 100000), "", ""},
        {"a template of one element more", FrameTemplate("T", 100001), "",
         stored + "Data/Root.xml, line 3"},
        {"the most elements in two files", FrameTemplate("T", 50000) + inParts,
         FrameTemplate("U", 50000), ""},
        {"one element more in the included file", FrameTemplate("T", 50000) + inParts,
         FrameTemplate("U", 50001), stored + "Data/Parts.xml, line 1"},
        {"one element more in a nested Ui",
         FrameTemplate("T", 50000) + "\n<Ui>" + FrameTemplate("U", 50001) + "</Ui>", "",
         stored + "Data/Root.xml, line 4"},
        {"built by the outer reader and a nested Ui",
         FrameTemplate("T", 40000) +
             "<Frame name='A' inherits='T'/><Frame name='B' inherits='T'/>"
             "\n<Ui>" +
             FrameTemplate("U", 20001) + "<Frame name='C' inherits='U'/></Ui>",
         "", built + "Data/Root.xml, line 4"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        WriteTextFile("Data/Parts.xml", "<Parts>" + c.parts + "</Parts>");
        const std::string error = Read(c.ui);
        if (c.message.empty())
        {
            EXPECT_EQ("no error", error.substr(0, 400));
            continue;
        }
        EXPECT_TRUE(EndsWith(error, c.message)) << error.substr(0, 400);
        EXPECT_EQ(0u, error.find("Error while reading file: 'Data/Root.xml'")) << error;
    }
}

TEST_F(UiDataReaderTest, AFrameWhoseReadingFailsIsDeletedWithItsHandlers)
{
    ASSERT_EQ("no error", Read("<Frame name='Keep'/>"));
    const std::string error = Read("<Frame name='Broken' keyboardInputHandler='true'>"
                                   "  <Scripts><OnKeyPress>pressed = true</OnKeyPress></Scripts>"
                                   "  <Frame name='$ParentChild' keyboardInputHandler='true'/>"
                                   "  <Texture name='$ParentBad' resource='Nope'/>"
                                   "</Frame>");
    EXPECT_NE(std::string::npos, error.find("Missing resource: 'Nope'")) << error;
    EXPECT_EQ((Names{"Keep"}), ChildNames("UiRoot"));
    for (const char* name : {"Broken", "BrokenChild", "BrokenBad"})
        EXPECT_EQ("nil", LuaEval(lua, std::string("next(") + name + ")")) << name;

    SDL_Event key = {};
    key.type = SDL_KEYDOWN;
    ASSERT_EQ(0, SDL_PushEvent(&key));
    events.Poll();
    EXPECT_EQ("nil", LuaEval(lua, "pressed"));
}

TEST_F(UiDataReaderTest, ATextureOfAnotherKindOrNoNameIsLeftOut)
{
    const std::string output = ReadOutput("<Texture name='Sky' resource='Sky'/>"
                                          "<Anim name='Blank'><AnimFrame resource=''/></Anim>"
                                          "<Text name='Mute' font=''/>");
    EXPECT_EQ("Missing resource: 'Sky'\nMissing resource: ''\nMissing resource: ''\n", output);
    // Drawing them touches no resource: none draws anything.
    LayOut();
    EXPECT_EQ(1, dynamic_cast<Ui::AnimModel&>(ModelOf("Blank")).GetFrameCount());
}

TEST_F(UiDataReaderTest, AnInterfaceNeedsItsRootFrame)
{
    WriteTextFile("Data/Root.xml", "<MenuData><Ui><Frame name='F'/></Ui></MenuData>");
    DataReader orphan(&store, &events, &lua);
    const std::string error = ErrorOf([&] { orphan.ReadFile("Data/Root.xml", "MenuData"); });
    EXPECT_TRUE(EndsWith(error, "Can't find frame 'UiRoot' to read the interface into!")) << error;

    ASSERT_EQ("no error", Read("<Frame name='ShipWindow1Captain'/>"));
    EXPECT_EQ(&Frame("ShipWindow1Captain"),
              &Ui::UiDataReader::RequireFrame(*root, "ShipWindow1Captain"));
    EXPECT_EQ("Can't find frame 'ShipWindow2Captain' to read the interface into!",
              ErrorOf([&] { Ui::UiDataReader::RequireFrame(*root, "ShipWindow2Captain"); }));
}
