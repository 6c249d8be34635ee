#pragma once

#include <string>

// A fresh directory under the system's temporary folder that becomes the
// working directory for the lifetime of the object; the previous working
// directory is restored and the directory removed afterwards.
class TempDirectory
{
public:
    TempDirectory();
    ~TempDirectory();
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;

    const std::string& Path() const { return path; }

private:
    std::string path;
    std::string previous;
};

// Writes a file (creating its folders) relative to the working directory.
void WriteTextFile(const std::string& name, const std::string& content);

// The whole content of a file, or the empty string when it cannot be read.
std::string ReadTextFile(const std::string& name);

// Replaces the first occurrence of the text in the file; throws
// std::runtime_error when the file does not hold it.
void ReplaceInFile(const std::string& file, const std::string& text, const std::string& by);

bool FileExists(const std::string& name);
