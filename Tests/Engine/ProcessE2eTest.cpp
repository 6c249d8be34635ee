#include "Support/TempDirectory.h"
#include "Support/VirtualDisplay.h"
#include "Support/ZevProcess.h"

#include <csignal>
#include <gtest/gtest.h>

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

TEST_F(ProcessE2eTest, AFailedStartEndsWithStatus255)
{
    struct Case
    {
        const char* videoDriver;
        const char* message;
        int optionsWritten; // the sound never started, so its four values are not among them
    };
    const Case cases[] = {
        {"nonexistent", "Could not init SDL: ", 0},
        {"dummy", "Could not initalize OpenGL!", 15},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.videoDriver);
        const TempDirectory run;
        ChildProcess::Environment environment = ZevEnvironment(display);
        environment["SDL_VIDEODRIVER"] = c.videoDriver;
        const auto zev = StartZev(run.Path(), environment);
        ASSERT_TRUE(zev->WaitForExit(ZevTimeout));
        EXPECT_EQ(255, zev->ExitStatus());
        EXPECT_EQ(Banner, FirstLine(zev->Output()));
        EXPECT_NE(std::string::npos, zev->Output().find(c.message)) << zev->Output();
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
