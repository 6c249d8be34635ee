#include "Engine/ibinstream.h"

#include "Engine/ByteOrder.h"

#include <algorithm>
#include <cstring>

ibinstream::ibinstream(std::streambuf* buffer)
{
    init(buffer);
}

void ibinstream::ReadBytes(void* data, std::streamsize count)
{
    char* bytes = static_cast<char*>(data);
    const std::streamsize read = rdbuf() ? rdbuf()->sgetn(bytes, count) : 0;
    if (read < count)
    {
        std::fill(bytes + read, bytes + count, '\xFF');
        setstate(std::ios::eofbit | std::ios::failbit);
    }
}

std::uint16_t ibinstream::ReadU16()
{
    std::uint16_t value;
    ReadBytes(&value, sizeof value);
    return SwapBytes16(value);
}

std::uint32_t ibinstream::ReadU32()
{
    std::uint32_t value;
    ReadBytes(&value, sizeof value);
    return SwapBytes32(value);
}

ibinstream& ibinstream::operator>>(float& value)
{
    const std::uint32_t bits = ReadU32();
    std::memcpy(&value, &bits, sizeof value);
    return *this;
}

ibinstream& ibinstream::operator>>(int& value)
{
    value = static_cast<std::int16_t>(ReadU16());
    return *this;
}

ibinstream& ibinstream::operator>>(unsigned& value)
{
    value = ReadU16();
    return *this;
}

ibinstream& ibinstream::operator>>(std::string& word)
{
    word.clear();
    std::streambuf* const buffer = rdbuf();
    for (;;)
    {
        const int c = buffer ? buffer->sbumpc() : EOF;
        if (c == EOF)
        {
            setstate(word.empty() ? std::ios::eofbit | std::ios::failbit : std::ios::eofbit);
            return *this;
        }
        if (c == '\0' || c == ' ' || c == '\n' || c == '\r')
            return *this;
        word += static_cast<char>(c);
    }
}
