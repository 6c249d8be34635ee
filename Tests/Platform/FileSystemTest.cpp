#include "Platform/FileSystem.h"

#include "Support/TempDirectory.h"

#include <cerrno>
#include <gtest/gtest.h>

TEST(FileSystemTest, OpensFilesByTheirName)
{
    TempDirectory dir;
    WriteTextFile("Data/Fonts/a.txt", "abc");

    std::FILE* file = Platform::OpenFile("Data/Fonts/a.txt", "rb");
    ASSERT_NE(nullptr, file);
    std::fclose(file);

    SDL_RWops* stream = Platform::OpenFileRW("Data/Fonts/a.txt", "rb");
    ASSERT_NE(nullptr, stream);
    char buffer[3];
    EXPECT_EQ(1, SDL_RWread(stream, buffer, 3, 1));
    SDL_RWclose(stream);

    EXPECT_EQ(nullptr, Platform::OpenFile("Data/missing.txt", "rb"));
}

TEST(FileSystemTest, ARenameNeverReplacesAFileAndSaysWhatItDid)
{
    TempDirectory dir;
    WriteTextFile("new", "new");
    EXPECT_EQ(Platform::RenameResult::Renamed, Platform::RenameUnlessExists("new", "model"));
    EXPECT_FALSE(FileExists("new"));

    WriteTextFile("new", "newer");
    EXPECT_EQ(Platform::RenameResult::TargetExists, Platform::RenameUnlessExists("new", "model"));
    EXPECT_FALSE(FileExists("new"));
    EXPECT_EQ("new", ReadTextFile("model"));

    WriteTextFile("new", "new");
    errno = 0;
    EXPECT_EQ(Platform::RenameResult::Failed, Platform::RenameUnlessExists("new", "missing/model"));
    EXPECT_EQ(ENOENT, errno);
    EXPECT_EQ("new", ReadTextFile("new"));
}
