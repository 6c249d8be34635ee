#include "Engine/Error.h"
#include "Engine/ibinstream.h"
#include "Engine/obinstream.h"
#include "Support/TempDirectory.h"

#include <gtest/gtest.h>
#include <sstream>
#include <vector>

namespace
{

std::string Bytes(std::initializer_list<int> values)
{
    std::string bytes;
    for (int value : values)
        bytes += static_cast<char>(value);
    return bytes;
}

std::vector<std::string> ReadWords(const std::string& data)
{
    std::stringbuf buffer(data);
    ibinstream in(&buffer);
    std::vector<std::string> words;
    std::string word;
    while (in >> word)
        words.push_back(word);
    return words;
}

} // namespace

TEST(BinaryStreamTest, WritesNumbersBigEndianAndTextRaw)
{
    TempDirectory dir;
    obinstream out("model.3d");
    out << -2 << 1.0f << 65534u << 70000 << std::string("MeshCount: ");
    out.WriteU16(0x0102);
    out.WriteU32(0x03040506);
    out.Close();

    EXPECT_EQ(Bytes({0xFF, 0xFE, 0x3F, 0x80, 0x00, 0x00, 0xFF, 0xFE, 0x11, 0x70}) +
                  "MeshCount: " + Bytes({0x01, 0x02, 0x03, 0x04, 0x05, 0x06}),
              ReadTextFile("model.3d"));
}

TEST(BinaryStreamTest, ReadsBackWhatWasWritten)
{
    std::stringbuf buffer(Bytes({0xFF, 0xFE, 0xFF, 0xFE, 0x3F, 0x80, 0x00, 0x00, 0xC1, 0x48, 0x00,
                                 0x00, 0x11, 0x70, 0x01, 0x02, 0x03, 0x04}));
    ibinstream in(&buffer);
    int number = 0;
    unsigned count = 0;
    float one = 0;
    float negative = 0;
    int truncated = 0;
    in >> number >> count >> one >> negative >> truncated;
    EXPECT_EQ(-2, number);
    EXPECT_EQ(65534u, count);
    EXPECT_EQ(1.0f, one);
    EXPECT_EQ(-12.5f, negative);
    EXPECT_EQ(4464, truncated); // 70000 keeps its low 16 bits only
    EXPECT_EQ(0x01020304u, in.ReadU32());
    EXPECT_TRUE(in.good());
}

TEST(BinaryStreamTest, ReadingPastTheEndFails)
{
    std::stringbuf buffer(Bytes({0x12}));
    ibinstream in(&buffer);
    EXPECT_EQ(0x12FF, in.ReadU16());
    EXPECT_TRUE(in.fail());
    EXPECT_TRUE(in.eof());
    EXPECT_EQ(0xFFFFFFFFu, in.ReadU32());

    std::stringbuf empty;
    ibinstream words(&empty);
    std::string word = "old";
    EXPECT_FALSE(words >> word);
    EXPECT_EQ("", word);
}

TEST(BinaryStreamTest, WordsEndAtEachDelimiterAndAtTheEnd)
{
    using Words = std::vector<std::string>;
    EXPECT_EQ((Words{"ab", "cd"}), ReadWords("ab cd"));
    EXPECT_EQ((Words{"ab", "", "cd"}), ReadWords("ab  cd"));
    EXPECT_EQ((Words{"a", "b", "c", "d"}), ReadWords(std::string("a\nb\rc\0d", 7)));
    EXPECT_EQ((Words{"", "x"}), ReadWords(" x\n"));
    EXPECT_EQ((Words{"Texture", "Data/a.png"}), ReadWords("Texture Data/a.png"));
}

TEST(BinaryStreamTest, AFileThatCannotBeWrittenThrows)
{
    TempDirectory dir;
    try
    {
        obinstream out("missing/model.3d");
        FAIL() << "opened a file in a missing folder";
    }
    catch (const Error& e)
    {
        EXPECT_STREQ("Can't write file 'missing/model.3d'", e.what());
    }

    obinstream full("/dev/full");
    full << std::string(1 << 16, 'x');
    try
    {
        full.Close();
        FAIL() << "a failed write was not reported";
    }
    catch (const Error& e)
    {
        EXPECT_STREQ("Can't write file '/dev/full'", e.what());
    }
}
