#include "Engine/DataReader.h"

#include "Engine/DataFile.h"
#include "Engine/DataStore.h"
#include "Engine/Error.h"
#include "Engine/LuaState.h"
#include "Engine/Object.h"
#include "Engine/ResourceType.h"
#include "Platform/TerminationSignals.h"
#include "Support/Capture.h"
#include "Support/FakeResource.h"
#include "Support/LuaScript.h"
#include "Support/TempDirectory.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <tinyxml.h>

namespace
{

// What the last interface reader saw when it began to read.
struct Seen
{
    std::string directory;
    std::string file;
    Object* parent = nullptr;
    LuaState* lua = nullptr;
    std::string luaRan;
    std::vector<std::string> frames;
};

Seen seen;

// An interface reader: it reads "frame" elements with itself as the context
// and leaves every other tag to the base.
class FakeUiReader : public DataReader
{
public:
    FakeUiReader(DataStore* store, EventDispatcher* events, LuaState* lua)
        : DataReader(store, events, lua)
    {
    }

    static DataReader* Make(DataStore* store, EventDispatcher* events, LuaState* lua,
                            Object* /*parent*/)
    {
        return new FakeUiReader(store, events, lua);
    }

    void ReadElement(const TiXmlNode* element) override
    {
        seen = Seen();
        seen.directory = CurrentDirectory();
        seen.file = CurrentFile();
        seen.parent = parent;
        seen.lua = lua;
        if (lua)
            seen.luaRan = LuaEval(*lua, "ran");
        ReadChildren(element, this);
    }

    bool HandleTag(const TiXmlElement* element, const std::string& lowerTag) override
    {
        if (lowerTag != "frame")
            return DataReader::HandleTag(element, lowerTag);
        seen.frames.push_back(CurrentContext() == this ? element->Attribute("name") : "?");
        return true;
    }
};

class DataReaderTest : public testing::Test
{
protected:
    void SetUp() override
    {
        CreateFileMutex();
        for (const int type : {1, 3, 4, 5, 6, 7, 9, 10, 11})
            DataStore::RegisterKind(type, MakeFakeResource);
        DataReader::RegisterReader("ui", FakeUiReader::Make);
    }

    void TearDown() override
    {
        for (const int type : {1, 3, 4, 5, 6, 7, 9, 10, 11})
            DataStore::RegisterKind(type, nullptr);
        DataReader::RegisterReader("ui", nullptr);
        DestroyFileMutex();
    }

    // A reader whose read failed is not used again, so each gets its own.
    std::string ReadError(const std::string& root)
    {
        WriteTextFile("Data/Root.xml", root);
        DataReader own(&store, nullptr, &lua);
        return ErrorOf([&] { own.ReadFile("Data/Root.xml", "MenuData"); });
    }

    const TempDirectory directory;
    DataStore store{nullptr};
    LuaState lua;
    DataReader reader{&store, nullptr, &lua};
};

} // namespace

