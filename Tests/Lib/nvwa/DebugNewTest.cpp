#include "Support/ChildProcess.h"
#include "Support/TempDirectory.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <regex>

namespace
{

constexpr std::chrono::seconds Timeout(60);
constexpr int AbortStatus = 128 + 6;

const char* const Address = "0x[0-9a-f]+";
const char* const ForceNewWarning =
    "\\*\\*\\* WARNING:  GCC 3 or later is detected, please make sure the\n"
    "    environment variable GLIBCPP_FORCE_NEW \\(GCC 3.2 and 3.3\\) or\n"
    "    GLIBCXX_FORCE_NEW \\(GCC 3.4 and later\\) is defined.  Check the\n"
    "    README file for details.\n";

std::string Replace(std::string pattern, const std::string& name, const std::string& by)
{
    for (std::size_t at = pattern.find(name); at != std::string::npos; at = pattern.find(name))
        pattern.replace(at, name.size(), by);
    return pattern;
}

// A pattern of a whole report, with "@" standing for any code address.
std::regex Report(const std::string& pattern)
{
    return std::regex(Replace(pattern, "@", Address));
}

// Runs the program in a fresh working directory.
class DebugNewTest : public ::testing::Test
{
protected:
    // Returns what the program's report file holds afterwards.
    std::string Run(const std::vector<std::string>& arguments,
                    const ChildProcess::Environment& environment = {})
    {
        std::vector<std::string> command = {DEBUG_NEW_SCENARIOS};
        command.insert(command.end(), arguments.begin(), arguments.end());
        ChildProcess program(command, directory.Path(), environment);
        EXPECT_TRUE(program.WaitForExit(Timeout));
        status = program.ExitStatus();
        output = program.Output();
        errors = program.Errors();
        return ReadTextFile("stdout.txt");
    }

    TempDirectory directory;
    int status = -1;
    std::string output;
    std::string errors;
};

TEST_F(DebugNewTest, ARunThatFreesEverythingAppendsOnlyThePeak)
{
    struct Case
    {
        const char* bytes;
        const char* line;
    };
    const Case cases[] = {
        {"1048576", "Memory needed: 1.00Mb\n"},
        {"1572864", "Memory needed: 1.50Mb\n"},
        {"0", "Memory needed: 0.00Mb\n"},
    };
    WriteTextFile("stdout.txt", "An earlier run\n");
    std::string expected = "An earlier run\n";
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.bytes);
        expected += c.line;
        EXPECT_EQ(expected, Run({"free-everything", c.bytes}));
        EXPECT_EQ(0, status) << output << errors;
    }
}

TEST_F(DebugNewTest, CheckedBlocksKeepTheirAlignmentFailHugeRequestsAndServeThreads)
{
    for (const char* scenario : {"keep-alignment", "fail-huge-requests", "share-between-threads"})
    {
        SCOPED_TRACE(scenario);
        std::filesystem::remove("stdout.txt");
        EXPECT_TRUE(std::regex_match(Run({scenario}), Report("Memory needed: [0-9]+\\.[0-9]{2}Mb\n")))
            << ReadTextFile("stdout.txt");
        EXPECT_EQ(0, status) << output << errors;
    }
}

TEST_F(DebugNewTest, LeaksAreListedOldestFirstWithTheWarningUnlessForceNewIsSet)
{
    unsetenv("GLIBCXX_FORCE_NEW");
    unsetenv("GLIBCPP_FORCE_NEW");
    const std::string leaks = "Leaked object at @ \\(size 16, @\\)\n"
                              "Leaked object at @ \\(size 8, @\\)\n"
                              "Leaked object at @ \\(size 24, \\S*DebugNewScenarios\\.cpp:[0-9]+\\)\n"
                              "\\*\\*\\* 3 leaks found\n";
    const std::string peak = "Memory needed: 0\\.00Mb\n";
    struct Case
    {
        const char* variable;
        bool warned;
    };
    const Case cases[] = {{nullptr, true}, {"GLIBCXX_FORCE_NEW", false}, {"GLIBCPP_FORCE_NEW", false}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.variable ? c.variable : "neither variable");
        std::filesystem::remove("stdout.txt");
        ChildProcess::Environment environment;
        if (c.variable)
            environment[c.variable] = "1";
        const std::string report = Run({"leak"}, environment);
        EXPECT_TRUE(std::regex_match(report, Report(leaks + (c.warned ? ForceNewWarning : "") + peak)))
            << report;
        EXPECT_EQ(0, status);
    }
}

