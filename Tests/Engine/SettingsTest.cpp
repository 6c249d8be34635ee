#include "Engine/Settings.h"

#include "Engine/Xml.h"
#include "Support/TempDirectory.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <tinyxml.h>
#include <unistd.h>
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

// The names in the folder: a save leaves nothing beside the file.
Lines FilesHere(const std::string& folder = ".")
{
    Lines names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Saves and returns what was printed.
std::string Save(Settings& settings)
{
    testing::internal::CaptureStdout();
    settings.Save();
    return testing::internal::GetCapturedStdout();
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

// The mixer reports the audio values it opened with, as at a normal start,
// unless a test says otherwise.
class SettingsTest : public testing::Test
{
protected:
    SettingsTest() { settings.MixerOpened(); }

    TempDirectory dir;
    Settings settings;
};

std::string Nested(int depth)
{
    std::string text = "<Settings>";
    for (int i = 0; i < depth; ++i)
        text += "<Display>";
    return text;
}

} // namespace

TEST_F(SettingsTest, WithoutAFileEveryOptionIsWritten)
{
    EXPECT_EQ("", Load(settings));
    EXPECT_EQ(640, Settings::width);
    EXPECT_EQ("Data/Root.xml", Settings::rootXml);
    EXPECT_EQ(0.015f, StepSeconds);

    settings.Save();
    EXPECT_EQ(Defaults, SavedOptions());
    EXPECT_EQ(Lines{"settings.xml"}, FilesHere());
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
    EXPECT_EQ(2000, Settings::serverPort);

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
    const std::string tooDeep = Nested(100000);
    for (const std::string& text :
         {std::string("<Settings><Display><Option width=\"800\"/></Settings>"),
          std::string("<Settings><Display><Option width=\"800\"/></Display></Settings>\n"
                      "<!-- an end lost"),
          std::string("<"), std::string("<?xml version=\"1.0\" ?><!-- no settings -->"),
          tooDeep})
    {
        WriteTextFile("settings.xml", text);
        Settings::SetDefaults();
        const std::string printed = Load(settings);
        EXPECT_EQ(1, std::count(printed.begin(), printed.end(), '\n')) << printed;
        EXPECT_NE(std::string::npos, printed.find("settings.xml")) << printed;
        EXPECT_EQ(640, Settings::width);

        Settings::height = 600;
        settings.Save();
        EXPECT_TRUE(text == ReadTextFile("settings.xml"));
        EXPECT_EQ(Lines{"settings.xml"}, FilesHere());
    }
    const std::string printed = Load(settings);
    EXPECT_NE(std::string::npos, printed.find("nested deeper than 256 at line 1")) << printed;
}

// A file larger than any XML file of the game is not parsed, and read no
// further than it takes to tell: its size counts every byte, also the
// carriage returns that reading drops.
TEST_F(SettingsTest, AFileLargerThanAnyXmlFileIsRefusedUnparsed)
{
    std::string text = "<Settings><Display><Option width=\"800\"/></Display>";
    while (text.size() <= MaxXmlBytes)
        text += "<!-- -->\r\n";
    text += "</Settings>";
    WriteTextFile("settings.xml", text);
    EXPECT_EQ("Can't read 'settings.xml' (the document is larger than the 4 MB an XML file may "
              "have): using the default settings and leaving the file as it is\n",
              Load(settings));
    EXPECT_EQ(640, Settings::width);
    Settings::height = 600;
    settings.Save();
    EXPECT_TRUE(text == ReadTextFile("settings.xml"));
}

// The save goes through a file of its own that nothing planted beside
// settings.xml can redirect, and replaces the file it is meant to.
TEST_F(SettingsTest, ASaveWritesOnlyWhereTheFileIs)
{
    WriteTextFile("victim", "not settings");
    std::filesystem::create_symlink("victim", "settings.xml.tmp");
    Load(settings);
    settings.Save();
    EXPECT_EQ("not settings", ReadTextFile("victim"));
    EXPECT_FALSE(std::filesystem::is_symlink("settings.xml"));
    EXPECT_EQ(Defaults, SavedOptions());
    std::filesystem::remove("settings.xml.tmp");
    std::filesystem::remove("victim");

    // A link is kept, and the file it leads to gets the values.
    std::filesystem::remove("settings.xml");
    WriteTextFile("real/settings.xml", "<Settings/>");
    std::filesystem::create_symlink("real/settings.xml", "settings.xml");
    Load(settings);
    settings.Save();
    EXPECT_TRUE(std::filesystem::is_symlink("settings.xml"));
    EXPECT_EQ(Defaults, SavedOptions());
    EXPECT_NE(std::string::npos, ReadTextFile("real/settings.xml").find("width=\"640\""));
    EXPECT_EQ(Lines{"settings.xml"}, FilesHere("real"));
}

TEST_F(SettingsTest, ASavedFileKeepsItsPermissions)
{
    using std::filesystem::perms;
    for (const perms mode : {perms::owner_read | perms::group_read | perms::others_read,
                             perms::owner_read | perms::owner_write,
                             perms::owner_all | perms::group_read})
    {
        SCOPED_TRACE(static_cast<int>(mode));
        std::filesystem::remove("settings.xml");
        WriteTextFile("settings.xml", "<Settings/>");
        std::filesystem::permissions("settings.xml", mode);
        Load(settings);
        settings.Save();
        EXPECT_EQ(Defaults, SavedOptions());
        EXPECT_EQ(mode, std::filesystem::status("settings.xml").permissions());
    }
}

// TinyXML ends the declaration at its first '>' and would drop the rest.
TEST_F(SettingsTest, ADocumentTypeWithAnInternalSubsetIsKeptWhole)
{
    const std::string declaration = "<!DOCTYPE Settings [\n<!ENTITY a \"b>\">\n]>";
    WriteTextFile("settings.xml", "<?xml version=\"1.0\" ?>\n<!-- mine -->\n" + declaration +
                                      "\n<Settings><Display><Option width=\"800\" /></Display>"
                                      "</Settings>\n");
    EXPECT_EQ("", Load(settings));
    EXPECT_EQ(800, Settings::width);
    Settings::height = 600;
    EXPECT_EQ("", Save(settings));
    const std::string saved = ReadTextFile("settings.xml");
    EXPECT_NE(std::string::npos, saved.find(declaration)) << saved;

    Settings::SetDefaults();
    Settings again;
    EXPECT_EQ("", Load(again));
    EXPECT_EQ(800, Settings::width);
    EXPECT_EQ(600, Settings::height);
}

// The working directory is gone, so nothing can be created in it.
TEST_F(SettingsTest, ASaveThatCannotBeDoneSaysWhy)
{
    std::filesystem::create_directory("gone");
    ASSERT_EQ(0, chdir("gone"));
    std::filesystem::remove(dir.Path() + "/gone");
    Load(settings);
    const std::string printed = Save(settings);
    ASSERT_EQ(0, chdir(dir.Path().c_str()));
    EXPECT_EQ("Can't save 'settings.xml' (No such file or directory): the settings of this run "
              "are not kept\n",
              printed);
}

TEST_F(SettingsTest, AnEmptyFileIsWrittenInFullLikeAMissingOne)
{
    WriteTextFile("settings.xml", "");
    EXPECT_EQ("", Load(settings));
    settings.Save();
    EXPECT_EQ(Defaults, SavedOptions());
}

TEST_F(SettingsTest, ValuesTheGameCannotUseKeepTheirDefaultAndAreReported)
{
    struct Case
    {
        const char* section;
        const char* option;
        const char* text;
        const int* value;
        int read; // what the option holds after loading
    };
    const Case cases[] = {
        {"Display", "width", "abc", &Settings::width, 640},
        {"Display", "width", "0", &Settings::width, 640},
        {"Display", "width", "1", &Settings::width, 1},
        {"Display", "height", "-5", &Settings::height, 480},
        {"Display", "height", "99999999999", &Settings::height, 480},
        {"Display", "height", "16385", &Settings::height, 480},
        {"Display", "height", "16384", &Settings::height, 16384},
        {"Display", "bitsPerPixel", "0", &Settings::bitsPerPixel, 32},
        {"Display", "bitsPerPixel", "7", &Settings::bitsPerPixel, 32},
        {"Display", "bitsPerPixel", "16", &Settings::bitsPerPixel, 16},
        {"Audio", "frequency", "abc", &Settings::frequency, 0},
        {"Audio", "frequency", "1", &Settings::frequency, 0},
        {"Audio", "frequency", "7999", &Settings::frequency, 0},
        {"Audio", "frequency", "192001", &Settings::frequency, 0},
        {"Audio", "frequency", "8000", &Settings::frequency, 8000},
        {"Audio", "frequency", "-5", &Settings::frequency, -5},
        {"Audio", "chunkSize", "63", &Settings::chunkSize, 0},
        {"Audio", "chunkSize", "65536", &Settings::chunkSize, 0},
        {"Audio", "chunkSize", "65535", &Settings::chunkSize, 65535},
        {"Audio", "channels", "257", &Settings::channels, 0},
        {"Audio", "channels", "256", &Settings::channels, 256},
        {"Audio", "speakers", "3", &Settings::speakers, 0},
        {"Audio", "speakers", "6", &Settings::speakers, 6},
        {"Net", "serverPort", "port", &Settings::serverPort, 2000},
        {"Other", "timeStep", "1001", &Settings::timeStep, 15},
        {"Other", "timeStep", "1000", &Settings::timeStep, 1000},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.option) + "=" + c.text);
        Settings::SetDefaults();
        WriteTextFile("settings.xml", std::string("<Settings><") + c.section + "><Option " +
                                          c.option + "=\"" + c.text + "\"/></" + c.section +
                                          "></Settings>");
        const std::string printed = Load(settings);
        EXPECT_EQ(c.read, *c.value);
        if (std::to_string(c.read) == c.text)
            EXPECT_EQ("", printed);
        else
            EXPECT_EQ(std::string("Invalid value '") + c.text + "' of the " + c.section +
                          " option '" + c.option + "' in 'settings.xml': keeping " +
                          std::to_string(c.read) + "\n",
                      printed);
    }
}