TEST_F(DataReaderTest, ReadsTheGroupWithItsIncludesResourcesAndScripts)
{
    WriteTextFile("Data/Root.xml", "<MenuData>\n"
                                   "  <INCLUDE file=\"Ui/Menu.xml\"/>\n"
                                   "  <Resource type=\"Texture\" file=\"Textures/a.png\" "
                                   "name=\"A\"/>\n"
                                   "  <lua file=\"Scripts/first.lua\"/>\n"
                                   "  <Include file=\"Melee.xml\" type=\"Parts\"/>\n"
                                   "</MenuData>\n"
                                   "<MeleeData><resource type=\"Texture\" file=\"m.png\"/>"
                                   "</MeleeData>\n");
    // Without a type every top-level element of the file is read.
    WriteTextFile("Data/Ui/Menu.xml",
                  "<resource type=\"Font\" file=\"../Fonts/a.png\" name=\"\"/>\n"
                  "<resource type=\"Alias\" file=\"../Textures/a.png\" name=\"Menu\"/>\n");
    WriteTextFile("Data/Melee.xml", "<Other><resource type=\"Music\" file=\"no.ogg\"/></Other>"
                                    "<Parts><resource type=\"3DModel\" file=\"Models\\ship.x\"/>"
                                    "</Parts>");
    WriteTextFile("Data/Scripts/first.lua", "ran = 'first'");
    reader.ReadFile("Data/Root.xml", "MenuData");

    EXPECT_NE(nullptr, store.Find("Data/Textures/a.png", true));
    EXPECT_EQ(store.Find("Data/Textures/a.png", true), store.Find("A", true));
    EXPECT_EQ(store.Find("Data/Textures/a.png", true), store.Find("Menu", true));
    EXPECT_NE(nullptr, store.Find("Data/Fonts/a.png", true));
    EXPECT_EQ(nullptr, store.Find("", false));
    EXPECT_NE(nullptr, store.Find("Data/Models/ship.x", true));
    EXPECT_EQ(nullptr, store.Find("Data/no.ogg", true));
    EXPECT_EQ(nullptr, store.Find("Data/m.png", true));
    EXPECT_EQ("first", LuaEval(lua, "ran"));
    // Nothing is loaded.
    EXPECT_FALSE(store.Find("Data/Textures/a.png", true)->IsQueued());
}

// Our own paths step up into the data folder ("../Textures/a.png"); one that
// leads out of it is refused with the file and the line that name it, and
// nothing outside is read.
TEST_F(DataReaderTest, APathOutOfTheDataFolderIsRefusedWithTheFileThatNamesIt)
{
    WriteTextFile("Outside/Melee.xml", "<MeleeData/>");
    WriteTextFile("Outside/Melee.lua", "ran = 'outside'");
    const struct
    {
        const char* element;
        const char* path;
        const char* location; // where the element stands, when told
    } cases[] = {
        {"<resource type=\"3DModel\" file=\"../../../../tmp/x/Cruiser.x\"/>",
         "Data/Melee/../../../../tmp/x/Cruiser.x", " in:\nData/Melee/Melee.xml, line 2"},
        {"<resource type=\"Alias\" file=\"../..\\Outside\\Melee.xml\" name=\"Talk\"/>",
         "Data/Melee/../..\\Outside\\Melee.xml", " in:\nData/Melee/Melee.xml, line 2"},
        {"<lua file=\"../../Outside/Melee.lua\"/>", "Data/Melee/../../Outside/Melee.lua",
         " in:\nData/Melee/Melee.xml, line 2"},
        {"<include file=\"../../Outside/Melee.xml\" type=\"MeleeData\"/>",
         "Data/Melee/../../Outside/Melee.xml", ""},
    };
    WriteTextFile("Data/Root.xml", "<MenuData><include file=\"Melee/Melee.xml\"/></MenuData>");
    for (const auto& c : cases)
    {
        WriteTextFile("Data/Melee/Melee.xml", std::string("<!-- the battle -->\n") + c.element);
        DataReader own(&store, nullptr, &lua);
        EXPECT_EQ(std::string("Error while reading file: 'Data/Root.xml'\n"
                              "Error while reading file: 'Data/Melee/Melee.xml'\nThe path '") +
                      c.path + "' leads out of the data folder" + c.location,
                  ErrorOf([&] { own.ReadFile("Data/Root.xml", "MenuData"); }));
    }
    EXPECT_EQ("nil", LuaEval(lua, "ran"));
    EXPECT_EQ(nullptr, store.Find("Talk", false));
}

// In a child process of its own, as the request cannot be taken back: the
// exit status says whether the read stopped before its first element.
[[noreturn]] void ReadAfterTerminationSignal(DataReader& reader, LuaState& lua)
{
    Platform::CatchTerminationSignals();
    std::raise(SIGTERM);
    const std::string error = ErrorOf([&] { reader.ReadFile("Data/Root.xml", "MenuData"); });
    std::fprintf(stderr, "%s\n", error.c_str());
    std::exit(error == "Error while reading file: 'Data/Root.xml'\nThe reading of "
                       "'Data/Root.xml' was stopped: the game is quitting" &&
                      LuaEval(lua, "ran") == "nil"
                  ? 0
                  : 1);
}

