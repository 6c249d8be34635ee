#include "Platform/FileSystem.h"

#include <algorithm>

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

} // namespace Platform
