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

// SDL turns the signal into its quit event.
TEST_F(ProcessE2eTest, SigtermEndsTheProcessCleanly)
{
    const auto zev = StartZev(directory.Path(), ZevEnvironment(display));
    ASSERT_NE(0u, display.FindWindow(ZevWindowTitle, ZevTimeout)) << zev->Output() << zev->Errors();

    zev->Signal(SIGTERM);
    ExpectCleanEnd(*zev);
}

TEST_F(ProcessE2eTest, AFailedStartEndsWithStatus255)
{
    struct Case
    {
        const char* videoDriver;
        const char* message;
        bool settingsWritten;
    };
    const Case cases[] = {
        {"nonexistent", "Could not init SDL: ", false},
        {"dummy", "Could not initalize OpenGL!", true},
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
        EXPECT_EQ(c.settingsWritten ? 19 : 0, CountOptions(ReadTextFile("settings.xml")));
    }
}

} // namespace
