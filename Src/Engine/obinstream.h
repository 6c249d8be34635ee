#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

// Writes the model file format to a file: numbers big-endian, text as its raw
// bytes. Single writes are not checked; Close reports any failure.
class obinstream
{
public:
    // Throws Error "Can't write file '<name>'" when the file cannot be created.
    explicit obinstream(const std::string& name);
    // Closes the file if Close was not called, without checking.
    ~obinstream();
    obinstream(const obinstream&) = delete;
    obinstream& operator=(const obinstream&) = delete;

    // Closes the file; throws Error "Can't write file '<name>'" when any write
    // or the close failed.
    void Close();

    void WriteU16(std::uint16_t value);
    void WriteU32(std::uint32_t value);

    // The bytes of the text, without length or terminator.
    obinstream& operator<<(const std::string& text);
    obinstream& operator<<(float value);
    // The low 16 bits of the number.
    obinstream& operator<<(int value);
    obinstream& operator<<(unsigned value);

private:
    std::FILE* file;
    std::string name;
};
