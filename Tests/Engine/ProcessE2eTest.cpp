#include "Engine/Xml.h"
#include "Support/Archive.h"
#include "Support/TempDirectory.h"
#include "Support/VirtualDisplay.h"
#include "Support/ZevProcess.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <zlib.h>

namespace
{

const char* const Banner = "ZEV - Quillmere version 0.3 (build 280M)";

std::string FirstLine(const std::string& text)
{
    return text.substr(0, text.find('\n'));
}

class ProcessE2eTest : public ::testing::Test
{
protected:
    void SetUp() override { CopyGameData(directory.Path()); }

    TempDirectory directory;
    VirtualDisplay display;
};

TEST_F(ProcessE2eTest, TheWindowOpensAndClosingItEndsTheProcessCleanly)
{
    const auto zev = StartZev(directory.Path(), ZevEnvironment(display));
    const unsigned long window = display.FindWindow(ZevWindowTitle, ZevTimeout);
    ASSERT_NE(0u, window) << zev->Output() << zev->Errors();
    EXPECT_EQ(Banner, FirstLine(zev->Output()));

    display.CloseWindow(window);
    ExpectCleanEnd(*zev);
}

TEST_F(ProcessE2eTest, SigtermEndsTheProcessCleanly)
{
    const auto zev = StartZev(directory.Path(), ZevEnvironment(display));
    ASSERT_NE(0u, display.FindWindow(ZevWindowTitle, ZevTimeout)) << zev->Output() << zev->Errors();
    ExpectCleanEndOnSigterm(*zev);
}

// A video mode that cannot be opened is named with the settings that ask for
// it, so the user knows what to change; an OpenGL that lacks an extension is
// no fault of theirs.
TEST_F(ProcessE2eTest, AFailedStartEndsWithStatus255)
{
    struct Case
    {
        const char* videoDriver;
        const char* settings;      // the file's text, or null for none
        const char* extensionsOff; // the OpenGL extensions Mesa leaves out, or null
        const char* message;
        const char* mode;   // the line naming the video mode, or null for none
        int optionsWritten; // the sound never started, so its four values are not among them
    };
    const Case cases[] = {
        {"nonexistent", nullptr, nullptr, "Could not init SDL: ", nullptr, 0},
        {"dummy", nullptr, nullptr, "Could not initalize OpenGL!",
         "640x480, 32 bits per pixel, in a window", 15},
        {"x11", "<Settings><Display><Option width=\"16384\"/></Display></Settings>", nullptr,
         "Could not initalize OpenGL!", "16384x480, 32 bits per pixel, in a window", 15},
        {"x11", nullptr, "-GL_ARB_texture_cube_map -GL_ARB_texture_cube_map_array",
         "OpenGL does not support cube map textures!", nullptr, 15},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.videoDriver);
        const TempDirectory run;
        if (c.settings)
            WriteTextFile("settings.xml", c.settings);
        ChildProcess::Environment environment = ZevEnvironment(display);
        environment["SDL_VIDEODRIVER"] = c.videoDriver;
        if (c.extensionsOff)
            environment["MESA_EXTENSION_OVERRIDE"] = c.extensionsOff;
        const auto zev = StartZev(run.Path(), environment);
        ASSERT_TRUE(zev->WaitForExit(ZevTimeout));
        EXPECT_EQ(255, zev->ExitStatus());
        const std::string output = zev->Output();
        EXPECT_EQ(Banner, FirstLine(output));
        EXPECT_NE(std::string::npos, output.find(c.message)) << output;
        EXPECT_EQ(c.mode != nullptr, output.find("The video mode asked for: ") != std::string::npos)
            << output;
        if (c.mode)
        {
            const std::string line = std::string(c.message) + "\nThe video mode asked for: " +
                                     c.mode +
                                     ", set by the Display options width, height, bitsPerPixel "
                                     "and fullScreen of 'settings.xml'\n";
            EXPECT_NE(std::string::npos, output.find(line)) << output;
        }
        EXPECT_EQ(c.optionsWritten, CountOptions(ReadTextFile("settings.xml")));
    }
}

// The game runs with the defaults of the values it cannot use, and saves
// what it ran with.
TEST_F(ProcessE2eTest, UnusableSettingsKeepTheirDefaults)
{
    WriteTextFile("settings.xml", "<Settings><Display><Option width=\"abc\"/>"
                                  "<Option height=\"-5\"/></Display></Settings>");
    const auto zev = StartZev(directory.Path(), ZevEnvironment(display));
    ASSERT_NE(0u, display.FindWindow(ZevWindowTitle, ZevTimeout)) << zev->Output() << zev->Errors();
    zev->Signal(SIGTERM);
    ExpectCleanEnd(*zev);

    const std::string output = zev->Output();
    EXPECT_NE(std::string::npos, output.find("Invalid value 'abc' of the Display option 'width'"))
        << output;
    EXPECT_NE(std::string::npos, output.find("Invalid value '-5' of the Display option 'height'"))
        << output;
    EXPECT_EQ(std::string::npos, output.find("OpenGL error")) << output;
    const std::string saved = ReadTextFile("settings.xml");
    for (const char* option : {"width=\"640\"", "height=\"480\"", "frequency=\"22050\""})
        EXPECT_NE(std::string::npos, saved.find(option)) << option << "\n" << saved;
}

// Writes the head, the piece repeated up to the size, and the tail, a block
// at a time, so that this process stays small.
void WriteRepeated(const std::string& file, const std::string& head, const std::string& piece,
                   std::size_t size, const std::string& tail)
{
    std::ofstream out(file, std::ios::binary);
    out << head;
    std::string block;
    for (int i = 0; i < 65536; ++i)
        block += piece;
    std::size_t left = (size - head.size() - tail.size()) / piece.size() * piece.size();
    while (left > 0)
    {
        const std::size_t count = std::min(left, block.size());
        out.write(block.data(), static_cast<std::streamsize>(count));
        left -= count;
    }
    out << tail;
}

