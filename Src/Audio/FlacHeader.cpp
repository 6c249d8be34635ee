#include "Audio/FlacHeader.h"

#include "Audio/WaveFormat.h"

#include <cstdint>
#include <cstring>

namespace
{

const int MarkerBytes = 4;
const int BlockHeaderBytes = 4;
const int StreamInfoType = 0;
const int StreamInfoBytes = 34;
const int HeaderBytes = MarkerBytes + BlockHeaderBytes + StreamInfoBytes;

const std::uint32_t PlayableChannels = 2;
const std::uint32_t PlayableBits = 16;

std::uint32_t Big(const unsigned char* bytes, int count)
{
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i)
        value = value << 8 | bytes[i];
    return value;
}

// The first metadata block: its type (below the "last block" bit), its
// length, then the stream information, whose rate (20 bits), channels less
// one (3 bits) and bits per sample less one (5 bits) follow its block and
// frame sizes.
bool IsPlayableStreamInfo(const unsigned char* block)
{
    if ((block[0] & 0x7F) != StreamInfoType ||
        static_cast<int>(Big(block + 1, 3)) != StreamInfoBytes)
        return false;
    const std::uint32_t packed = Big(block + BlockHeaderBytes + 10, 4);
    const std::uint32_t rate = packed >> 12;
    const std::uint32_t channels = (packed >> 9 & 0x7) + 1;
    const std::uint32_t bits = (packed >> 4 & 0x1F) + 1;
    return channels == PlayableChannels && bits == PlayableBits &&
           rate >= static_cast<std::uint32_t>(MinWaveRate) &&
           rate <= static_cast<std::uint32_t>(MaxWaveRate);
}

} // namespace

bool IsUnplayableFlac(SDL_RWops* stream)
{
    const int start = SDL_RWtell(stream);
    unsigned char header[HeaderBytes];
    const int read = SDL_RWread(stream, header, 1, HeaderBytes);
    SDL_RWseek(stream, start, RW_SEEK_SET);
    if (read < MarkerBytes || std::memcmp(header, "fLaC", MarkerBytes) != 0)
        return false;
    return read < HeaderBytes || !IsPlayableStreamInfo(header + MarkerBytes);
}
