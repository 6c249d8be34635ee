#include "Engine/Settings.h"
#include "Graphics/Font.h"
#include "Graphics/Texture.h"
#include "Support/Capture.h"
#include "Support/LuaScript.h"
#include "Support/ReadyResources.h"
#include "Ui/AnimModel.h"
#include "Ui/AnimView.h"
#include "Ui/RepeatTextureView.h"
#include "Ui/SplitTextureView.h"
#include "Ui/TextView.h"
#include "Ui/UiFixture.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{

class WidgetTest : public UiResourceTest
{
protected:
    // A text frame 100 pixels wide at (0, 0).
    Ui::TextView& AddText(const std::string& name, const std::string& text)
    {
        Ui::FrameModel* const model = new Ui::FrameModel(name, &lua);
        Ui::TextView* const view = new Ui::TextView(model, store.GetFont("Font", true), text);
        model->width = 100;
        Attach(model, view);
        return *view;
    }

    template <class View>
    View& AddTexture(const std::string& name, int width, int height)
    {
        Ui::FrameModel* const model = new Ui::FrameModel(name, &lua);
        View* const view = new View(model, texture);
        model->width = width;
        model->height = height;
        Attach(model, view);
        return *view;
    }

    Ui::AnimModel& AddAnim(const std::string& name, std::initializer_list<float> durations)
    {
        Ui::AnimModel* const model = new Ui::AnimModel(name, &lua);
        Ui::AnimView* const view = new Ui::AnimView(model);
        for (const float seconds : durations)
        {
            model->AddFrame(seconds);
            view->AddFrame(texture);
        }
        Attach(model, view);
        return *model;
    }

    std::string Eval(const std::string& expression) { return LuaEval(lua, expression); }

    Texture* const texture = store.GetTexture("Solid", true);
};

// A ready font whose glyphs are 10 pixels wide and 12 high. It records the
// texts it is asked to prepare and, like a font that cannot render them,
// prepares nothing: no draw goes on to OpenGL.
class RecordingFont : public Font
{
public:
    RecordingFont() : Font("Fonts/Recording") {}

    void Load() override {}
    float Draw(float, float, float, const PreRender*) override { return 0.0f; }
    void GetTextSize(const std::string& text, int& width, int& height) const override
    {
        width = 10 * static_cast<int>(text.size());
        height = 12;
    }
    int GetLineHeight() const override { return 12; }
    PreRender* CreatePreRender(const std::string& text) const override
    {
        prepared.push_back(text);
        return nullptr;
    }
    void DeletePreRender(PreRender*) const override {}

    mutable std::vector<std::string> prepared;
};

} // namespace

TEST_F(WidgetTest, WrapBreaksAfterTheLastSpaceThatFits)
{
    const struct
    {
        const char* text;
        const char* wrapped;
    } cases[] = {
        {"aaa bbb ccc", "aaa bbb \nccc"},
        {"aaa bbb", "aaa bbb"},
        {"wwwwwwwwwwww bb", "wwwwwwwwwwww\n bb"},
        {"aa\nbbbbbbbbbbbb", "aa\nbbbbbbbbbbbb"},
        {"aaaa bbbb cccc aaaa", "aaaa bbbb \ncccc aaaa"},
        {"", ""},
    };
    Ui::TextView& view = AddText("Text", "");
    view.SetMultiline(true);
    LayOut();
    for (const auto& c : cases)
    {
        view.SetText(c.text);
        view.WrapText();
        EXPECT_EQ(c.wrapped, view.GetText()) << c.text;
    }
}

TEST_F(WidgetTest, WrapNeedsMultilineAndAWidth)
{
    Ui::TextView& view = AddText("Text", "aaa bbb ccc");
    LayOut();
    view.WrapText();
    EXPECT_EQ("aaa bbb ccc", view.GetText());

    view.SetMultiline(true);
    Model(root->FindFrame("Text")).width = 0;
    LayOut();
    view.WrapText();
    EXPECT_EQ("aaa bbb ccc", view.GetText());

    // The measure is scaled: at scale 2 only one word fits in 100 pixels.
    Model(root->FindFrame("Text")).width = 50;
    Model(root->FindFrame("Text")).scale = 2;
    LayOut();
    view.WrapText();
    EXPECT_EQ("aaa \nbbb \nccc", view.GetText());
}

