#include "Graphics/JpegHeader.h"

#include <cstring>

namespace
{

constexpr Uint8 MarkerStart = 0xFF;
constexpr Uint8 StartOfImage = 0xD8;
constexpr Uint8 EndOfImage = 0xD9;
constexpr Uint8 StartOfScan = 0xDA;
constexpr Uint8 AdobeSegment = 0xEE; // APP14
// Precision, height, width and the component count.
constexpr int FrameFieldCount = 6;
// "Adobe", version, two flag words and the transform.
constexpr int AdobeFieldCount = 12;

bool ReadBytes(SDL_RWops* stream, Uint8* bytes, int count)
{
    return SDL_RWread(stream, bytes, count, 1) == 1;
}

// The start-of-frame markers, of every coding; C4, C8 and CC are tables.
bool IsStartOfFrame(Uint8 marker)
{
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Markers without a length: TEM and the restart markers.
bool IsStandalone(Uint8 marker)
{
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

// The code of the next marker, past any fill bytes; 0 when the data ends or
// no marker stands there.
Uint8 ReadMarker(SDL_RWops* stream)
{
    Uint8 byte = 0;
    if (!ReadBytes(stream, &byte, 1) || byte != MarkerStart)
        return 0;
    while (byte == MarkerStart)
    {
        if (!ReadBytes(stream, &byte, 1))
            return 0;
    }
    return byte;
}

// Reads the fields the header needs from the start of a segment's payload of
// the size, then skips the rest; false when the data ends first.
bool ReadSegment(SDL_RWops* stream, Uint8 marker, int size, JpegHeader& header)
{
    Uint8 fields[AdobeFieldCount] = {};
    int read = 0;
    if (IsStartOfFrame(marker) && size >= FrameFieldCount)
    {
        read = FrameFieldCount;
        if (!ReadBytes(stream, fields, read))
            return false;
        header.components = fields[5];
    }
    else if (marker == AdobeSegment && size >= AdobeFieldCount)
    {
        read = AdobeFieldCount;
        if (!ReadBytes(stream, fields, read))
            return false;
        if (std::memcmp(fields, "Adobe", 5) == 0)
        {
            header.adobe = true;
            header.adobeTransform = fields[11];
        }
    }
    return SDL_RWseek(stream, size - read, RW_SEEK_CUR) >= 0;
}

} // namespace

JpegHeader JpegHeader::Read(SDL_RWops* stream)
{
    JpegHeader header;
    const int start = SDL_RWtell(stream);
    if (ReadMarker(stream) == StartOfImage)
    {
        // Every segment moves the stream forward, so the data's end ends this.
        for (Uint8 marker = ReadMarker(stream);
             marker != 0 && marker != StartOfScan && marker != EndOfImage;
             marker = ReadMarker(stream))
        {
            if (IsStandalone(marker))
                continue;
            Uint8 length[2];
            if (!ReadBytes(stream, length, 2))
                break;
            const int size = (length[0] << 8 | length[1]) - 2;
            if (size < 0 || !ReadSegment(stream, marker, size, header))
                break;
        }
    }
    SDL_RWseek(stream, start, RW_SEEK_SET);
    return header;
}
