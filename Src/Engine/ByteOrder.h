#pragma once

#include <SDL_endian.h>
#include <cstdint>

// The binary streams write big-endian files on a little-endian machine by
// swapping every number.
static_assert(SDL_BYTEORDER == SDL_LIL_ENDIAN, "the binary streams expect a little-endian machine");

inline std::uint16_t SwapBytes16(std::uint16_t value)
{
    return static_cast<std::uint16_t>((value >> 8) | (value << 8));
}

inline std::uint32_t SwapBytes32(std::uint32_t value)
{
    return (value >> 24) | ((value >> 8) & 0xFF00u) | ((value << 8) & 0xFF0000u) | (value << 24);
}

// The number that count bytes (at most 8) of a file format hold, least
// significant first.
inline std::uint64_t ReadLittleEndian(const unsigned char* bytes, int count)
{
    std::uint64_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = value << 8 | bytes[i];
    return value;
}

// The same, most significant first.
inline std::uint64_t ReadBigEndian(const unsigned char* bytes, int count)
{
    std::uint64_t value = 0;
    for (int i = 0; i < count; ++i)
        value = value << 8 | bytes[i];
    return value;
}