TEST_F(WidgetTest, TextMethods)
{
    Ui::TextView& view = AddText("Text", "AB");
    EXPECT_EQ("AB", Eval("Text:GetText()"));
    EXPECT_EQ("20", Eval("select(1, Text:GetTextSize())"));
    EXPECT_EQ("12", Eval("select(2, Text:GetTextSize())"));
    lua.DoString("Text:SetText(42)");
    EXPECT_EQ("42", view.GetText());
    lua.DoString("Text:SetText({})");
    EXPECT_EQ("", view.GetText());
    lua.DoString("Text:SetColor(0.5, 0.25, 0) Text:SetAlphaMode('ADD')");
    EXPECT_EQ(Color(0.5f, 0.25f, 0.0f), view.paint.color);
    EXPECT_TRUE(view.paint.IsAdditive());
    lua.DoString("Text:SetAlphaMode('')");
    EXPECT_FALSE(view.paint.IsAdditive());

    for (const char* call : {"Text:SetColor(1, 1)", "Text:SetText()", "Text:SetAlphaMode()"})
        EXPECT_TRUE(EndsWith(LuaFailure(lua, call), "required")) << call;
    AddFrame("Plain");
    lua.DoString("Plain.SetText = Text.SetText");
    EXPECT_TRUE(EndsWith(LuaFailure(lua, "Plain:SetText('x')"), "Invalid Lua object!"));
}

// A script may set a text every frame; each is measured and rendered whole.
TEST_F(WidgetTest, AnOverlongTextIsCutAtASequenceStartWithOneWarning)
{
    const std::string a4094(4094, 'a');
    const struct
    {
        const char* name;
        std::string text;
        std::string kept;
    } cases[] = {
        {"at the limit", a4094 + "aa", a4094 + "aa"},
        {"one byte past it", a4094 + "aaa", a4094 + "aa"},
        {"a two-byte letter across it", a4094 + "a\xC3\xA9", a4094 + "a"},
        {"a three-byte letter across it", a4094 + "\xE2\x82\xAC", a4094},
        {"a letter ending at it", a4094 + "\xC3\xA9" + "a", a4094 + "\xC3\xA9"},
        {"a megabyte", std::string(1 << 20, 'b'), std::string(4096, 'b')},
    };
    Ui::TextView& view = AddText("Long", "");
    std::string output;
    for (const auto& c : cases)
    {
        output += OutputOf([&] { view.SetText(c.text); });
        EXPECT_EQ(c.kept, view.GetText()) << c.name;
    }
    EXPECT_EQ("Warning: the text of frame 'Long' is cut to 4096 of its 4097 bytes\n", output);

    // A text from the interface's data too.
    output = OutputOf([&] { AddText("FromData", std::string(5000, 'c')); });
    EXPECT_EQ("4096", Eval("#FromData:GetText()"));
    EXPECT_EQ("Warning: the text of frame 'FromData' is cut to 4096 of its 5000 bytes\n", output);
}

// A script may set the same text every frame: the font works only when the
// text, the frame's width or its scale changed since the last preparation.
TEST_F(WidgetTest, ATextSetAgainIsPreparedAgainOnlyAfterAChange)
{
    RecordingFont* const font = new RecordingFont;
    PublishReady(store, font);
    Ui::FrameModel* const model = new Ui::FrameModel("Note", &lua);
    Ui::TextView* const view = new Ui::TextView(model, font, "aaa bbb ccc");
    view->SetMultiline(true);
    model->width = 100;
    Attach(model, view);
    const auto setAndDraw = [&](const std::string& text)
    {
        view->SetText(text);
        LayOut();
    };
    using Texts = std::vector<std::string>;

    LayOut();
    EXPECT_EQ((Texts{"aaa bbb \nccc"}), font->prepared);
    for (int frame = 0; frame < 3; ++frame)
        setAndDraw("aaa bbb ccc");
    EXPECT_EQ(1u, font->prepared.size()) << "nothing changed";
    EXPECT_EQ("aaa bbb \nccc", view->GetText());

    model->width = 50;
    setAndDraw("aaa bbb ccc");
    EXPECT_EQ((Texts{"aaa bbb \nccc", "aaa \nbbb \nccc"}), font->prepared);
    EXPECT_EQ("aaa \nbbb \nccc", view->GetText());

    model->scale = 2;
    setAndDraw("aaa bbb ccc");
    EXPECT_EQ(3u, font->prepared.size()) << "the scale changed";
    setAndDraw("aaa bbb ccc");
    EXPECT_EQ(3u, font->prepared.size());

    setAndDraw("aaa");
    EXPECT_EQ("aaa", font->prepared.back());
    setAndDraw("aaa bbb ccc");
    EXPECT_EQ(5u, font->prepared.size()) << "another text came between";
}

