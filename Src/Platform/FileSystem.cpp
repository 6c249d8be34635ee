#include "Platform/FileSystem.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <unistd.h>
#include <vector>

namespace Platform
{

std::string ToNativePath(const std::string& name)
{
    std::string path = name;
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

std::FILE* OpenFile(const std::string& name, const char* mode)
{
    return std::fopen(ToNativePath(name).c_str(), mode);
}

SDL_RWops* OpenFileRW(const std::string& name, const char* mode)
{
    return SDL_RWFromFile(ToNativePath(name).c_str(), mode);
}

std::string CreateUniqueFile(const std::string& prefix)
{
    std::string pattern = ToNativePath(prefix) + "XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int file = mkstemp(name.data());
    if (file < 0)
        return std::string();
    close(file);
    return name.data();
}

// A hard link never replaces a file, so of two writers that finish at once
// one keeps its file and the other finds it there.
bool RenameUnlessExists(const std::string& from, const std::string& to)
{
    const std::string source = ToNativePath(from);
    if (link(source.c_str(), ToNativePath(to).c_str()) != 0 && errno != EEXIST)
        return false;
    unlink(source.c_str());
    return true;
}

} // namespace Platform