TEST_F(DataReaderTest, ATerminationSignalStopsTheRead)
{
    WriteTextFile("Data/Root.xml", "<MenuData><lua file=\"Scripts/first.lua\"/></MenuData>");
    WriteTextFile("Data/Scripts/first.lua", "ran = 'first'");
    EXPECT_EXIT(ReadAfterTerminationSignal(reader, lua), ::testing::ExitedWithCode(0),
                "was stopped: the game is quitting");
}

TEST_F(DataReaderTest, AResourceWithContentGetsItsInlineDefinition)
{
    WriteTextFile("Data/Root.xml",
                  "<MenuData>\n"
                  "<resource type=\"Texture\" file=\"a.png\"><wrap/></resource>\n"
                  "<resource type=\"Texture\" file=\"a.png\"><clamp/></resource>\n"
                  "<resource type=\"Texture\" file=\"text.png\">text</resource>\n"
                  "<resource type=\"Texture\" file=\"note.png\"><!-- n --></resource>\n"
                  "<resource type=\"Texture\" file=\"blank.png\">  \n  </resource>\n"
                  "<resource type=\"Texture\" file=\"bare.png\"/>\n"
                  "</MenuData>");
    reader.ReadFile("Data/Root.xml", "MenuData");

    const TiXmlElement* definition = store.Find("Data/a.png", true)->GetDefinition();
    ASSERT_NE(nullptr, definition);
    ASSERT_NE(nullptr, definition->FirstChildElement());
    EXPECT_EQ("clamp", definition->FirstChildElement()->ValueStr());
    for (const char* name : {"Data/text.png", "Data/note.png"})
    {
        ASSERT_NE(nullptr, store.Find(name, true)->GetDefinition()) << name;
        EXPECT_EQ(nullptr, store.Find(name, true)->GetDefinition()->FirstChildElement()) << name;
    }
    for (const char* name : {"Data/blank.png", "Data/bare.png"})
        EXPECT_EQ(nullptr, store.Find(name, true)->GetDefinition()) << name;
}

TEST_F(DataReaderTest, ScriptsRunAsTheyAreReadUnderTheirPathAsWritten)
{
    WriteTextFile("Data/Root.xml", "<MenuData>\n"
                                   "<lua file=\"Scripts/first.lua\"/>\n"
                                   "<ui><Frame name=\"Main\"/></ui>\n"
                                   "<lua file=\"Scripts/../second.lua\"/>\n"
                                   "</MenuData>");
    WriteTextFile("Data/Scripts/first.lua", "ran = 'first'");
    WriteTextFile("Data/second.lua", "error('second')");
    EXPECT_EQ("Error while reading file: 'Data/Root.xml'\n"
              "Lua error: [string \"Data/Scripts/../second.lua\"]:1: second",
              ErrorOf([&] { reader.ReadFile("Data/Root.xml", "MenuData"); }));
    EXPECT_EQ("first", seen.luaRan);

    DataReader withoutLua(&store, nullptr, nullptr);
    EXPECT_EQ("Can't handle <Lua> tag in: 'Data/Root.xml', Lua is not initialized\n"
              "Can't handle <Lua> tag in: 'Data/Root.xml', Lua is not initialized\n",
              OutputOf([&] { withoutLua.ReadFile("Data/Root.xml", "MenuData"); }));
}