TEST_F(WidgetTest, TextureCoordinatesByCornerAndEdge)
{
    Ui::TextureView& view = AddTexture<Ui::TextureView>("Image", 10, 10);
    lua.DoString("Image:SetTextureCoordinate('TOP', 0.5) "
                 "Image:SetTextureCoordinate('RIGHT', 0.75) "
                 "Image:SetTextureCoordinate('BOTTOMLEFT', 0.125, 0.875) "
                 "Image:SetTextureCoordinate('CENTER', 9)");
    const struct
    {
        Ui::FramePoint corner;
        float u, v;
    } cases[] = {{Ui::TOPLEFT, 0, 0.5f},
                 {Ui::TOPRIGHT, 0.75f, 0.5f},
                 {Ui::BOTTOMLEFT, 0.125f, 0.875f},
                 {Ui::BOTTOMRIGHT, 0.75f, 1}};
    for (const auto& c : cases)
    {
        EXPECT_FLOAT_EQ(c.u, view.Corner(c.corner).u) << c.corner;
        EXPECT_FLOAT_EQ(c.v, view.Corner(c.corner).v) << c.corner;
    }
    EXPECT_TRUE(EndsWith(LuaFailure(lua, "Image:SetTextureCoordinate('TOPLEFT', 1)"),
                         "Too few arguments, 3 required"));
    EXPECT_TRUE(EndsWith(LuaFailure(lua, "Image:SetTextureCoordinate({}, 1)"),
                         "Argument 1 must be a string"));

    // The empty mode keeps a texture's blending.
    lua.DoString("Image:SetAlphaMode('ADD') Image:SetAlphaMode('')");
    EXPECT_TRUE(view.paint.IsAdditive());
    lua.DoString("Image:SetAlphaMode('BLEND')");
    EXPECT_FALSE(view.paint.IsAdditive());
}

TEST_F(WidgetTest, NineSliceCornersKeepTheirSizeTimesTheScale)
{
    texture->width = 32;
    texture->height = 32;
    Ui::SplitTextureView& view = AddTexture<Ui::SplitTextureView>("Panel", 100, 50);
    Ui::SplitTextureView::Grid grid;
    const auto expectGrid = [&](const Ui::SplitTextureView::Grid& expected)
    {
        LayOut();
        ASSERT_TRUE(view.GetGrid(grid));
        for (int i = 0; i < 4; ++i)
        {
            EXPECT_FLOAT_EQ(expected.x[i], grid.x[i]) << i;
            EXPECT_FLOAT_EQ(expected.y[i], grid.y[i]) << i;
            EXPECT_FLOAT_EQ(expected.u[i], grid.u[i]) << i;
            EXPECT_FLOAT_EQ(expected.v[i], grid.v[i]) << i;
        }
    };
    // The default lines lie at a quarter and three quarters of the texture.
    expectGrid({{0, 8, 92, 100}, {0, 8, 42, 50}, {0, 0.25f, 0.75f, 1}, {0, 0.25f, 0.75f, 1}});
    view.SetSplit(-5, 40, 4, 16);
    expectGrid({{0, 0, 100, 100}, {0, 4, 34, 50}, {0, 0, 1, 1}, {0, 0.125f, 0.5f, 1}});
    Model(root->FindFrame("Panel")).scale = 2;
    view.SetSplit(8, 24, 8, 24);
    expectGrid({{0, 16, 184, 200}, {0, 16, 84, 100}, {0, 0.25f, 0.75f, 1}, {0, 0.25f, 0.75f, 1}});

    texture->width = 0;
    EXPECT_FALSE(view.GetGrid(grid));
}

TEST_F(WidgetTest, TilesRepeatByTheirScaledSize)
{
    Ui::RepeatTextureView& view = AddTexture<Ui::RepeatTextureView>("Tiles", 32, 24);
    lua.DoString("Tiles:SetTexSize(16, 8)");
    Model(root->FindFrame("Tiles")).scale = 2;
    LayOut();
    float across = 0;
    float down = 0;
    ASSERT_TRUE(view.GetRepeats(across, down));
    EXPECT_FLOAT_EQ(2.0f, across);
    EXPECT_FLOAT_EQ(3.0f, down);
    EXPECT_EQ("16", Eval("Tiles:GetTexWidth()"));
    EXPECT_EQ("8", Eval("select(2, Tiles:GetTexSize())"));

    for (const char* size : {"Tiles:SetTexWidth(0)", "Tiles:SetTexWidth(4) Tiles:SetTexHeight(-1)"})
    {
        lua.DoString(size);
        EXPECT_FALSE(view.GetRepeats(across, down)) << size;
    }
    Model(root->FindFrame("Tiles")).scale = 0;
    lua.DoString("Tiles:SetTexSize(4, 4)");
    LayOut();
    EXPECT_FALSE(view.GetRepeats(across, down));
}

