#include "Game/Solar/CommunicationReader.h"

#include "Engine/DataStore.h"
#include "Engine/EventDispatcher.h"
#include "Engine/LuaState.h"
#include "Game/Solar/CommunicationLabel.h"
#include "Support/Capture.h"
#include "Support/FileMutexGuard.h"
#include "Support/LuaScript.h"
#include "Support/TempDirectory.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace
{

class CommunicationReaderTest : public testing::Test
{
protected:
    // Reads the text as the conversation file Talk/Talk.xml.
    std::unique_ptr<CommunicationLabel> Read(const std::string& xml)
    {
        WriteTextFile("Talk/Talk.xml", xml);
        CommunicationReader reader(&store, &events, &lua);
        reader.ReadFile("Talk/Talk.xml", "");
        return reader.TakeRoot();
    }

    // The label at the path of names below the root.
    static const CommunicationLabel& At(const CommunicationLabel& root, const std::string& path)
    {
        const CommunicationLabel* label = &root;
        std::size_t start = 0;
        while (start < path.size())
        {
            const std::size_t end = std::min(path.find('/', start), path.size());
            label = label->FindChild(path.substr(start, end - start));
            if (!label)
                throw std::runtime_error("no label " + path);
            start = end + 1;
        }
        return *label;
    }

    FileMutexGuard fileMutex;
    TempDirectory directory;
    DataStore store{nullptr};
    EventDispatcher events;
    LuaState lua;
};

TEST_F(CommunicationReaderTest, LabelsNestAndTheirPiecesKeepDocumentOrder)
{
    const auto root = Read("<Communication label='hello'>"
                           "  <line time='2.5'>Who goes there?</line>"
                           "  <LINE>Answer!</LINE>"
                           "  <option label='friend'>A friend.</option>"
                           "  <option label='silent'></option>"
                           "  <audio file='Hello.ogg'/>"
                           "  <script>Note('a')</script><exit/><goto label='../b'/><return/>"
                           "  <script>Note('b')</script>"
                           "  <communication label='friend'><line>Welcome.</line></communication>"
                           "</Communication>");
    EXPECT_EQ(1u, root->children.size());
    const CommunicationLabel& hello = At(*root, "hello");
    EXPECT_EQ(root.get(), hello.parent);
    EXPECT_EQ("/hello/", hello.Path());
    ASSERT_EQ(2u, hello.lines.size());
    EXPECT_EQ("Who goes there?", hello.lines[0].text);
    EXPECT_EQ(2500u, hello.lines[0].time);
    EXPECT_EQ(1000u, hello.lines[1].time);
    // The option without text is left out, and needs no label.
    ASSERT_EQ(1u, hello.options.size());
    EXPECT_EQ("A friend.", hello.options[0].text);
    EXPECT_EQ("friend", hello.options[0].label);
    EXPECT_EQ("Talk/Hello.ogg", hello.audio);
    EXPECT_EQ("Note('a')\nCommunication:Exit();Communication:Goto(\"../b\");"
              "Communication:Return();Note('b')\n",
              hello.script);
    EXPECT_EQ("Welcome.", At(*root, "hello/friend").lines.at(0).text);
    EXPECT_EQ("/hello/friend/", At(*root, "hello/friend").Path());
}

TEST_F(CommunicationReaderTest, LineTimesAreWholeMillisecondsWithinRange)
{
    struct Case
    {
        const char* time;
        unsigned ms;
    };
    const Case cases[] = {
        {"0.0015", 1},      {"1.5", 1500},      {"abc", 1000},         {"0", 0},
        {"-3", 0},          {"-1e30", 0},       {"1e30", 4294967295u}, {"4294968", 4294967295u},
        {"nan", 1000},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.time);
        const auto root = Read(std::string("<line time='") + c.time + "'>x</line>");
        ASSERT_EQ(1u, root->lines.size());
        EXPECT_EQ(c.ms, root->lines[0].time);
    }
}

TEST_F(CommunicationReaderTest, ALineOrScriptWithoutTextIsEmptyText)
{
    const auto root = Read("<line/><line time='2'></line><script/><script>Go()</script>");
    ASSERT_EQ(2u, root->lines.size());
    EXPECT_EQ("", root->lines[0].text);
    EXPECT_EQ(2000u, root->lines[1].time);
    EXPECT_EQ("\nGo()\n", root->script);
}

TEST_F(CommunicationReaderTest, ALaterLabelOfTheSameNameReplacesTheEarlier)
{
    const auto root = Read("<communication label='a'><line>first</line>"
                           "  <communication label='inner'/></communication>"
                           "<communication label='a'><line>second</line></communication>");
    const CommunicationLabel& a = At(*root, "a");
    ASSERT_EQ(1u, a.lines.size());
    EXPECT_EQ("second", a.lines[0].text);
    EXPECT_TRUE(a.children.empty());
}

// The path of a goto is data: it reaches Lua as one string, whatever it holds.
TEST_F(CommunicationReaderTest, AGotoPathStaysOneLuaString)
{
    const std::string path = "a\"); Escaped = true; (\"\\\n9";
    const auto root = Read("<goto label='a&quot;); Escaped = true; (&quot;\\&#10;9'/>");
    lua_State* const L = lua.GetState();
    lua_newtable(L);
    lua.SetField("Goto", +[](lua_State* L) -> int {
        lua_pushvalue(L, 2);
        lua_setglobal(L, "Path");
        return 0;
    });
    lua_setglobal(L, "Communication");
    lua.DoString(root->script);
    EXPECT_EQ("nil", LuaEval(lua, "Escaped"));
    EXPECT_EQ(path, LuaEval(lua, "Path"));
}

TEST_F(CommunicationReaderTest, BadDataNamesTheFileAndTheLine)
{
    struct Case
    {
        const char* xml;
        const char* message;
    };
    const Case cases[] = {
        {"<communication label='a.b'/>",
         "Illegal communication label, it contains '.' or '/' or '\\'"},
        {"<communication label='a/b'/>", "Illegal communication label"},
        {"<communication label='a'>\n<communication label='b\\c'/></communication>",
         "Illegal communication label"},
        {"<communication/>", "Missing attribute 'label'"},
        {"<option>Yes</option>", "Missing attribute 'label'"},
        {"<audio/>", "Missing attribute 'file'"},
        {"<audio file='../x.ogg'/>", "The path 'Talk/../x.ogg' leads out of the data folder"},
        {"<goto/>", "Missing attribute 'label'"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.xml);
        const std::string message = ErrorOf([&] { Read(c.xml); });
        EXPECT_NE(std::string::npos, message.find("Error while reading file: 'Talk/Talk.xml'"))
            << message;
        EXPECT_NE(std::string::npos, message.find(c.message)) << message;
        EXPECT_NE(std::string::npos, message.find("Talk/Talk.xml, line ")) << message;
    }
}

TEST_F(CommunicationReaderTest, UnknownTagsAreReportedAndSkipped)
{
    std::unique_ptr<CommunicationLabel> root;
    const std::string output = OutputOf([&] { root = Read("<speech/><line>Hi</line>"); });
    EXPECT_NE(std::string::npos, output.find("Unknown XML tag 'speech'")) << output;
    ASSERT_EQ(1u, root->lines.size());
}

} // namespace