// The files that include a document stay parsed while it is read, so a chain
// of includes may hold a megabyte more than the largest document; documents
// read one after the other hold only their own.
TEST_F(DataReaderTest, AChainOfIncludesHoldsLittleMoreThanTheLargestDocument)
{
    const std::string threeMegabytes = "<!--" + std::string(3 << 20, ' ') + "-->";
    WriteTextFile("Data/A.xml", "<Parts><include file=\"B.xml\" type=\"Parts\"/>" +
                                    threeMegabytes + "</Parts>");
    WriteTextFile("Data/B.xml", "<Parts>" + threeMegabytes + "</Parts>");
    WriteTextFile("Data/C.xml", "<Parts>" + threeMegabytes + "</Parts>");
    EXPECT_EQ("no error", ReadError("<MenuData><include file=\"B.xml\" type=\"Parts\"/>"
                                    "<include file=\"C.xml\" type=\"Parts\"/></MenuData>"));
    EXPECT_EQ("Error while reading file: 'Data/Root.xml'\n"
              "Error while reading file: 'Data/A.xml'\n"
              "Error while reading file: 'Data/B.xml'\n"
              "XML parsing error 'with the files that include it, the document is larger than "
              "the 5 MB that may be read at once' in:\nData/B.xml, line 0",
              ReadError("<MenuData><include file=\"A.xml\" type=\"Parts\"/></MenuData>"));
}

TEST_F(DataReaderTest, SubReadersTakeOverTheReadersPlace)
{
    Object root;
    reader.SetParent(&root);
    WriteTextFile("Data/Root.xml", "<MenuData><include file=\"Ui/Menu.xml\"/></MenuData>");
    WriteTextFile("Data/Ui/Menu.xml",
                  "<Ui><Frame name=\"Main\"/><resource type=\"Texture\" file=\"a.png\"/>"
                  "<Frame name=\"Options\"/></Ui>");
    reader.ReadFile("Data/Root.xml", "MenuData");

    EXPECT_EQ("Data/Ui/", seen.directory);
    EXPECT_EQ("Data/Ui/Menu.xml", seen.file);
    EXPECT_EQ(&root, seen.parent);
    EXPECT_EQ(&lua, seen.lua);
    EXPECT_EQ((std::vector<std::string>{"Main", "Options"}), seen.frames);
    EXPECT_NE(nullptr, store.Find("Data/Ui/a.png", true));

    // An element kept from an earlier read, read as if it stood in a file.
    TiXmlDocument document;
    document.Parse("<Captain><ui><Frame name=\"Captain\"/></ui><resource/></Captain>");
    const std::unique_ptr<TiXmlNode> kept(document.RootElement()->Clone());
    EXPECT_EQ("Error while reading file: 'Data\\Ships\\..\\Ui.xml'\n"
              "Missing attribute 'type' in:\n<unknown>, line 0",
              ErrorOf([&] { reader.ReadElementFromFile("Data\\Ships\\..\\Ui.xml", kept.get()); }));
}

TEST_F(DataReaderTest, UnknownTagsAreReportedAndSkipped)
{
    WriteTextFile("Data/Root.xml", "<MenuData>\n"
                                   "<Bogus/>\n"
                                   "<resource type=\"Texture\" file=\"a.png\"/>\n"
                                   "</MenuData>");
    EXPECT_EQ("Unknown XML tag 'Bogus', in file 'Data/Root.xml' line 2\n",
              OutputOf([&] { reader.ReadFile("Data/Root.xml", "MenuData"); }));
    EXPECT_NE(nullptr, store.Find("Data/a.png", true));
}

