#include "Support/Archive.h"

#include "Engine/DataFile.h"
#include "Support/ChildProcess.h"
#include "Support/TempDirectory.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <zip.h>

void WriteArchive(const std::vector<ArchiveEntry>& entries)
{
    zipFile archive = zipOpen(ArchiveName, APPEND_STATUS_CREATE);
    ASSERT_NE(nullptr, archive);
    for (const ArchiveEntry& entry : entries)
    {
        zip_fileinfo info = {};
        const int level = entry.method ? Z_DEFAULT_COMPRESSION : 0;
        ASSERT_EQ(ZIP_OK, zipOpenNewFileInZip(archive, entry.name.c_str(), &info, nullptr, 0,
                                              nullptr, 0, nullptr, entry.method, level));
        ASSERT_EQ(ZIP_OK, zipWriteInFileInZip(archive, entry.content.data(),
                                              static_cast<unsigned>(entry.content.size())));
        ASSERT_EQ(ZIP_OK, zipCloseFileInZip(archive));
    }
    ASSERT_EQ(ZIP_OK, zipClose(archive, nullptr));
}

void MoveIntoArchive(const std::vector<std::string>& files)
{
    std::vector<ArchiveEntry> entries;
    for (const std::string& file : files)
    {
        ASSERT_TRUE(FileExists(file)) << file;
        entries.push_back({file, ReadTextFile(file), Z_DEFLATED});
        std::filesystem::remove(file);
    }
    WriteArchive(entries);
}

void PackIntoArchive(const std::vector<std::string>& command, const std::vector<std::string>& files)
{
    std::filesystem::remove(ArchiveName);
    std::vector<std::string> run = command;
    run.push_back(ArchiveName);
    run.insert(run.end(), files.begin(), files.end());
    const ToolRun packed = RunTool(run, {}, std::chrono::seconds(30));
    ASSERT_TRUE(packed.succeeded) << run[0] << ": " << packed.output << packed.errors;
    for (const std::string& file : files)
        std::filesystem::remove(file);
}

void MoveDataIntoArchive()
{
    std::vector<std::string> files;
    for (const std::filesystem::directory_entry& entry : std::filesystem::recursive_directory_iterator("Data"))
    {
        if (entry.is_regular_file())
            files.push_back(entry.path().generic_string());
    }
    MoveIntoArchive(files);
    std::filesystem::remove_all("Data");
}
