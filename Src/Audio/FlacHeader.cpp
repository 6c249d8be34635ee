#include "Audio/FlacHeader.h"

#include "Audio/WaveFormat.h"
#include "Engine/ByteOrder.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

namespace
{

using Byte = unsigned char;

const int MarkerBytes = 4;
const int BlockHeaderBytes = 4;
const int StreamInfoType = 0;
const int StreamInfoBytes = 34;
const Byte LastBlock = 0x80;

const std::uint32_t PlayableChannels = 2;
const std::uint32_t PlayableBits = 16;

// The stream from where it stands to its end.
std::vector<Byte> ReadRest(SDL_RWops* stream)
{
    std::vector<Byte> bytes;
    Byte chunk[65536];
    for (int read; (read = SDL_RWread(stream, chunk, 1, sizeof chunk)) > 0;)
        bytes.insert(bytes.end(), chunk, chunk + read);
    return bytes;
}

// The first metadata block: its type (below the "last block" bit), its
// length, then the stream information, whose rate (20 bits), channels less
// one (3 bits) and bits per sample less one (5 bits) follow its block and
// frame sizes.
bool IsPlayableStreamInfo(const Byte* block)
{
    if ((block[0] & 0x7F) != StreamInfoType ||
        static_cast<int>(ReadBigEndian(block + 1, 3)) != StreamInfoBytes)
        return false;
    const std::uint32_t packed = ReadBigEndian(block + BlockHeaderBytes + 10, 4);
    const std::uint32_t rate = packed >> 12;
    const std::uint32_t channels = (packed >> 9 & 0x7) + 1;
    const std::uint32_t bits = (packed >> 4 & 0x1F) + 1;
    return channels == PlayableChannels && bits == PlayableBits &&
           rate >= static_cast<std::uint32_t>(MinWaveRate) &&
           rate <= static_cast<std::uint32_t>(MaxWaveRate);
}

// Where the frames begin, past the metadata blocks; null when the blocks run
// past the end.
const Byte* SkipMetadata(const Byte* at, const Byte* end)
{
    for (;;)
    {
        if (end - at < BlockHeaderBytes)
            return nullptr;
        const bool last = (at[0] & LastBlock) != 0;
        const std::uint32_t length = ReadBigEndian(at + 1, 3);
        if (static_cast<std::uint32_t>(end - at - BlockHeaderBytes) < length)
            return nullptr;
        at += BlockHeaderBytes + length;
        if (last)
            return at;
    }
}

// The checksums of frames: most significant bit first, starting at 0, so the
// sum of a whole frame, its own sum included, is 0.
template <int Bits, std::uint32_t Polynomial>
struct Crc
{
    Crc()
    {
        for (std::uint32_t byte = 0; byte < 256; ++byte)
        {
            std::uint32_t crc = byte << (Bits - 8);
            for (int bit = 0; bit < 8; ++bit)
                crc = (crc & Top) ? (crc << 1) ^ Polynomial : crc << 1;
            table[byte] = crc & Mask;
        }
    }

    std::uint32_t Step(std::uint32_t crc, Byte byte) const
    {
        return ((crc << 8) ^ table[(crc >> (Bits - 8)) ^ byte]) & Mask;
    }

    std::uint32_t Of(const Byte* bytes, std::size_t count) const
    {
        std::uint32_t crc = 0;
        for (std::size_t i = 0; i < count; ++i)
            crc = Step(crc, bytes[i]);
        return crc;
    }