TEST_F(DataReaderTest, ErrorsNameTheFilesFromTheOutermostIn)
{
    const std::string root = "Error while reading file: 'Data/Root.xml'\n";
    struct Case
    {
        std::string content;
        std::string error;
    };
    const Case cases[] = {
        {"<MenuData>\n<resource type=\"texture\" file=\"a.png\"/></MenuData>",
         root + "Unknown resource type: 'texture'"},
        {"<MenuData>\n<resource/></MenuData>",
         root + "Missing attribute 'type' in:\nData/Root.xml, line 2"},
        {"<MenuData>\n<resource type=\"Texture\"/></MenuData>",
         root + "Missing attribute 'file' in:\nData/Root.xml, line 2"},
        {"<MenuData>\n<include type=\"Parts\"/></MenuData>",
         root + "Missing attribute 'file' in:\nData/Root.xml, line 2"},
        {"<MenuData>\n<lua/></MenuData>",
         root + "Missing attribute 'file' in:\nData/Root.xml, line 2"},
        {"<MeleeData/>", root + "Internal error, received NULL element!"},
        {"<menudata/>", root + "Internal error, received NULL element!"},
        {"<MenuData><include file=\"Ui/Menu.xml\" type=\"Parts\"/></MenuData>",
         root + "Error while reading file: 'Data/Ui/Menu.xml'\n"
                "Internal error, received NULL element!"},
        {"<MenuData><include file=\"None.xml\"/></MenuData>",
         root + "Error while reading file: 'Data/None.xml'\nCan't open file 'Data/None.xml'"},
        {"<MenuData><include file=\"\"/></MenuData>",
         root + "Error while reading file: 'Data/'\nCan't open file 'Data/'"},
        {"<MenuData><ship/></MenuData>", root + "Unknown reader invoked, internal error!"},
        // The sub-reader's line names the file that holds the element.
        {"<MenuData><ui>\n<resource/></ui></MenuData>",
         root + root + "Missing attribute 'type' in:\nData/Root.xml, line 2"},
        {"<MenuData>", "Error while reading file: 'Data/Root.xml'\n"
                       "XML parsing error 'Error reading Element value.' in:\n"
                       "Data/Root.xml, line 1"},
    };
    WriteTextFile("Data/Ui/Menu.xml", "<Other/>");
    for (const Case& c : cases)
        EXPECT_EQ(c.error, ReadError(c.content)) << c.content;

    DataReader first(&store, nullptr, &lua);
    EXPECT_EQ("Error while reading file: 'Data/None.xml'\nCan't open file 'Data/None.xml'",
              ErrorOf([&] { first.ReadFile("Data/None.xml", "MenuData"); }));
    DataReader second(&store, nullptr, &lua);
    EXPECT_EQ("Error while reading file: ''\nXML filename was not specified!",
              ErrorOf([&] { second.ReadFile("", "MenuData"); }));
}

TEST_F(DataReaderTest, AnErrorThreeIncludesDeepNamesFourFiles)
{
    WriteTextFile("Data/One/A.xml", "<include file=\"../Two/B.xml\" type=\"Parts\"/>");
    WriteTextFile("Data/Two/B.xml", "<Parts><include file=\"Three/C.xml\"/></Parts>");
    WriteTextFile("Data/Two/Three/C.xml", "<resource type=\"Texture\"\nname=\"x\"/>");
    EXPECT_EQ("Error while reading file: 'Data/Root.xml'\n"
              "Error while reading file: 'Data/One/A.xml'\n"
              "Error while reading file: 'Data/Two/B.xml'\n"
              "Error while reading file: 'Data/Two/Three/C.xml'\n"
              "Missing attribute 'file' in:\nData/Two/Three/C.xml, line 1",
              ReadError("<MenuData><include file=\"One/A.xml\"/></MenuData>"));
}

