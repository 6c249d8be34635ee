// "Data.zip" in the working directory, with no data file on the disk, read
// through the file layer: the first entries it lists and two names spelt
// as the data spells them, each whole with ReadFile and as a stream with OpenRW.

#include "Engine/ArchiveFile.h"
#include "Engine/DataFile.h"
#include "Engine/Error.h"
#include "Support/FuzzInput.h"

#include <SDL.h>
#include <cstddef>
#include <cstdint>
#include <string>
#include <unzip.h>
#include <vector>

namespace
{

// Every read opens the archive anew, so a few names make a run.
const int MaxEntries = 4;

// A name that leaves the working directory would read the machine's files.
bool StaysInside(const std::string& name)
{
    return !name.empty() && name[0] != '/' && name[0] != '\\' && name.find("..") == std::string::npos;
}

// The names as the archive's directory gives them, read through the file
// layer's functions.
std::vector<std::string> ListEntries()
{
    std::vector<std::string> names;
    zlib_filefunc64_def functions = ArchiveFileFunctions();
    const unzFile archive = unzOpen2_64(ArchiveName, &functions);
    if (!archive)
        return names;
    for (int status = unzGoToFirstFile(archive);
         status == UNZ_OK && static_cast<int>(names.size()) < MaxEntries;
         status = unzGoToNextFile(archive))
    {
        unz_file_info info;
        char name[256];
        if (unzGetCurrentFileInfo(archive, &info, name, sizeof name, nullptr, 0, nullptr, 0) ==
                UNZ_OK &&
            StaysInside(name))
            names.push_back(name);
    }
    unzClose(archive);
    return names;
}

void ReadWhole(const std::string& name)
{
    try
    {
        std::size_t size = 0;
        delete[] ReadFile(name, &size);
    }
    catch (const Error&)
    {
    }
}

void ReadStream(const std::string& name)
{
    try
    {
        SDL_RWops* const stream = OpenRW(name);
        char buffer[512];
        while (SDL_RWread(stream, buffer, 1, sizeof buffer) > 0)
        {
        }
        SDL_RWseek(stream, 0, RW_SEEK_SET);
        SDL_RWclose(stream);
    }
    catch (const Error&)
    {
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    StartFuzzTarget(*argc, *argv, "");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    WriteInput(ArchiveName, data, size);
    std::vector<std::string> names = ListEntries();
    names.insert(names.end(), {"Data/Root.xml", "DATA\\root.XML"});
    for (const std::string& name : names)
    {
        ReadWhole(name);
        ReadStream(name);
    }
    return 0;
}
