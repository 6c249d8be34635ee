#include "Ui/FrameModel.h"

#include "Engine/Error.h"
#include "Support/Capture.h"
#include "Support/LuaScript.h"
#include "Ui/MouseButtonHandler.h"
#include "Ui/UiFixture.h"

#include <gtest/gtest.h>

namespace
{

// The frame "Menu" under the root, with "MenuButton" inside it.
class FrameModelTest : public UiTest
{
protected:
    FrameModelTest() : menu(AddFrame("Menu")), button(AddFrame("MenuButton", menu)) {}

    std::string Eval(const std::string& expression) { return LuaEval(lua, expression); }

    // The Lua message of the failing text, after its location.
    std::string Failure(const std::string& text)
    {
        const std::string failure = LuaFailure(lua, text);
        const std::string::size_type end = failure.find("]:1: ");
        return end == std::string::npos ? failure : failure.substr(end + 5);
    }

    Ui::FrameController* const menu;
    Ui::FrameController* const button;
};

} // namespace

TEST_F(FrameModelTest, EachFrameIsAGlobalTableBoundToItsController)
{
    EXPECT_EQ("table", Eval("type(Menu)"));
    lua_getglobal(lua.GetState(), "Menu");
    EXPECT_EQ(menu, LuaState::GetThis<Ui::FrameController>(lua.GetState()));
    lua_settop(lua.GetState(), 0);
    EXPECT_EQ("MenuButton", Eval("MenuButton:GetName()"));
    EXPECT_EQ("true", Eval("MenuButton:GetParent() == Menu"));
    EXPECT_EQ("true", Eval("Menu:GetParent() == UiRoot"));
    EXPECT_EQ("nil", Eval("UiRoot:GetParent()"));
}

TEST_F(FrameModelTest, SettersAndGettersMeetTheModel)
{
    lua.DoString("Menu:SetId(7) Menu:SetPos(1.5, -2) Menu:SetSize(30, 40) "
                 "Menu:SetRelativeSize(50, -1) Menu:SetAlpha(0.25) Menu:SetScale(2)");
    const Ui::FrameModel& model = Model(menu);
    EXPECT_EQ(7, model.id);
    EXPECT_FLOAT_EQ(1.5f, model.offsetX);
    EXPECT_FLOAT_EQ(-2.0f, model.offsetY);
    EXPECT_EQ(30, model.width);
    EXPECT_EQ(40, model.height);
    EXPECT_FLOAT_EQ(50.0f, model.relativeWidth);
    EXPECT_FLOAT_EQ(-1.0f, model.relativeHeight);
    EXPECT_FLOAT_EQ(0.25f, model.alpha);
    EXPECT_FLOAT_EQ(2.0f, model.scale);

    const struct
    {
        const char* expression;
        const char* value;
    } cases[] = {{"Menu:GetId()", "7"},
                 {"select(1, Menu:GetPos())", "1.5"},
                 {"select(2, Menu:GetPos())", "-2"},
                 {"Menu:GetWidth()", "30"},
                 {"select(2, Menu:GetSize())", "40"},
                 {"select(1, Menu:GetRelativeSize())", "50"},
                 {"Menu:GetAlpha()", "0.25"},
                 {"Menu:GetScale()", "2"},
                 {"Menu:IsVisible()", "true"}};
    for (const auto& c : cases)
        EXPECT_EQ(c.value, Eval(c.expression)) << c.expression;

    lua.DoString("Menu:SetWidth(5) Menu:SetHeight('x')");
    EXPECT_EQ(5, model.width);
    EXPECT_EQ(0, model.height);
    EXPECT_EQ("5", Eval("Menu:GetWidth()"));
}

