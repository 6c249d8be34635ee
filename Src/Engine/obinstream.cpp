#include "Engine/obinstream.h"

#include "Engine/ByteOrder.h"
#include "Engine/Error.h"
#include "Platform/FileSystem.h"

#include <cstring>

obinstream::obinstream(const std::string& name) : file(Platform::OpenFile(name, "wb")), name(name)
{
    if (!file)
        throw Error("Can't write file '", name, "'");
}

obinstream::~obinstream()
{
    if (file)
        std::fclose(file);
}

void obinstream::Close()
{
    if (!file)
        return;
    const bool written = !std::ferror(file);
    const bool closed = std::fclose(file) == 0;
    file = nullptr;
    if (!written || !closed)
        throw Error("Can't write file '", name, "'");
}

void obinstream::WriteU16(std::uint16_t value)
{
    const std::uint16_t bigEndian = SwapBytes16(value);
    std::fwrite(&bigEndian, sizeof bigEndian, 1, file);
}

void obinstream::WriteU32(std::uint32_t value)
{
    const std::uint32_t bigEndian = SwapBytes32(value);
    std::fwrite(&bigEndian, sizeof bigEndian, 1, file);
}

obinstream& obinstream::operator<<(const std::string& text)
{
    std::fwrite(text.data(), 1, text.size(), file);
    return *this;
}

obinstream& obinstream::operator<<(float value)
{
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    WriteU32(bits);
    return *this;
}

obinstream& obinstream::operator<<(int value)
{
    WriteU16(static_cast<std::uint16_t>(value));
    return *this;
}

obinstream& obinstream::operator<<(unsigned value)
{
    WriteU16(static_cast<std::uint16_t>(value));
    return *this;
}
