#include "Support/FuzzInput.h"

#include "Engine/DataFile.h"
#include "Support/TempDirectory.h"

#include <SDL.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace
{

// The options of libFuzzer whose value is a path.
const char* const PathOptions[] = {"-dict=", "-artifact_prefix=", "-exact_artifact_path="};

std::string Absolute(const std::string& path)
{
    return fs::absolute(path).string();
}

// Corpus folders and inputs are the arguments without a leading "-".
// libFuzzer keeps the program's own name as it was given.
void MakePathsAbsolute(int argc, char** argv)
{
    // The arguments point into these for the life of the process; the room
    // is reserved first, so no string moves.
    static std::vector<std::string> arguments;
    arguments.reserve(argc);
    for (int i = 1; i < argc; ++i)
    {
        std::string argument = argv[i];
        if (!argument.empty() && argument[0] != '-')
            argument = Absolute(argument);
        for (const std::string option : PathOptions)
        {
            if (argument.size() > option.size() && argument.compare(0, option.size(), option) == 0)
                argument = option + Absolute(argument.substr(option.size()));
        }
        arguments.push_back(argument);
        argv[i] = arguments.back().data();
    }
}

} // namespace

void StartFuzzTarget(int argc, char** argv, const std::string& fixtures)
{
    MakePathsAbsolute(argc, argv);
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    if (SDL_Init(SDL_INIT_VIDEO) != 0)
    {
        std::fprintf(stderr, "Could not init SDL: %s\n", SDL_GetError());
        std::exit(1);
    }
    CreateFileMutex();
    // The input is written anew for each run: unless TMPDIR says otherwise,
    // in memory, where no disk flushes it.
    if (fs::is_directory("/dev/shm"))
        setenv("TMPDIR", "/dev/shm", 0);
    static const TempDirectory directory;
    if (!fixtures.empty())
        fs::copy(fs::path(ZEV_SOURCE_DIR) / "Tests" / "Fuzz" / fixtures, fs::current_path(),
                 fs::copy_options::recursive);
}

void FuzzCheck(bool holds, const char* property)
{
    if (holds)
        return;
    std::fprintf(stderr, "Property failed: %s\n", property);
    std::abort();
}

void WriteInput(const std::string& name, const std::uint8_t* data, std::size_t size)
{
    const fs::path file(name);
    if (file.has_parent_path())
        fs::create_directories(file.parent_path());
    std::FILE* out = std::fopen(name.c_str(), "wb");
    if (!out)
    {
        std::perror(name.c_str());
        std::abort();
    }
    if (size)
        std::fwrite(data, 1, size, out);
    std::fclose(out);
}