TEST_F(DataReaderTest, AnIncludeOfAFileBeingReadNamesTheChain)
{
    const std::string root = "Error while reading file: 'Data/Root.xml'\n";
    struct Case
    {
        std::string content;
        std::string error;
    };
    WriteTextFile("Data/Ui/Menu.xml", "<include file=\"../Root.xml\"/>");
    WriteTextFile("Data/Ui/Frames.xml", "<ui><include file=\"Frames.xml\"/></ui>");
    const Case cases[] = {
        {"<include file=\"Root.xml\"/>", root + root +
                                             "Include cycle: 'Data/Root.xml' is already being read "
                                             "(Data/Root.xml -> Data/Root.xml)"},
        {"<include file=\"./Root.xml\"/>",
         root + "Error while reading file: 'Data/./Root.xml'\n"
                "Include cycle: 'Data/./Root.xml' is already being read "
                "(Data/Root.xml -> Data/./Root.xml)"},
        {"<include file=\"Ui/Menu.xml\"/>",
         root + "Error while reading file: 'Data/Ui/Menu.xml'\n" + root +
             "Include cycle: 'Data/Root.xml' is already being read "
             "(Data/Root.xml -> Data/Ui/Menu.xml -> Data/Root.xml)"},
        // Sub-readers know the files being read above them.
        {"<ui><include file=\"Ui/Frames.xml\"/></ui>",
         root + root +
             "Error while reading file: 'Data/Ui/Frames.xml'\n"
             "Error while reading file: 'Data/Ui/Frames.xml'\n"
             "Error while reading file: 'Data/Ui/Frames.xml'\n"
             "Include cycle: 'Data/Ui/Frames.xml' is already being read "
             "(Data/Ui/Frames.xml -> Data/Ui/Frames.xml)"},
    };
    for (const Case& c : cases)
    {
        WriteTextFile("Data/Root.xml", c.content);
        DataReader own(&store, nullptr, &lua);
        EXPECT_EQ(c.error, ErrorOf([&] { own.ReadFile("Data/Root.xml", ""); })) << c.content;
    }

    // The same file read twice one after the other is no cycle.
    WriteTextFile("Data/Part.xml", "<resource type=\"Texture\" file=\"a.png\"/>");
    WriteTextFile("Data/Root.xml", "<include file=\"Part.xml\"/><include file=\"Part.xml\"/>");
    EXPECT_EQ("no error", ErrorOf([&] { reader.ReadFile("Data/Root.xml", ""); }));
}

// Each file is shallow enough for the parser, but the reader goes on into the
// included one.
TEST_F(DataReaderTest, NestingIsCountedThroughIncludesAndSubReaders)
{
    const auto nested = [](int depth, const std::string& inner)
    {
        std::string text;
        for (int i = 0; i < depth; ++i)
            text += "<ui>";
        text += inner;
        for (int i = 0; i < depth; ++i)
            text += "</ui>";
        return text;
    };
    WriteTextFile("Data/Inner.xml", nested(100, ""));
    WriteTextFile("Data/Root.xml", nested(200, "<include file=\"Inner.xml\"/>"));
    const std::string error = ErrorOf([&] { reader.ReadFile("Data/Root.xml", ""); });
    const std::string expected =
        "Elements nested deeper than 256 through includes and templates in:\n"
        "Data/Inner.xml, line 1";
    ASSERT_GE(error.size(), expected.size());
    EXPECT_EQ(expected, error.substr(error.size() - expected.size()));

    WriteTextFile("Data/Inner.xml", nested(50, ""));
    DataReader shallower(&store, nullptr, &lua);
    EXPECT_EQ("no error", ErrorOf([&] { shallower.ReadFile("Data/Root.xml", ""); }));
}

// Eleven files, each including the next twice, would read the last one 1024
// times.
TEST_F(DataReaderTest, ReadsEndAfter1024Files)
{
    for (int level = 0; level < 11; ++level)
    {
        const std::string next = "<include file=\"" + std::to_string(level + 1) + ".xml\"/>";
        WriteTextFile("Data/" + std::to_string(level) + ".xml", next + next);
    }
    WriteTextFile("Data/11.xml", "<resource type=\"Texture\" file=\"a.png\"/>");
    const std::string error = ErrorOf([&] { reader.ReadFile("Data/0.xml", ""); });
    EXPECT_NE(std::string::npos, error.find("More than 1024 files read through includes"))
        << error.substr(0, 300);

    // Six levels read 63 files.
    WriteTextFile("Data/5.xml", "<resource type=\"Texture\" file=\"a.png\"/>");
    DataReader fewer(&store, nullptr, &lua);
    EXPECT_EQ("no error", ErrorOf([&] { fewer.ReadFile("Data/0.xml", ""); }));
}