TEST_F(SettingsTest, FloatsAndBooleansThatCannotBeReadKeepTheirValue)
{
    WriteTextFile("settings.xml", R"(<Settings>
        <Display><Option gammaCorrection="abc"/><Option fullScreen="yes"/></Display>
        <Audio><Option musicVolume="nan"/><Option sfxVolume="0.5x"/></Audio>
    </Settings>)");
    const std::string printed = Load(settings);
    EXPECT_EQ(1.0f, Settings::gammaCorrection);
    EXPECT_FALSE(Settings::fullScreen);
    EXPECT_EQ(1.0f, Settings::musicVolume);
    EXPECT_EQ(0.5f, Settings::sfxVolume);
    EXPECT_EQ(3, std::count(printed.begin(), printed.end(), '\n')) << printed;
    for (const char* option : {"'gammaCorrection'", "'fullScreen'", "'musicVolume'"})
        EXPECT_NE(std::string::npos, printed.find(option)) << option;

    settings.Save();
    const Lines saved = SavedOptions();
    EXPECT_NE(saved.end(),
              std::find(saved.begin(), saved.end(), "Display gammaCorrection=1.000000"));
    EXPECT_NE(saved.end(), std::find(saved.begin(), saved.end(), "Display fullScreen=false"));
}

// The sound start-up stores the values it used; a mixer that never opened used
// none, so the file keeps what it had and gets no option it lacked.
TEST(SettingsMixerTest, AudioValuesAreWrittenOnlyFromAMixerThatOpened)
{
    const TempDirectory dir;
    for (const bool opened : {false, true})
    {
        SCOPED_TRACE(opened);
        WriteTextFile("settings.xml",
                      "<Settings><Audio><Option frequency=\"44100\"/></Audio></Settings>");
        Settings settings;
        settings.Load();
        Settings::frequency = 11025;
        Settings::chunkSize = 512;
        if (opened)
            settings.MixerOpened();
        settings.Save();
        const Lines saved = SavedOptions();
        const auto has = [&](const char* line)
        { return std::find(saved.begin(), saved.end(), line) != saved.end(); };
        EXPECT_EQ(!opened, has("Audio frequency=44100"));
        EXPECT_EQ(opened, has("Audio frequency=11025"));
        EXPECT_EQ(opened, has("Audio chunkSize=512"));
        EXPECT_EQ(opened ? 19u : 16u, saved.size());
    }
}

// TinyXML reads the unquoted value ending in a stray byte but cannot read
// the quoted value it writes for it.
TEST_F(SettingsTest, AFileThatWouldNotReadBackIsNeverOverwritten)
{
    const char* const texts[] = {
        // The stray byte swallows the quote that writing adds.
        "<?xml><A y=\xe7/>",
        // The broken reference, quoted when written, swallows the document.
        "<?xml version=&#x\x01 ?><Settings/>",
    };
    for (const std::string text : texts)
    {
        SCOPED_TRACE(text);
        WriteTextFile("settings.xml", text);
        Settings fresh;
        fresh.MixerOpened();
        EXPECT_EQ("", Load(fresh));

        testing::internal::CaptureStdout();
        fresh.Save();
        const std::string printed = testing::internal::GetCapturedStdout();
        EXPECT_NE(std::string::npos, printed.find("settings.xml")) << printed;
        EXPECT_EQ(text, ReadTextFile("settings.xml"));
        EXPECT_EQ(Lines{"settings.xml"}, FilesHere());
    }
}
