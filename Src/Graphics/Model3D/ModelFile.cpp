#include "Graphics/Model3D/ModelFile.h"

#include "Engine/Error.h"
#include "Engine/StringUtil.h"
#include "Engine/ibinstream.h"

namespace Model3D::ModelFile
{

namespace
{

// A number read past the end of the data is made of 0xFF bytes, which could
// pass for -1 or 65535.
void CheckRead(const ibinstream& in)
{
    if (in.fail())
        Fail();
}

} // namespace

void Fail()
{
    throw Error("Internal error");
}

void Expect(ibinstream& in, const char* word)
{
    std::string read;
    in >> read;
    if (read != word)
        Fail();
}

std::size_t ReadCount(ibinstream& in)
{
    int count = 0;
    in >> count;
    CheckRead(in);
    if (count < 0 || static_cast<std::size_t>(count) > MaxCount)
        Fail();
    return static_cast<std::size_t>(count);
}

void ExpectCount(ibinstream& in, std::size_t expected)
{
    unsigned count = 0;
    in >> count;
    CheckRead(in);
    if (count != expected)
        Fail();
}

std::uint32_t ReadIndex(ibinstream& in, std::size_t limit)
{
    unsigned index = 0;
    in >> index;
    CheckRead(in);
    if (index >= limit)
        Fail();
    return index;
}

std::int32_t ReadFace(ibinstream& in, std::size_t limit, bool noneAllowed)
{
    int face = 0;
    in >> face;
    CheckRead(in);
    if (noneAllowed && face == None)
        return face;
    if (face < 0 || static_cast<std::size_t>(face) >= limit)
        Fail();
    return face;
}

void ReadFloats(ibinstream& in, float* values, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i)
        in >> values[i];
    CheckRead(in);
}

void CheckWord(const std::string& text, const std::string& what)
{
    if (text.find_first_of(std::string(" \n\r\0", 4)) != std::string::npos)
        throw Error(what, " '", text, "' holds a blank, line feed, carriage return or NUL");
}

void CheckCount(std::size_t count, std::size_t limit, const std::string& owner,
                const char* unit)
{
    if (count > limit)
        throw Error(owner, " has more than ", ToString(static_cast<int>(limit)), " ", unit);
}

} // namespace Model3D::ModelFile
