#include "Game/Solar/Communication.h"

#include "Support/Capture.h"
#include "Support/LuaScript.h"
#include "Ui/RegisterInterface.h"
#include "Ui/TextView.h"
#include "Ui/UiFixture.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace
{

// The callbacks of the data's scripts, each noting that it ran in "Log".
const char* const Callbacks = R"(
    Log = {}
    function Note(text) Log[#Log + 1] = text end
    Communication = {}
    function Communication:HideOptions() Note("hide") end
    function Communication:ShowOptions(highlight)
        Note("options " .. highlight .. " " .. table.concat(self.Options, "|"))
    end
)";

// The shared data defines the callbacks of the speaking.
const char* const SharedData =
    "<Communication><lua file='Speaking.lua'/></Communication>";
const char* const Speaking = "function Communication:StartSpeaking() Note('start') end\n"
                             "function Communication:StopSpeaking() Note('stop') end\n";

// A conversation over an interface with the three frames it needs, its
// files Talk.xml and Shared.xml found through the aliases "Talk" and
// "CommunicationData".
class CommunicationTest : public UiTest
{
protected:
    CommunicationTest()
    {
        Ui::RegisterInterface();
        lua.DoString(Callbacks);
        WriteTextFile("Speaking.lua", Speaking);
        WriteTextFile("Shared.xml", SharedData);
        store.AddResource("Talk.xml", "Talk", ResourceType::Alias);
        store.AddResource("Shared.xml", "CommunicationData", ResourceType::Alias);
        BuildFrames("");
    }
    ~CommunicationTest() override { talk.reset(); }

    // The hidden frame with the window and the text area in it, but for the
    // one named.
    void BuildFrames(const std::string& missing)
    {
        root->DeleteChildren();
        frame = missing == "CommunicationFrame" ? nullptr : AddFrame("CommunicationFrame");
        if (frame)
            Model(frame).visible = false;
        window = missing == "CommunicationWindow" ? nullptr : AddFrame("CommunicationWindow", frame);
        text = nullptr;
        if (missing == "CommunicationWindowText")
            return;
        auto* const textModel = new Ui::FrameModel("CommunicationWindowText", &lua);
        text = new Ui::TextView(textModel, nullptr, "");
        Attach(textModel, text, frame);
    }

    void Open(const std::string& xml)
    {
        WriteTextFile("Talk.xml", xml);
        talk = std::make_unique<Communication>("Talk", &store, &events, &lua, root.get());
    }

    // The callbacks run since the last call.
    std::string TakeLog()
    {
        const std::string log = LuaEval(lua, "table.concat(Log, ', ')");
        lua.DoString("Log = {}");
        return log;
    }

    std::string Shown() const { return text->GetText(); }

    FileMutexGuard fileMutex;
    TempDirectory directory;
    DataStore store{nullptr};
    Ui::FrameController* frame = nullptr;
    Ui::FrameController* window = nullptr;
    Ui::TextView* text = nullptr;
    std::unique_ptr<Communication> talk;
};

TEST_F(CommunicationTest, AnEmptyConversationEndsInItsFirstUpdate)
{
    Open("<communication label='unused'/>");
    EXPECT_TRUE(Model(frame).visible);
    EXPECT_EQ("hide", TakeLog());
    EXPECT_FALSE(talk->Update(20));
    EXPECT_EQ("", TakeLog());
    talk.reset();
    EXPECT_FALSE(Model(frame).visible);
}

TEST_F(CommunicationTest, LinesStayTheirTimeAndTheRestCarriesOn)
{
    Open("<communication label='a'/>"
         "<line time='1.5'>First</line><line time='0.5'>Second</line>"
         "<option label='a'>Go on</option>");
    TakeLog();
    int firstShown = 0, secondShown = 0, emptied = 0;
    for (int update = 1; update <= 120 && !emptied; ++update)
    {
        ASSERT_TRUE(talk->Update(20));
        if (!firstShown && Shown() == "First")
            firstShown = update;
        if (!secondShown && Shown() == "Second")
            secondShown = update;
        if (secondShown && Shown().empty())
            emptied = update;
        if (update == 99)
        {
            EXPECT_EQ("hide, start", TakeLog());
        }
    }
    EXPECT_EQ(1, firstShown);
    EXPECT_EQ(75, secondShown);
    EXPECT_EQ(100, emptied);
    EXPECT_EQ("stop, options 1 Go on", TakeLog());
}

TEST_F(CommunicationTest, SkippingNeedsAHundredMillisecondsOfTheLine)
{
    Open("<line time='10'>Long</line><line>Next</line>");
    talk->Update(99);
    lua.DoString("Communication:SkipChatLine()");
    talk->Update(0);
    EXPECT_EQ("Long", Shown());
    talk->Update(1);
    lua.DoString("Communication:SkipChatLine()");
    EXPECT_EQ("Long", Shown());
    talk->Update(0);
    EXPECT_EQ("Next", Shown());
}

TEST_F(CommunicationTest, SelectingAnOptionStartsItsLabel)
{
    Open("<option label='a'>To a</option><option label='b'>To b</option>"
         "<communication label='a'><line>In a</line><option label='x'>Deeper</option>"
         "  <communication label='x'><script>Note('x')</script></communication></communication>"
         "<communication label='b'><script>Note('b')</script></communication>");
    talk->Update(10);
    EXPECT_EQ("hide, options 1 To a|To b", TakeLog());
    for (const char* call : {"Communication:Select(0)", "Communication:Select(3)"})
    {
        SCOPED_TRACE(call);
        EXPECT_TRUE(EndsWith(LuaFailure(lua, call), "Invalid index for Communication:Select"))
            << LuaFailure(lua, call);
    }
    EXPECT_TRUE(EndsWith(LuaFailure(lua, "Communication:Select()"),
                         "Too few arguments, 1 required"));
    // b offers nothing, so the root offers its options again, with the one
    // chosen last highlighted.
    lua.DoString("Communication:Select(2)");
    talk->Update(10);
    EXPECT_EQ("b, options 2 To a|To b", TakeLog());
    lua.DoString("Communication:Select(1)");
    talk->Update(10);
    EXPECT_EQ("hide, start", TakeLog());
    EXPECT_EQ("In a", Shown());
    // Selecting while the lines are spoken does nothing.
    lua.DoString("Communication:Select(1)");
    talk->Update(1000);
    EXPECT_EQ("stop, options 1 Deeper", TakeLog());
    // A new menu highlights its first option.
    lua.DoString("Communication:Select(1)");
    talk->Update(10);
    EXPECT_EQ("x, options 1 Deeper", TakeLog());
}

TEST_F(CommunicationTest, AnOptionToAMissingLabelNamesThePath)
{
    Open("<communication label='a'><option label='gone'>Where?</option></communication>"
         "<script>Communication:Goto('a')</script>");
    talk->Update(10);
    EXPECT_TRUE(EndsWith(LuaFailure(lua, "Communication:Select(1)"),
                         "Can't find communication label '/a/gone'"))
        << LuaFailure(lua, "Communication:Select(1)");
    // The conversation stays where it was.
    TakeLog();
    lua.DoString("Communication:Goto('/a')");
    talk->Update(10);
    EXPECT_EQ("options 1 Where?", TakeLog());
}

TEST_F(CommunicationTest, GotoPathsResolveFromTheCurrentLabel)
{
    struct Case
    {
        const char* path;
        const char* result;
    };
    const Case cases[] = {
        {"../b", "b"},
        // Lua strings: a backslash stands doubled.
        {"..\\\\b", "b"},
        {"/x/y", "y"},
        {"\\\\x\\\\y", "y"},
        {"c", "c"},
        {"../x/y", "y"},
        {"../../x", "Invalid Communication data: Goto command, path pointing out of scope: "
                    "../../x"},
        {"nothing", "Can't find communication label '/a/nothing'"},
        {"/x/", "Can't find communication label '/x/'"},
        {"../x/z/y", "Can't find communication label '/x/z'"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.path);
        Open(std::string("<communication label='a'>"
                         "  <script>local ok ok, Failure = pcall(Communication.Goto, Communication, '") +
             c.path +
             "') if not ok then Communication:Exit() end</script>"
             "  <communication label='c'><script>Note('c') Communication:Exit()</script>"
             "</communication></communication>"
             "<communication label='b'><script>Note('b') Communication:Exit()</script>"
             "</communication>"
             "<communication label='x'><communication label='y'>"
             "  <script>Note('y') Communication:Exit()</script></communication></communication>"
             "<script>Communication:Goto('a')</script>");
        TakeLog();
        lua.DoString("Failure = nil");
        while (talk->Update(10))
        {
        }
        const std::string failure = LuaEval(lua, "Failure");
        if (failure == "nil")
            EXPECT_EQ(c.result, TakeLog());
        else
            EXPECT_TRUE(EndsWith(failure, c.result)) << failure;
    }
}

TEST_F(CommunicationTest, ScriptsAddOptionsWhereTheyAsk)
{
    struct Case
    {
        const char* where;
        const char* options;
    };
    const Case cases[] = {
        {"", "A|B|C|new"},     {", 1", "new|A|B|C"}, {", 0", "new|A|B|C"},
        {", -5", "new|A|B|C"}, {", 2", "A|new|B|C"}, {", '3'", "A|B|new|C"},
        {", 4", "A|B|C|new"},  {", 9", "A|B|C|new"}, {", 'c'", "A|B|new|C"},
        {", 'z'", "A|B|C|new"}, {", true", "new|A|B|C"}, {", 2.5", "A|new|B|C"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.where);
        Open(std::string("<option label='a'>A</option><option label='b'>B</option>"
                         "<option label='c'>C</option><script>Communication:AddOption('new', 'n'") +
             c.where + ")</script>");
        TakeLog();
        talk->Update(10);
        EXPECT_EQ(std::string("options 1 ") + c.options, TakeLog());
    }
}

TEST_F(CommunicationTest, ReturnGoesToTheLabelAboveTheParent)
{
    Open("<script>Note('root')</script>"
         "<communication label='a'><script>Note('a')</script>"
         "  <communication label='b'><script>Note('b') Communication:Return()</script>"
         "</communication></communication>"
         "<option label='a'>A</option>");
    talk->Update(10);
    TakeLog();
    lua.DoString("Communication:Goto('a/b')");
    // The step after the script is the script again, which waits for the
    // next update.
    talk->Update(10);
    EXPECT_EQ("b", TakeLog());
    talk->Update(10);
    EXPECT_EQ("root, options 1 A", TakeLog());
}

TEST_F(CommunicationTest, AfterExitNothingLeadsOnAndTheConversationEnds)
{
    struct Case
    {
        const char* after;
        const char* failure;
    };
    const Case cases[] = {
        {"Communication:Return()", "nil"},
        {"Communication:Goto('a')",
         "Invalid Communication data: Goto command, path pointing out of scope: a"},
        {"Communication:Goto('../a')",
         "Invalid Communication data: Goto command, path pointing out of scope: ../a"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.after);
        Open(std::string("<communication label='a'/><script>Communication:Exit() "
                         "Failure = select(2, pcall(function() ") +
             c.after + " end))</script>");
        EXPECT_FALSE(talk->Update(10));
        const std::string failure = LuaEval(lua, "Failure");
        EXPECT_TRUE(EndsWith(failure, c.failure)) << failure;
    }
}

TEST_F(CommunicationTest, MethodsOutsideTheirStepDoNothing)
{
    Open("<line>Hello</line><script>Note('script')</script><option label='a'>A</option>"
         "<communication label='a'/>");
    talk->Update(10);
    for (const char* call : {"Communication:Exit()", "Communication:Return()",
                             "Communication:Goto('a')", "Communication:AddOption('x', 'y')",
                             "Communication:Select(1)"})
        lua.DoString(call);
    TakeLog();
    talk->Update(990);
    EXPECT_EQ("stop, script, options 1 A", TakeLog());
    lua.DoString("Communication:SkipChatLine(); Communication:Exit()");
    EXPECT_TRUE(talk->Update(10));
}

TEST_F(CommunicationTest, AConversationThatNeverSettlesIsCutOff)
{
    Open("<communication label='a'><script>Communication:Goto('../a')</script>"
         "</communication><script>Communication:Goto('a')</script>");
    const std::string message = ErrorOf([&] { talk->Update(10); });
    EXPECT_NE(std::string::npos, message.find("does not settle")) << message;
}

TEST_F(CommunicationTest, AFailingCallbackLeavesTheUpdate)
{
    lua.DoString("function Communication:ShowOptions() error('no buttons') end");
    Open("<option label='a'>A</option>");
    const std::string message = ErrorOf([&] { talk->Update(10); });
    EXPECT_NE(std::string::npos, message.find("Communication:ShowOptions():")) << message;
    EXPECT_NE(std::string::npos, message.find("no buttons")) << message;
}

// The options go to the global table "Communication" of the moment they are
// offered, as the other callbacks do.
TEST_F(CommunicationTest, OptionsGoToTheTableThatIsGlobalThen)
{
    lua.DoString(R"(
        function Replace()
            Old = Communication
            Communication = {}
            function Communication:ShowOptions(highlight)
                Note("new " .. highlight .. " " .. table.concat(self.Options, "|"))
            end
        end
    )");
    Open("<script>Replace()</script><option label='a'>A</option>");
    TakeLog();
    EXPECT_TRUE(talk->Update(10));
    EXPECT_EQ("new 1 A", TakeLog());
    EXPECT_EQ("nil", LuaEval(lua, "Old.Options"));

    lua.DoString("Communication = Old");
    Open("<script>Communication = nil</script><option label='a'>A</option>");
    const std::string message = ErrorOf([&] { talk->Update(10); });
    EXPECT_NE(std::string::npos, message.find("Communication:ShowOptions():")) << message;
}

TEST_F(CommunicationTest, TheTableCarriesTheMethodsAndNamesOnlyWhileItLives)
{
    lua.DoString("function Communication:StartSpeaking() end");
    Open("<option label='a'>A</option>");
    EXPECT_EQ("CommunicationWindow", LuaEval(lua, "Communication.WindowName"));
    EXPECT_EQ("CommunicationFrame", LuaEval(lua, "Communication.Frame"));
    // The shared data defined it anew after the constructor cleared it.
    EXPECT_EQ("function", LuaEval(lua, "type(Communication.StartSpeaking)"));
    talk.reset();
    for (const char* call : {"Communication:Select(1)", "Communication:SkipChatLine()",
                             "Communication:Exit()", "Communication:Return()",
                             "Communication:Goto('a')", "Communication:AddOption('a', 'b')"})
    {
        SCOPED_TRACE(call);
        EXPECT_TRUE(EndsWith(LuaFailure(lua, call), "Invalid Lua object!"))
            << LuaFailure(lua, call);
    }
}

TEST_F(CommunicationTest, AFailedConstructionLeavesNothingBound)
{
    struct Case
    {
        const char* missing;
        const char* message;
    };
    const Case cases[] = {
        {"CommunicationFrame", "Can't find communication frame 'CommunicationFrame'!"},
        {"CommunicationWindow", "Can't find communication frame 'CommunicationWindow'!"},
        {"CommunicationWindowText",
         "Can't find communication frame text area 'CommunicationWindowText'!"},
    };
    WriteTextFile("Talk.xml", "<line>Hi</line>");
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.missing);
        BuildFrames(c.missing);
        EXPECT_EQ(c.message,
                  ErrorOf([&] { Communication("Talk", &store, &events, &lua, root.get()); }));
        EXPECT_TRUE(EndsWith(LuaFailure(lua, "Communication:Select(1)"), "Invalid Lua object!"));
        if (frame)
        {
            EXPECT_FALSE(Model(frame).visible);
        }
    }
}

