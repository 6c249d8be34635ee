#include "Engine/Settings.h"

#include "Support/TempDirectory.h"

#include <gtest/gtest.h>
#include <tinyxml.h>
#include <vector>

namespace
{

using Lines = std::vector<std::string>;

// Every section of the saved file with each of its options' attributes, one
// line per option: "Display width=640".
Lines SavedOptions()
{
    TiXmlDocument document;
    EXPECT_TRUE(document.LoadFile("settings.xml")) << document.ErrorDesc();
    Lines lines;
    const TiXmlElement* root = document.FirstChildElement("Settings");
    if (!root)
        return lines;
    for (const TiXmlElement* section = root->FirstChildElement(); section;
         section = section->NextSiblingElement())
    {
        for (const TiXmlElement* option = section->FirstChildElement(); option;
             option = option->NextSiblingElement())
        {
            std::string line = section->ValueStr();
            for (const TiXmlAttribute* a = option->FirstAttribute(); a; a = a->Next())
                line += " " + a->NameTStr() + "=" + a->ValueStr();
            lines.push_back(line);
        }
    }
    return lines;
}

// Loads the file and returns what was printed.
std::string Load(Settings& settings)
{
    testing::internal::CaptureStdout();
    settings.Load();
    return testing::internal::GetCapturedStdout();
}

const Lines Defaults = {
    "Display width=640",
    "Display height=480",
    "Display bitsPerPixel=32",
    "Display fullScreen=false",
    "Display waitVerticalRetrace=true",
    "Display gammaCorrection=1.000000",
    "Audio enabled=true",
    "Audio frequency=0",
    "Audio chunkSize=0",
    "Audio channels=0",
    "Audio speakers=0",
    "Audio reverseStereo=false",
    "Audio musicVolume=1.000000",
    "Audio sfxVolume=1.000000",
    "Net serverAddress=127.0.0.1",
    "Net serverPort=2000",
    "Other rootXml=Data/Root.xml",
    "Other timeStep=15",
    "Other useDelay=true",
};

// The defaults, laid out by hand with comments and an element of its own.
const char* const HandWritten = R"(<?xml version="1.0" ?>
<!-- tuned by hand -->
<Settings>
    <Display>
        <Option width="640" />   <Option height="480"/>
        <Option bitsPerPixel="32" /><Option fullScreen="false" />
        <Option waitVerticalRetrace="true" />
        <Option gammaCorrection="1.0" />
    </Display>
    <Audio>
        <!-- the mixer picks these -->
        <Option enabled="true" /><Option frequency="0" /><Option chunkSize="0" />
        <Option channels="0" /><Option speakers="0" /><Option reverseStereo="false" />
        <Option musicVolume="1" /><Option sfxVolume="1.000000" />
    </Audio>
    <Net><Option serverAddress="127.0.0.1" /><Option serverPort="2000" /></Net>
    <Other><Option rootXml="Data/Root.xml" /><Option timeStep="15" /><Option useDelay="true" /></Other>
    <Mods enabled="false" />
</Settings>
)";

class SettingsTest : public testing::Test
{
protected:
    TempDirectory dir;
    Settings settings;
};

} // namespace

TEST_F(SettingsTest, WithoutAFileEveryOptionIsWritten)
{
    EXPECT_EQ("", Load(settings));
    EXPECT_EQ(640, Settings::width);
    EXPECT_EQ("Data/Root.xml", Settings::rootXml);
    EXPECT_EQ(0.015f, StepSeconds);

    settings.Save();
    EXPECT_EQ(Defaults, SavedOptions());
    EXPECT_FALSE(FileExists("settings.xml.tmp"));
}

TEST_F(SettingsTest, AnUnchangedFileIsLeftAsItIs)
{
    WriteTextFile("settings.xml", HandWritten);
    Load(settings);
    settings.Save();
    EXPECT_EQ(HandWritten, ReadTextFile("settings.xml"));

    Settings::height = 600;
    settings.Save();
    const std::string saved = ReadTextFile("settings.xml");
    EXPECT_NE(std::string::npos, saved.find("height=\"600\""));
    EXPECT_NE(std::string::npos, saved.find("<!-- tuned by hand -->"));
    EXPECT_NE(std::string::npos, saved.find("<Mods enabled=\"false\" />"));
}

TEST_F(SettingsTest, BooleansInCapitalsAreReadAndRewritten)
{
    WriteTextFile("settings.xml", "<Settings><Display><Option fullScreen=\"TRUE\"/>"
                                  "<Option waitVerticalRetrace=\"FALSE\"/></Display></Settings>");
    Load(settings);
    EXPECT_TRUE(Settings::fullScreen);
    EXPECT_FALSE(Settings::waitVerticalRetrace);

    settings.Save();
    const Lines saved = SavedOptions();
    EXPECT_EQ("Display fullScreen=true", saved[0]);
    EXPECT_EQ("Display waitVerticalRetrace=false", saved[1]);
}

