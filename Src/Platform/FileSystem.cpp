#include "Platform/FileSystem.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace Platform
{

std::FILE* OpenFile(const std::string& name, const char* mode)
{
    return std::fopen(name.c_str(), mode);
}

SDL_RWops* OpenFileRW(const std::string& name, const char* mode)
{
    return SDL_RWFromFile(name.c_str(), mode);
}

// The process's id and a counter tell writers apart; the file gets the usual
// permissions of a new file.
std::string CreateUniqueFile(const std::string& prefix)
{
    static std::atomic<unsigned> counter{0};
    const std::string base = prefix + std::to_string(getpid()) + "-";
    for (int attempt = 0; attempt < 100; ++attempt)
    {
        const std::string name = base + std::to_string(counter++);
        const int file = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
        if (file >= 0)
        {
            close(file);
            return name;
        }
        if (errno != EEXIST)
            break;
    }
    return std::string();
}

// A hard link never replaces a file, so of two writers that finish at once
// one keeps its file and the other finds it there.
RenameResult RenameUnlessExists(const std::string& from, const std::string& to)
{
    RenameResult result = RenameResult::Renamed;
    if (link(from.c_str(), to.c_str()) != 0)
    {
        if (errno != EEXIST)
            return RenameResult::Failed;
        result = RenameResult::TargetExists;
    }
    unlink(from.c_str());
    return result;
}

} // namespace Platform