TEST_F(FrameModelTest, MethodsCheckTheirArgumentsAndTheirFrame)
{
    const struct
    {
        const char* call;
        const char* message;
    } cases[] = {
        {"Menu:SetId()", "Too few arguments, 1 required"},
        {"Menu:SetPos(1)", "Too few arguments, 2 required"},
        {"Menu:SetWidth()", "Too few arguments, 1 required"},
        {"Menu:SetHeight()", "Too few arguments, 1 required"},
        {"Menu:SetSize(1)", "Too few arguments, 2 required"},
        {"Menu:SetRelativeSize(1)", "Too few arguments, 2 required"},
        {"Menu:SetPoint('TOP', 'UiRoot')", "Too few arguments, 3 required"},
        {"Menu:SetAlpha()", "Too few arguments, 1 required"},
        {"Menu:SetScale()", "Too few arguments, 1 required"},
        {"Menu:SetScript('OnLoad')", "Too few arguments, 2 required"},
        {"Menu:GetScript()", "Too few arguments, 1 required"},
        {"Menu.GetName({})", "Invalid Lua object!"},
        {"Menu.Show(5)", "Invalid Lua object!"},
        {"Menu:SetPoint('TOP', 'Nowhere', 'TOP')", "Unknown parent frame Nowhere"},
        {"Menu:SetPoint({}, 'UiRoot', 'TOP')", "Argument 1 must be a string"},
        {"Menu:SetPoint('TOP', 'UiRoot', nil)", "Argument 3 must be a string"},
        {"Menu:SetScript('OnClick', 'x = 1')", "Unknown script: OnClick"},
        {"Menu:SetScript({}, 'x = 1')", "Unknown script: nil"},
        {"Menu:SetScript('OnLoad', {})", "Argument 2 must be a string"},
        {"Menu:GetScript(true)", "Unknown script: nil"},
        {"Menu:GetScript('OnKeyPress')", "Unknown script: OnKeyPress"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.message, Failure(c.call)) << c.call;
    EXPECT_EQ(Ui::TOPLEFT, Model(menu).point);
    EXPECT_EQ(root.get(), Model(menu).relativeTo);
}

TEST_F(FrameModelTest, SetPointAnchorsToAnyFrameByFullName)
{
    const std::string output =
        OutputOf([&] { lua.DoString("MenuButton:SetPoint('BOTTOMRIGHT', 'UiRoot', 'Middle')"); });
    EXPECT_EQ("Unknown point 'Middle'\n", output);
    EXPECT_EQ(Ui::BOTTOMRIGHT, Model(button).point);
    EXPECT_EQ(Ui::TOPLEFT, Model(button).relativePoint);
    EXPECT_EQ(root.get(), Model(button).relativeTo);

    lua.DoString("MenuButton:SetPoint('center', 'MenuButton', 'CENTER')");
    EXPECT_EQ(Ui::TOPLEFT, Model(button).point);
    EXPECT_EQ(button, Model(button).relativeTo);
}

TEST_F(FrameModelTest, SetPointNeedsTheRootInItsLuaState)
{
    LuaState other;
    Ui::FrameModel* const model = new Ui::FrameModel("Lone", &other);
    const Ui::FrameController lone(model, new Ui::FrameView(model), &events, nullptr);
    EXPECT_TRUE(EndsWith(LuaFailure(other, "Lone:SetPoint('TOP', 'Lone', 'TOP')"),
                         "UiRoot missing from lua state!"));
}

TEST_F(FrameModelTest, RunScriptResults)
{
    const struct
    {
        const char* code;
        bool result;
    } cases[] = {{"", false},
                 {"x = 1", true},
                 {"return", true},
                 {"return 1", true},
                 {"return '1'", true},
                 {"return 2, 0", true},
                 {"return true", false},
                 {"return 0", false},
                 {"return false", false},
                 {"return nil", false}};
    for (const auto& c : cases)
    {
        lua_pushinteger(lua.GetState(), 99);
        EXPECT_EQ(c.result, Model(menu).RunScript(c.code)) << c.code;
        EXPECT_EQ(1, lua_gettop(lua.GetState())) << c.code;
        lua_settop(lua.GetState(), 0);
    }
}

TEST_F(FrameModelTest, SelfIsTheFrameWhileItsScriptRunsAndComesBackAfter)
{
    Model(button).visible = false;
    Model(button).onShow = "inner = self:GetName()";
    Model(menu).RunScript("before = self:GetName() MenuButton:Show() after = self:GetName()");
    EXPECT_EQ("Menu", Eval("before"));
    EXPECT_EQ("MenuButton", Eval("inner"));
    EXPECT_EQ("Menu", Eval("after"));
    EXPECT_EQ("nil", Eval("self"));
}

TEST_F(FrameModelTest, AFailingScriptRestoresSelfAndTheStack)
{
    lua.DoString("self = 'outer'");
    lua_pushinteger(lua.GetState(), 99);
    const std::string failure = ErrorOf([&] { Model(menu).RunScript("error('broken')"); });
    EXPECT_NE(std::string::npos, failure.find("broken")) << failure;
    EXPECT_EQ(1, lua_gettop(lua.GetState()));
    lua_settop(lua.GetState(), 0);
    EXPECT_EQ("outer", Eval("self"));

    // A hook failing under a script fails that script, which gets its own self back.
    Model(button).visible = false;
    Model(button).onShow = "error('hook')";
    const std::string nested = ErrorOf(
        [&] {
            Model(menu).RunScript("ok = pcall(MenuButton.Show, MenuButton) seen = self:GetName()");
        });
    EXPECT_EQ("no error", nested);
    EXPECT_EQ("false", Eval("ok"));
    EXPECT_EQ("Menu", Eval("seen"));
    EXPECT_FALSE(Model(button).visible);
    EXPECT_EQ("outer", Eval("self"));
}

TEST_F(FrameModelTest, ShowAndHideRunTheirHooksOnlyOnAChange)
{
    lua.DoString("shown, hidden = 0, 0");
    Model(menu).onShow = "shown = shown + 1";
    Model(menu).onHide = "hidden = hidden + 1";
    lua.DoString("Menu:Show() Menu:Hide() Menu:Hide() Menu:Show() Menu:Show()");
    EXPECT_EQ("1", Eval("shown"));
    EXPECT_EQ("1", Eval("hidden"));

    // A frame inside a hidden parent still changes its own flag.
    Model(button).onShow = "buttonShown = true";
    lua.DoString("Menu:Hide() MenuButton:Hide() MenuButton:Show()");
    EXPECT_EQ("true", Eval("buttonShown"));
    EXPECT_EQ("true", Eval("MenuButton:IsVisible()"));
    EXPECT_EQ("false", Eval("Menu:IsVisible()"));
}

TEST_F(FrameModelTest, ScriptsAreSetAndReadByName)
{
    lua.DoString("Menu:SetScript('OnLoad', 'a = 1') Menu:SetScript('OnUpdate', 5) "
                 "Menu:SetScript('OnShow', 'b') Menu:SetScript('OnShow', nil)");
    EXPECT_EQ("a = 1", Model(menu).onLoad);
    EXPECT_EQ("5", Model(menu).onUpdate);
    EXPECT_EQ("", Model(menu).onShow);
    EXPECT_EQ("a = 1", Eval("Menu:GetScript('OnLoad')"));
    EXPECT_EQ("", Eval("Menu:GetScript('OnHide')"));
    // Names are compared exactly.
    EXPECT_EQ("Unknown script: onload", Failure("Menu:GetScript('onload')"));

    menu->AddHandler(new Ui::MouseButtonHandler(menu));
    lua.DoString("Menu:SetScript('OnClick', 'clicked = true')");
    EXPECT_EQ("clicked = true", Eval("Menu:GetScript('OnClick')"));
}

TEST_F(FrameModelTest, StopMovingRemovesEveryMovingHandler)
{
    lua.DoString("Menu:StartMoving() Menu:StartMoving()");
    ASSERT_NE(nullptr, menu->GetHandler(Ui::HandlerType::Moving));
    lua.DoString("Menu:StopMoving()");
    EXPECT_EQ(nullptr, menu->GetHandler(Ui::HandlerType::Moving));
}
