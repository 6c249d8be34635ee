#include "Ui/FrameController.h"

#include "Support/LuaScript.h"
#include "Ui/KeyboardInputHandler.h"
#include "Ui/MouseButtonHandler.h"
#include "Ui/UiFixture.h"

#include <gtest/gtest.h>

namespace
{

// Root
//   A (hidden)
//     A1
//   B
//     B1
//     B2
class FrameControllerTest : public UiTest
{
protected:
    FrameControllerTest()
        : a(AddFrame("A")), a1(AddFrame("A1", a)), b(AddFrame("B")), b1(AddFrame("B1", b)),
          b2(AddFrame("B2", b))
    {
        Model(a).visible = false;
        lua.DoString("order = ''");
        for (Ui::FrameController* frame :
             {static_cast<Ui::FrameController*>(root.get()), a, a1, b, b1, b2})
        {
            const std::string log = "order = order .. self:GetName() .. ' '";
            Model(frame).onLoad = log;
            Model(frame).onUpdate = log + " step = arg1";
        }
    }

    std::string Order()
    {
        const std::string order = LuaEval(lua, "order");
        lua.DoString("order = ''");
        return order;
    }

    Ui::FrameController* const a;
    Ui::FrameController* const a1;
    Ui::FrameController* const b;
    Ui::FrameController* const b1;
    Ui::FrameController* const b2;
};

} // namespace

TEST_F(FrameControllerTest, UpdateRunsOnUpdateBottomUpForShownFrames)
{
    root->Update(0.015f);
    EXPECT_EQ("B1 B2 B UiRoot ", Order());
    EXPECT_EQ("0.015", LuaEval(lua, "string.format('%.3f', step)"));

    Model(root.get()).visible = false;
    root->Update(0.5f);
    EXPECT_EQ("", Order());
    EXPECT_EQ("0.015", LuaEval(lua, "string.format('%.3f', arg1)"));
}

TEST_F(FrameControllerTest, RunOnLoadRunsPreOrderHiddenFramesIncluded)
{
    root->RunOnLoad();
    EXPECT_EQ("UiRoot A A1 B B1 B2 ", Order());
    root->RunOnLoad();
    EXPECT_EQ("UiRoot A A1 B B1 B2 ", Order());
}

TEST_F(FrameControllerTest, FindFrameSearchesPreOrderByExactName)
{
    EXPECT_EQ(b2, root->FindFrame("B2"));
    EXPECT_EQ(a1, std::as_const(*root).FindFrame("A1"));
    EXPECT_EQ(nullptr, root->FindFrame("b2"));
    EXPECT_EQ(nullptr, b->FindFrame("A1"));
    EXPECT_EQ(&Model(b1), root->GetFrameModel("B1"));
    EXPECT_EQ(nullptr, root->GetFrameModel("C"));

    // The first of two frames of one name is found; the global is the last's.
    Ui::FrameController* const twin = AddFrame("B1", b2);
    EXPECT_EQ(b1, root->FindFrame("B1"));
    lua_getglobal(lua.GetState(), "B1");
    EXPECT_EQ(twin, LuaState::GetThis<Ui::FrameController>(lua.GetState()));
    lua_settop(lua.GetState(), 0);
}

TEST_F(FrameControllerTest, SetFrameVisibleRunsNoScript)
{
    Model(a).onShow = "shown = true";
    EXPECT_TRUE(root->SetFrameVisible("A", true));
    EXPECT_TRUE(Model(a).visible);
    EXPECT_EQ("nil", LuaEval(lua, "shown"));
    EXPECT_FALSE(root->SetFrameVisible("Nowhere", true));
}

TEST_F(FrameControllerTest, ScriptNamesGoToTheModelOrToEveryHandler)
{
    EXPECT_TRUE(b->SetScript("OnHide", "h"));
    EXPECT_EQ("h", Model(b).onHide);
    EXPECT_FALSE(b->SetScript("OnClick", "c"));
    EXPECT_EQ(nullptr, b->GetScript("OnClick"));

    Ui::MouseButtonHandler* const second = new Ui::MouseButtonHandler(b);
    b->AddHandler(new Ui::MouseButtonHandler(b));
    b->AddHandler(new Ui::KeyboardInputHandler(b));
    b->AddHandler(second);
    EXPECT_TRUE(b->SetScript("OnClick", "c"));
    EXPECT_TRUE(b->SetScript("OnKeyPress", "k"));
    EXPECT_FALSE(b->SetScript("onclick", "c"));
    ASSERT_NE(nullptr, b->GetScript("OnClick"));
    EXPECT_EQ("c", *b->GetScript("OnClick"));
    EXPECT_EQ("k", *b->GetScript("OnKeyPress"));
    // Every handler is asked, also after one took the name.
    EXPECT_EQ("c", *second->GetScript("OnClick"));
}

TEST_F(FrameControllerTest, ADeletedFrameLeavesAnEmptyTableAndItsOldTableDies)
{
    lua.DoString("old = B1");
    Model(b2).relativeTo = b1;
    Model(a1).relativeTo = b1;
    b->DeleteChild(b1);
    EXPECT_EQ(nullptr, root->FindFrame("B1"));
    EXPECT_EQ("table", LuaEval(lua, "type(B1)"));
    EXPECT_EQ("nil", LuaEval(lua, "next(B1)"));
    EXPECT_TRUE(EndsWith(LuaFailure(lua, "old:GetName()"), "Invalid Lua object!"));
    // Frames anchored to the deleted frame are anchored to its parent.
    EXPECT_EQ(b, Model(b2).relativeTo);
    EXPECT_EQ(b, Model(a1).relativeTo);

    Model(a1).relativeTo = b2;
    root->DeleteChildren();
    EXPECT_TRUE(root->GetChildren().empty());
    for (const char* name : {"A", "A1", "B", "B2"})
        EXPECT_EQ("nil", LuaEval(lua, std::string("next(") + name + ")")) << name;
}

TEST_F(FrameControllerTest, DeletingAnOlderTwinLeavesTheNewerOnesGlobal)
{
    Ui::FrameController* const twin = AddFrame("B1", b2);
    b->DeleteChild(b1);
    lua_getglobal(lua.GetState(), "B1");
    EXPECT_EQ(twin, LuaState::GetThis<Ui::FrameController>(lua.GetState()));
    lua_settop(lua.GetState(), 0);
}
