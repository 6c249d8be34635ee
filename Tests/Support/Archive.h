#pragma once

#include <string>
#include <vector>

struct ArchiveEntry
{
    std::string name;
    std::string content;
    int method; // Z_DEFLATED, or 0 to store the bytes as they are
};

// Writes "Data.zip" in the working directory with the entries, replacing any
// earlier archive. Fails the current test when minizip refuses.
void WriteArchive(const std::vector<ArchiveEntry>& entries);

// Moves the files from the disk into a new "Data.zip", deflated under the same
// names, so that they can only be read from the archive.
void MoveIntoArchive(const std::vector<std::string>& files);

// Moves the files from the disk into a new "Data.zip" made by an archiver as a
// person runs it: the command (its program and options) is followed by the
// archive's name and the files. Fails the current test when the archiver does.
void PackIntoArchive(const std::vector<std::string>& command,
                     const std::vector<std::string>& files);

// Moves every file under the folder "Data" into a new "Data.zip" and removes
// the folder, so that the game runs from the archive alone.
void MoveDataIntoArchive();
