#include "Support/ZevProcess.h"

#include "Support/TempDirectory.h"
#include "Support/VirtualDisplay.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>

ChildProcess::Environment ZevEnvironment(const VirtualDisplay& display)
{
    return {{"SDL_VIDEODRIVER", "x11"}, {"SDL_AUDIODRIVER", "dummy"}, {"DISPLAY", display.Name()}};
}

void CopyGameData(const std::string& directory)
{
    namespace fs = std::filesystem;
    fs::copy(fs::path(ZEV_SOURCE_DIR) / "Data", fs::path(directory) / "Data",
             fs::copy_options::recursive);
}

std::unique_ptr<ChildProcess> StartZev(const std::string& directory,
                                       const ChildProcess::Environment& environment)
{
    return std::make_unique<ChildProcess>(std::vector<std::string>{ZEV_BINARY}, directory,
                                          environment);
}

int Occurrences(const std::string& text, const std::string& part)
{
    int count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

int CountOptions(const std::string& settings)
{
    return Occurrences(settings, "<Option ");
}

void ExpectCleanEnd(ChildProcess& zev)
{
    ASSERT_TRUE(zev.WaitForExit(ZevTimeout)) << zev.Output();
    EXPECT_EQ(0, zev.ExitStatus()) << zev.Output() << zev.Errors();
    EXPECT_EQ(19, CountOptions(ReadTextFile("settings.xml")));
#ifdef ZEV_CHECKED_ALLOCATOR
    const std::string report = ReadTextFile("stdout.txt");
    EXPECT_EQ(std::string::npos, report.find("Leaked object")) << report;
#endif
}

void ExpectCleanEndOnSigterm(ChildProcess& zev, std::chrono::milliseconds timeout)
{
    zev.Signal(SIGTERM);
    ASSERT_TRUE(zev.WaitForExit(timeout))
        << "Still running " << timeout.count() << " ms after SIGTERM\n"
        << zev.Output();
    ExpectCleanEnd(zev);
}
