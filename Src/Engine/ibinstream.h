#pragma once

#include <cstdint>
#include <ios>
#include <string>

// Reads the model file format from a stream buffer: numbers big-endian, text
// as words. Reading past the end of the data sets eof and fail; the missing
// bytes of a number read as 0xFF.
class ibinstream : public std::basic_ios<char>
{
public:
    explicit ibinstream(std::streambuf* buffer);
    ~ibinstream() override = default;

    std::uint16_t ReadU16();
    std::uint32_t ReadU32();

    ibinstream& operator>>(float& value);
    // A 16-bit number, sign-extended.
    ibinstream& operator>>(int& value);
    // A 16-bit number, zero-extended.
    ibinstream& operator>>(unsigned& value);
    // The bytes up to the next NUL, blank, line feed or carriage return, which
    // is consumed. Nothing is skipped first, so two delimiters in a row give an
    // empty word. The end of the data ends a word too (only an empty one fails).
    ibinstream& operator>>(std::string& word);

private:
    void ReadBytes(void* data, std::streamsize count);
};