TEST_F(DebugNewTest, ACorruptLeakIsWarnedAboutAndTheListCanBeSwitchedOff)
{
    const ChildProcess::Environment forceNew = {{"GLIBCXX_FORCE_NEW", "1"}};
    std::string report = Run({"leak-corrupted"}, forceNew);
    EXPECT_TRUE(std::regex_match(report, Report("warning: heap data corrupt near (@)\n"
                                                 "Leaked object at \\1 \\(size 16, @\\)\n"
                                                 "\\*\\*\\* 1 leaks found\n"
                                                 "Memory needed: 0\\.00Mb\n")))
        << report;

    std::filesystem::remove("stdout.txt");
    EXPECT_EQ("Memory needed: 0.00Mb\n", Run({"leak-without-check"}, forceNew));
}

// The report is written and its file closed while a destructor that runs after
// every static object still holds a block.
TEST_F(DebugNewTest, ReleasesAfterTheReportNeitherCrashNorWriteToItsFile)
{
    const std::string report = Run({"release-after-the-report"}, {{"GLIBCXX_FORCE_NEW", "1"}});
    EXPECT_EQ(0, status) << errors;
    EXPECT_TRUE(std::regex_match(report, Report("Leaked object at @ \\(size 8, @\\)\n"
                                                "\\*\\*\\* 1 leaks found\n"
                                                "Memory needed: 0\\.00Mb\n")))
        << report;
    // Once leaks are found every allocation and release is logged, on standard
    // error when the file is closed.
    EXPECT_TRUE(std::regex_search(errors, Report("new: allocated @ \\(size 4, @\\)\n"))) << errors;
    EXPECT_TRUE(std::regex_search(
        errors, Report("delete: freed @ \\(size 8, 0 bytes still allocated\\)\n")))
        << errors;
}

TEST_F(DebugNewTest, WithoutItsFileTheReportGoesToStandardError)
{
    std::filesystem::create_directory("stdout.txt");
    Run({"free-everything", "1048576"});
    EXPECT_EQ(0, status);
    EXPECT_EQ("Memory needed: 1.00Mb\n", errors);
}

TEST_F(DebugNewTest, AReleaseOfTheWrongFormReportsBothPositionsAndAborts)
{
    for (const char* form : {"delete after new[]", "delete[] after new", "delete after aligned new",
                             "aligned delete after new", "aligned delete[] after aligned new"})
    {
        SCOPED_TRACE(form);
        std::filesystem::remove("stdout.txt");
        const std::string report = Run({form});
        EXPECT_EQ(AbortStatus, status);
        EXPECT_TRUE(std::regex_match(
            report, Report(Replace(form, "[]", "\\[\\]") +
                           ": pointer @ \\(size 24\\)\n\tat @\n\toriginally allocated at @\n")))
            << report;
    }
}

TEST_F(DebugNewTest, AReleaseOfAnInvalidPointerReportsTheCorruptionCheckAndAborts)
{
    struct Case
    {
        const char* scenario;
        const char* report;
    };
    const Case cases[] = {
        {"delete-twice", "delete: invalid pointer @ \\(@\\)\n"
                         "\\*\\*\\* Checking for memory corruption: START\n"
                         "\\*\\*\\* Checking for memory corruption: 0 FOUND\n"},
        {"delete-inside-a-block", "delete\\[\\]: invalid pointer @ \\(@\\)\n"
                                  "\\*\\*\\* Checking for memory corruption: START\n"
                                  "\\*\\*\\* Checking for memory corruption: 0 FOUND\n"},
        {"delete-with-corrupt-header", "delete\\[\\]: invalid pointer (@) \\(@\\)\n"
                                       "\\*\\*\\* Checking for memory corruption: START\n"
                                       "Heap data corrupt near \\1 \\(size 16, @\\)\n"
                                       "\\*\\*\\* Checking for memory corruption: 1 FOUND\n"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.scenario);
        std::filesystem::remove("stdout.txt");
        const std::string report = Run({c.scenario});
        EXPECT_EQ(AbortStatus, status);
        EXPECT_TRUE(std::regex_match(report, Report(c.report))) << report;
    }
}

} // namespace