TEST_F(WidgetTest, AnAnimationStepsThroughItsFramesByTheFixedStep)
{
    StepSeconds = 0.015f;
    Ui::AnimModel& anim = AddAnim("Anim", {0.1f, 0.1f});
    struct Case
    {
        bool loop;
        int steps;
        int frame;
        bool playing;
    };
    const Case cases[] = {{false, 6, 0, true},   {false, 7, 1, true},   {false, 13, 1, true},
                          {false, 14, 1, false}, {false, 20, 1, false}, {true, 13, 1, true},
                          {true, 14, 0, true}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.loop << " " << c.steps);
        anim.loop = c.loop;
        anim.Play();
        for (int step = 0; step < c.steps; ++step)
            root->Update(StepSeconds);
        EXPECT_EQ(c.frame, anim.GetFrame());
        EXPECT_EQ(c.playing, anim.IsPlaying());
    }
}

TEST_F(WidgetTest, AnimationMethods)
{
    AddAnim("Anim", {0.1f, 0.1f, 0.1f});
    EXPECT_EQ("0", Eval("Anim:GetFrame()"));
    lua.DoString("Anim:SetReverse(true) Anim:SetLoop(1) Anim:Play()");
    EXPECT_EQ("2", Eval("Anim:GetFrame()"));
    EXPECT_EQ("true", Eval("Anim:GetLoop()"));
    EXPECT_EQ("true", Eval("Anim:IsPlaying()"));
    lua.DoString("Anim:Stop() Anim:SetFrame(3) Anim:SetFrame(-1)");
    EXPECT_EQ("2", Eval("Anim:GetFrame()"));
    EXPECT_EQ("false", Eval("Anim:IsPlaying()"));
    lua.DoString("Anim:SetFrame(1) Anim:SetReverse(nil)");
    EXPECT_EQ("1", Eval("Anim:GetFrame()"));
    EXPECT_EQ("false", Eval("Anim:GetReverse()"));
    EXPECT_TRUE(EndsWith(LuaFailure(lua, "Anim:SetFrame()"), "Too few arguments, 1 required"));
    AddFrame("Plain");
    lua.DoString("Plain.Play = Anim.Play");
    EXPECT_TRUE(EndsWith(LuaFailure(lua, "Plain:Play()"), "Invalid Lua object!"));

    // Continue on a fresh animation moves to the next frame at the first step.
    Ui::AnimModel& fresh = AddAnim("Fresh", {0.1f, 0.1f});
    fresh.Continue();
    root->Update(StepSeconds);
    EXPECT_EQ(1, fresh.GetFrame());
}

TEST_F(WidgetTest, AnimationsThatCannotRunStop)
{
    Ui::AnimModel& empty = AddAnim("Empty", {});
    Ui::AnimModel& timeless = AddAnim("Timeless", {0.0f, 0.0f});
    empty.loop = timeless.loop = true;
    empty.Continue();
    timeless.Play();
    root->Update(StepSeconds);
    EXPECT_FALSE(empty.IsPlaying());
    EXPECT_FALSE(timeless.IsPlaying());

    // Frames so short that adding one no longer changes the time left: a step
    // ends all the same, a loop going on and a single play at its end.
    StepSeconds = 0.015f;
    const struct
    {
        std::initializer_list<float> durations;
        bool loop;
        bool reverse;
        bool playing;
        int frame;
    } tiny[] = {
        {{1e-40f, 1e-40f}, true, false, true, -1},
        {{1e-12f}, true, false, true, 0},
        {{1e-40f, 1e-40f, 1e-40f}, true, true, true, -1},
        {{0.01f, 1e-12f, 1e-12f}, true, false, true, 0},
        {{1e-40f, 1e-40f}, false, false, false, 1},
        {{1e-12f, 1e-12f}, false, true, false, 0},
    };
    int count = 0;
    for (const auto& c : tiny)
    {
        SCOPED_TRACE(testing::Message() << "case " << count);
        Ui::AnimModel& anim = AddAnim("Tiny" + std::to_string(count++), c.durations);
        anim.loop = c.loop;
        anim.reverse = c.reverse;
        anim.Play();
        root->Update(StepSeconds);
        EXPECT_EQ(c.playing, anim.IsPlaying());
        if (c.frame >= 0)
        {
            EXPECT_EQ(c.frame, anim.GetFrame());
        }
        EXPECT_LT(anim.GetFrame(), anim.GetFrameCount());
    }

    // A hidden frame's animation stands still.
    Ui::AnimModel& hidden = AddAnim("Hidden", {0.01f, 0.01f});
    hidden.visible = false;
    hidden.Play();
    root->Update(StepSeconds);
    EXPECT_EQ(0, hidden.GetFrame());
}
