#include "Support/TempDirectory.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

namespace fs = std::filesystem;

TempDirectory::TempDirectory() : previous(fs::current_path().string())
{
    std::string pattern = (fs::temp_directory_path() / "zev-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    path = pattern;
    fs::current_path(path);
}

TempDirectory::~TempDirectory()
{
    std::error_code ignored;
    fs::current_path(previous, ignored);
    fs::remove_all(path, ignored);
}

void WriteTextFile(const std::string& name, const std::string& content)
{
    const fs::path file(name);
    if (file.has_parent_path())
        fs::create_directories(file.parent_path());
    std::ofstream out(name, std::ios::binary);
    out << content;
}

std::string ReadTextFile(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void ReplaceInFile(const std::string& file, const std::string& text, const std::string& by)
{
    std::string content = ReadTextFile(file);
    const std::size_t at = content.find(text);
    if (at == std::string::npos)
        throw std::runtime_error(text + " not in " + file);
    content.replace(at, text.size(), by);
    WriteTextFile(file, content);
}

bool FileExists(const std::string& name)
{
    return fs::exists(name);
}