    static constexpr std::uint32_t Top = 1u << (Bits - 1);
    static constexpr std::uint32_t Mask = (Top << 1) - 1;
    std::array<std::uint32_t, 256> table;
};

const Crc<8, 0x07> HeaderCrc;
const Crc<16, 0x8005> FrameCrc;

// The length of a frame number coded as UTF-8 from its first byte; 0 for a
// byte that begins none.
int NumberLength(Byte first)
{
    if (first < 0x80)
        return 1;
    for (int length = 2; length <= 7; ++length)
    {
        const Byte lead = static_cast<Byte>(0xFF << (8 - length));
        if ((first & static_cast<Byte>(lead | 0x80 >> length)) == lead)
            return length;
    }
    return 0;
}

// A frame header's codes of its channels and of its bits per sample.
int ChannelCode(const Byte* header)
{
    return header[3] >> 4;
}

int BitsCode(const Byte* header)
{
    return header[3] >> 1 & 0x7;
}

// The length of the frame header that stands at the position, its checksum
// included, as the decoder reads one when it looks for a frame; 0 when none
// stands there.
std::size_t HeaderLength(const Byte* at, const Byte* end)
{
    const std::size_t fixed = 4;
    if (static_cast<std::size_t>(end - at) <= fixed || at[0] != 0xFF || (at[1] & 0xFE) != 0xF8)
        return 0;
    const int blockCode = at[2] >> 4;
    const int rateCode = at[2] & 0xF;
    if (blockCode == 0 || rateCode == 15 || ChannelCode(at) > 10 || BitsCode(at) == 3 ||
        (at[3] & 1))
        return 0;
    const int number = NumberLength(at[fixed]);
    if (number == 0 || static_cast<std::size_t>(end - at) < fixed + number)
        return 0;
    for (int i = 1; i < number; ++i)
    {
        if ((at[fixed + i] & 0xC0) != 0x80)
            return 0;
    }
    // A block size or rate that no code stands for follows in one or two bytes.
    const std::size_t blockBytes = blockCode == 6 ? 1 : blockCode == 7 ? 2 : 0;
    const std::size_t rateBytes = rateCode == 12 ? 1 : rateCode == 13 || rateCode == 14 ? 2 : 0;
    const std::size_t length = fixed + number + blockBytes + rateBytes;
    if (static_cast<std::size_t>(end - at) <= length || HeaderCrc.Of(at, length) != at[length])
        return 0;
    return length + 1;
}

// Two channels (independent, or left, right or mid with side) of the stream's
// 16 bits.
bool IsPlayableFrame(const Byte* header)
{
    const int channels = ChannelCode(header);
    const int bits = BitsCode(header);
    return (channels == 1 || channels >= 8) && (bits == 0 || bits == 4);
}

bool AnyHeader(const Byte* at, const Byte* end)
{
    for (; at < end; ++at)
    {
        if (HeaderLength(at, end) != 0)
            return true;
    }
    return false;
}

// Walks the frames from the first, each up to the next header at which its
// checksum holds, as an intact stream chains them. Where the chain breaks (a
// damaged frame, a tag behind the last one) the decoder would search the rest
// for a header, so none may stand there.
bool AreFramesPlayable(const Byte* at, const Byte* end)
{
    while (at < end)
    {
        const std::size_t header = HeaderLength(at, end);
        if (header == 0 || !IsPlayableFrame(at))
            return false;
        std::uint32_t crc = FrameCrc.Of(at, header);
        const Byte* next = at + header;
        for (; next < end && !(crc == 0 && HeaderLength(next, end) != 0); ++next)
            crc = FrameCrc.Step(crc, *next);
        if (next == end && crc != 0)
            return !AnyHeader(at + 1, end);
        at = next;
    }
    return true;
}

} // namespace

bool IsUnplayableFlac(SDL_RWops* stream)
{
    const int start = SDL_RWtell(stream);
    Byte marker[MarkerBytes];
    const bool flac = SDL_RWread(stream, marker, 1, MarkerBytes) == MarkerBytes &&
                      std::memcmp(marker, "fLaC", MarkerBytes) == 0;
    const std::vector<Byte> rest = flac ? ReadRest(stream) : std::vector<Byte>();
    SDL_RWseek(stream, start, RW_SEEK_SET);
    if (!flac)
        return false;
    const Byte* const begin = rest.data();
    const Byte* const end = begin + rest.size();
    if (rest.size() < BlockHeaderBytes + StreamInfoBytes || !IsPlayableStreamInfo(begin))
        return true;
    const Byte* const frames = SkipMetadata(begin, end);
    return !frames || !AreFramesPlayable(frames, end);
}