// A menu interface of the size, full of empty frames, in the archive only.
void ArchiveEmptyFrames(std::size_t size)
{
    std::string text = "<Ui>";
    text.reserve(size);
    while (text.size() + 13 <= size)
        text += "<frame/>";
    WriteArchive({{"Data/Menu/MainMenu.xml", text + "</Ui>", Z_DEFLATED}});
    std::filesystem::remove("Data/Menu/MainMenu.xml");
}

// A menu interface that includes eight files as large as a data file may be,
// each one template frame full of empty elements.
void IncludeEightLargeTemplates()
{
    std::string includes;
    for (int i = 0; i < 8; ++i)
    {
        const std::string name = "Template" + std::to_string(i) + ".xml";
        WriteRepeated("Data/Menu/" + name,
                      "<Ui><frame name='T" + std::to_string(i) + "' template='true'>", "<size/>",
                      MaxXmlBytes, "</frame></Ui>");
        includes += "<include file='" + name + "' type='Ui'/>";
    }
    ReplaceInFile("Data/Menu/MainMenu.xml", "<Ui>", "<Ui>" + includes);
}

// A menu interface that includes a chain of eight files as large as a data
// file may be, each including the next before its own elements.
void IncludeAChainOfEightLargeFiles()
{
    for (int i = 0; i < 8; ++i)
    {
        const std::string next = i < 7 ? "<include file='Chain" + std::to_string(i + 1) +
                                             ".xml' type='Ui'/>"
                                       : "";
        WriteRepeated("Data/Menu/Chain" + std::to_string(i) + ".xml",
                      "<Ui>" + next + "<frame name='C" + std::to_string(i) + "'><size>", "<a/>",
                      MaxXmlBytes, "</size></frame></Ui>");
    }
    ReplaceInFile("Data/Menu/MainMenu.xml", "<Ui>", "<Ui><include file='Chain0.xml' type='Ui'/>");
}

// Data files far larger than any of ours, and ones as large as a data file
// may be, built to take as much memory as they can: the game refuses each
// with the file's name, within a gigabyte of memory.
TEST_F(ProcessE2eTest, AHugeDataFileIsRefusedWithinAGigabyteOfMemory)
{
    const long long gigabyte = 1ll << 30;
    const std::size_t megabyte = 1u << 20;
    std::string tenThousandFrames = "<Ui><frame name='Full'>";
    for (int i = 0; i < 10000; ++i)
        tenThousandFrames += "<frame name='$parentA'/>";
    const struct
    {
        const char* name;
        std::function<void()> write;
        const char* message;
    } cases[] = {
        {"200 MB of empty frames in the archive", [] { ArchiveEmptyFrames(200 * megabyte); },
         "XML parsing error 'the document is larger than the 4 MB an XML file may have'"},
        {"255 MB of spaces",
         [] { WriteRepeated("Data/Menu/MainMenu.xml", "<Ui>", " ", 255 * megabyte, "</Ui>"); },
         "XML parsing error 'the document is larger than the 4 MB an XML file may have'"},
        {"frames and elements to the largest size",
         [&]
         {
             WriteRepeated("Data/Menu/MainMenu.xml", tenThousandFrames + "<size>", "<a/>",
                           MaxXmlBytes, "</size></frame></Ui>");
         },
         "The interface builds more than 10000 frames in:\nData/Menu/MainMenu.xml"},
        {"templates kept from eight of the largest size", IncludeEightLargeTemplates,
         "The templates stored hold more than 100000 elements in:\nData/Menu/Template0.xml, "
         "line 1"},
        {"a chain of eight of the largest size", IncludeAChainOfEightLargeFiles,
         "Error while reading file: 'Data/Menu/Chain1.xml'\nXML parsing error 'with the files "
         "that include it, the document is larger than the 5 MB that may be read at once'"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        const TempDirectory run;
        CopyGameData(run.Path());
        c.write();
        const auto zev = StartZev(run.Path(), ZevEnvironment(display));
        ASSERT_TRUE(zev->WaitForExit(ZevTimeout)) << zev->Output();
        EXPECT_EQ(255, zev->ExitStatus());
        const std::string output = zev->Output();
        EXPECT_NE(std::string::npos, output.find(c.message)) << output;
        EXPECT_NE(std::string::npos,
                  output.find("Error while reading file: 'Data/Menu/MainMenu.xml'"))
            << output;
        EXPECT_LT(zev->PeakMemory(), gigabyte);
    }
}

TEST_F(ProcessE2eTest, AMixerThatDoesNotOpenSavesNoAudioValues)
{
    ChildProcess::Environment environment = ZevEnvironment(display);
    environment["SDL_AUDIODRIVER"] = "nonexistent";
    const auto zev = StartZev(directory.Path(), environment);
    ASSERT_NE(0u, display.FindWindow(ZevWindowTitle, ZevTimeout)) << zev->Output() << zev->Errors();
    zev->Signal(SIGTERM);
    ASSERT_TRUE(zev->WaitForExit(ZevTimeout)) << zev->Output();
    EXPECT_EQ(0, zev->ExitStatus()) << zev->Output() << zev->Errors();
    EXPECT_NE(std::string::npos, zev->Output().find("SDL_mixer error: ")) << zev->Output();
    const std::string saved = ReadTextFile("settings.xml");
    EXPECT_EQ(15, CountOptions(saved)) << saved;
    EXPECT_EQ(std::string::npos, saved.find("frequency")) << saved;
}

} // namespace