TEST_F(CommunicationTest, MissingDataFailsTheConstruction)
{
    WriteTextFile("Talk.xml", "<communication label='a.b'/>");
    std::string message =
        ErrorOf([&] { Communication("Other", &store, &events, &lua, root.get()); });
    EXPECT_EQ("Missing resource: 'Other'", message);
    message = ErrorOf([&] { Communication("Talk", &store, &events, &lua, root.get()); });
    EXPECT_NE(std::string::npos, message.find("Illegal communication label")) << message;
    lua.DoString("Communication = nil");
    message = ErrorOf([&] { Communication("Talk", &store, &events, &lua, root.get()); });
    EXPECT_NE(std::string::npos, message.find("Communication")) << message;
}

TEST_F(CommunicationTest, TheWindowsFramesGoWithTheConversation)
{
    AddFrame("FromTheState", window);
    Open("<ui><frame name='FromTheTalk'/></ui><line>Hi</line>");
    ASSERT_NE(nullptr, root->FindFrame("FromTheTalk"));
    EXPECT_EQ(window, root->FindFrame("FromTheTalk")->GetParent());
    talk.reset();
    EXPECT_EQ(nullptr, root->FindFrame("FromTheTalk"));
    EXPECT_EQ(nullptr, root->FindFrame("FromTheState"));
    EXPECT_NE(nullptr, root->FindFrame("CommunicationWindowText"));
}

} // namespace
