#include "Audio/WaveFormat.h"

#include "Engine/ByteOrder.h"
#include "Engine/DataFile.h"
#include "Engine/Error.h"
#include "Engine/Resource.h"
#include "Engine/StringUtil.h"

#include <cstdint>
#include <cstring>

namespace
{

bool ReadAt(SDL_RWops* stream, long long at, unsigned char* bytes, int count)
{
    return SDL_RWseek(stream, static_cast<int>(at), RW_SEEK_SET) == at &&
           SDL_RWread(stream, bytes, 1, count) == count;
}

// Empty when the format chunk holds values the loaders take.
std::string FormatProblem(const unsigned char* format)
{
    const std::uint32_t tag = ReadLittleEndian(format, 2);
    const std::uint32_t channels = ReadLittleEndian(format + 2, 2);
    const std::uint32_t rate = ReadLittleEndian(format + 4, 4);
    const std::uint32_t bits = ReadLittleEndian(format + 14, 2);
    if (tag != 1 || (bits != 8 && bits != 16))
        return "its samples are not 8- or 16-bit PCM (format " + ToString(tag) + ", " +
               ToString(static_cast<int>(bits)) + " bits)";
    if (channels < static_cast<std::uint32_t>(MinWaveChannels) ||
        channels > static_cast<std::uint32_t>(MaxWaveChannels))
        return "it has " + ToString(static_cast<int>(channels)) + " channels, not " +
               ToString(MinWaveChannels) + " to " + ToString(MaxWaveChannels);
    if (rate < static_cast<std::uint32_t>(MinWaveRate) ||
        rate > static_cast<std::uint32_t>(MaxWaveRate))
        return "its rate of " + std::to_string(rate) + " Hz is not between " +
               ToString(MinWaveRate) + " and " + ToString(MaxWaveRate);
    return "";
}

// Walks the chunks after the RIFF header to the format chunk.
std::string WaveProblem(SDL_RWops* stream, long long start, long long end)
{
    unsigned char header[12];
    if (!ReadAt(stream, start, header, 12) || std::memcmp(header, "RIFF", 4) != 0 ||
        std::memcmp(header + 8, "WAVE", 4) != 0)
        return "";
    for (long long at = start + 12; at + 8 <= end;)
    {
        unsigned char chunk[8];
        if (!ReadAt(stream, at, chunk, 8))
            break;
        const std::uint32_t size = ReadLittleEndian(chunk + 4, 4);
        if (std::memcmp(chunk, "fmt ", 4) == 0)
        {
            unsigned char format[16];
            if (size < 16 || !ReadAt(stream, at + 8, format, 16))
                return "its format chunk is cut short";
            return FormatProblem(format);
        }
        at += 8 + size + (size & 1);
    }
    return "it has no format chunk";
}

} // namespace

void CheckWaveFormat(SDL_RWops* stream, const std::string& path)
{
    const long long start = SDL_RWtell(stream);
    const long long end = SDL_RWseek(stream, 0, RW_SEEK_END);
    const std::string problem = start < 0 || end < 0 ? "" : WaveProblem(stream, start, end);
    SDL_RWseek(stream, static_cast<int>(start), RW_SEEK_SET);
    if (!problem.empty())
        throw Error("Can't play '", path, "': ", problem);
}

SDL_RWops* OpenSound(const std::string& path)
{
    SDL_RWops* const stream = OpenRW(path);
    try
    {
        CheckWaveFormat(stream, path);
    }
    catch (...)
    {
        SDL_RWclose(stream);
        throw;
    }
    return stream;
}

SDL_RWops* OpenSoundResource(Resource& resource, const std::string& kind)
{
    resource.ReadDefinition(kind, true);
    if (resource.GetPath().empty())
        throw Error(kind, " filename was not specified!");
    return OpenSound(resource.GetPath());
}
