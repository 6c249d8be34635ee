#include "Platform/FileSystem.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
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

namespace
{

// The process's id and a counter tell writers apart; the file gets the usual
// permissions of a new file.
int CreateUnique(const std::string& prefix, std::string& name)
{
    static std::atomic<unsigned> counter{0};
    const std::string base = prefix + std::to_string(getpid()) + "-";
    for (int attempt = 0; attempt < 100; ++attempt)
    {
        name = base + std::to_string(counter++);
        const int file = open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW, 0666);
        if (file >= 0 || errno != EEXIST)
            return file;
    }
    return -1;
}

} // namespace

std::string CreateUniqueFile(const std::string& prefix)
{
    std::string name;
    const int file = CreateUnique(prefix, name);
    if (file < 0)
        return std::string();
    close(file);
    return name;
}

std::FILE* OpenUniqueFile(const std::string& prefix, std::string& name)
{
    const int file = CreateUnique(prefix, name);
    if (file < 0)
        return nullptr;
    std::FILE* const stream = fdopen(file, "w+");
    if (!stream)
    {
        const int error = errno;
        close(file);
        unlink(name.c_str());
        errno = error;
    }
    return stream;
}

void CopyPermissions(const std::string& from, std::FILE* to)
{
    struct stat status;
    if (stat(from.c_str(), &status) == 0)
        fchmod(fileno(to), status.st_mode & 07777);
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
