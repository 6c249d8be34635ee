// "settings.xml" as the game reads it at start-up and writes it back at exit.

#include "Engine/Settings.h"
#include "Support/FuzzInput.h"
#include "Support/TempDirectory.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <tinyxml.h>

namespace
{

void StartAndExit()
{
    Settings settings;
    settings.Load();
    FuzzCheck(Settings::timeStep >= 1, "timeStep stays at least 1");
    settings.Save();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    StartFuzzTarget(*argc, *argv, "");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    WriteInput("settings.xml", data, size);
    StartAndExit();
    const std::string saved = ReadTextFile("settings.xml");
    if (saved == std::string(data, data + size))
        return 0;
    // The game wrote the file: the next start must read it whole and find
    // nothing to write back.
    TiXmlDocument document;
    FuzzCheck(document.LoadFile("settings.xml"), "a saved file parses");
    StartAndExit();
    FuzzCheck(ReadTextFile("settings.xml") == saved, "a saved file is read back unchanged");
    return 0;
}