TEST_F(SettingsTest, SectionsAreReadInAnyCaseButWrittenUnderTheirOwnName)
{
    WriteTextFile("settings.xml",
                  "<Settings><DISPLAY><Option width=\"800\"/></DISPLAY></Settings>");
    Load(settings);
    EXPECT_EQ(800, Settings::width);

    settings.Save();
    const Lines saved = SavedOptions();
    ASSERT_EQ(Defaults.size() + 1, saved.size());
    EXPECT_EQ("DISPLAY width=800", saved[0]);
    EXPECT_EQ("Display width=800", saved[1]);
    EXPECT_EQ("Display height=480", saved[2]);
}

TEST_F(SettingsTest, OnlyTheFirstAttributeOfAnOptionIsASetting)
{
    WriteTextFile(
        "settings.xml",
        "<Settings><Display><Option height=\"600\" width=\"1024\"/></Display></Settings>");
    Load(settings);
    EXPECT_EQ(600, Settings::height);
    EXPECT_EQ(640, Settings::width);

    settings.Save();
    const Lines saved = SavedOptions();
    EXPECT_EQ("Display height=600 width=1024", saved[0]);
    EXPECT_EQ("Display width=640", saved[1]);
}

TEST_F(SettingsTest, UnknownAndUnreadableOptionsArePassedOverAndKept)
{
    WriteTextFile("settings.xml", R"(<Settings>
        <audio>
            <option frequency="44100Hz"/><Option/><Option volume="3"/>
            <Option sfxVolume="0.25"/><Option sfxVolume="0.5"/><Option enabled="maybe"/>
        </audio>
        <Video><Option width="1"/></Video>
        <Net><Option serverAddress=" 10.0.0.1"/><Option serverPort="port"/></Net>
    </Settings>)");
    Load(settings);
    EXPECT_EQ(44100, Settings::frequency);
    EXPECT_EQ(0.5f, Settings::sfxVolume);
    EXPECT_TRUE(Settings::enabled);
    EXPECT_EQ(640, Settings::width);
    EXPECT_EQ(" 10.0.0.1", Settings::serverAddress);
    EXPECT_EQ(0, Settings::serverPort);

    settings.Save();
    const Lines saved = SavedOptions();
    EXPECT_NE(saved.end(), std::find(saved.begin(), saved.end(), "audio volume=3"));
    EXPECT_NE(saved.end(), std::find(saved.begin(), saved.end(), "Video width=1"));
}

TEST_F(SettingsTest, TheTimeStepSetsTheStepLengthAndMustBeAtLeastOne)
{
    struct Case
    {
        const char* text;
        int timeStep;
        bool reported;
    };
    const Case cases[] = {
        {"20", 20, false}, {"1", 1, false}, {"0", 15, true}, {"-5", 15, true}, {"fast", 15, true}};
    for (const Case& c : cases)
    {
        Settings::SetDefaults();
        WriteTextFile("settings.xml", std::string("<Settings><Other><Option timeStep=\"") + c.text +
                                          "\"/></Other></Settings>");
        const std::string printed = Load(settings);
        EXPECT_EQ(c.timeStep, Settings::timeStep) << c.text;
        EXPECT_FLOAT_EQ(c.timeStep / 1000.0f, StepSeconds) << c.text;
        EXPECT_EQ(c.reported ? 1 : 0, std::count(printed.begin(), printed.end(), '\n'))
            << c.text << ": " << printed;
    }
}

TEST_F(SettingsTest, AFileThatDoesNotParseIsNeverOverwritten)
{
    for (const char* text : {"<Settings><Display><Option width=\"800\"/></Settings>", ""})
    {
        WriteTextFile("settings.xml", text);
        Settings::SetDefaults();
        const std::string printed = Load(settings);
        EXPECT_EQ(1, std::count(printed.begin(), printed.end(), '\n')) << printed;
        EXPECT_NE(std::string::npos, printed.find("settings.xml")) << printed;
        EXPECT_EQ(640, Settings::width);

        Settings::height = 600;
        settings.Save();
        EXPECT_EQ(text, ReadTextFile("settings.xml"));
        EXPECT_FALSE(FileExists("settings.xml.tmp"));
    }
}

// TinyXML reads the unquoted value ending in a stray byte but cannot read
// the quoted value it writes for it.
TEST_F(SettingsTest, AFileThatWouldNotReadBackIsNeverOverwritten)
{
    const std::string text = "<?xml><A y=\xe7/>";
    WriteTextFile("settings.xml", text);
    EXPECT_EQ("", Load(settings));

    testing::internal::CaptureStdout();
    settings.Save();
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_NE(std::string::npos, printed.find("settings.xml")) << printed;
    EXPECT_EQ(text, ReadTextFile("settings.xml"));
    EXPECT_FALSE(FileExists("settings.xml.tmp"));
}
