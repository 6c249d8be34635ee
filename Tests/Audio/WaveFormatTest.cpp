#include "Audio/WaveFormat.h"

#include "Audio/MixerTest.h"
#include "Audio/Music.h"
#include "Audio/Sample.h"
#include "Support/Capture.h"

namespace
{

using WaveFormatTest = MixerTest;

} // namespace

// Both loaders check the format chunk before SDL sees it; at the edges of the
// range SDL converts the sound.
TEST_F(WaveFormatTest, TheLoadersTakeOnlyFormatsSdlCanConvert)
{
    struct Case
    {
        WavFormat format;
        const char* problem; // null: the sound loads
    };
    const Case cases[] = {
        {{1, 2, 22050, 16}, nullptr},
        {{1, 1, 1000, 8}, nullptr},
        {{1, 8, 192000, 16}, nullptr},
        {{1, 0, 22050, 16}, "it has 0 channels, not 1 to 8"},
        {{1, 9, 22050, 16}, "it has 9 channels, not 1 to 8"},
        {{1, 2, 0, 16}, "its rate of 0 Hz is not between 1000 and 192000"},
        {{1, 2, 1, 16}, "its rate of 1 Hz is not between 1000 and 192000"},
        {{1, 2, 999, 16}, "its rate of 999 Hz is not between 1000 and 192000"},
        {{1, 2, 192001, 16}, "its rate of 192001 Hz is not between 1000 and 192000"},
        {{1, 2, -1, 16}, "its rate of 4294967295 Hz is not between 1000 and 192000"},
        {{2, 2, 22050, 4}, "its samples are not 8- or 16-bit PCM (format 2, 4 bits)"},
        {{1, 2, 22050, 24}, "its samples are not 8- or 16-bit PCM (format 1, 24 bits)"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::to_string(c.format.channels) + " channels, " +
                     std::to_string(c.format.rate) + " Hz");
        WriteWav("Data/sound.wav", c.format, 256);
        Sample sample("Data/sound.wav");
        Music music("Data/sound.wav");
        const std::string expected =
            c.problem ? std::string("Can't play 'Data/sound.wav': ") + c.problem : "no error";
        EXPECT_EQ(expected, ErrorOf([&] { sample.Load(); }));
        EXPECT_EQ(expected, ErrorOf([&] { music.Load(); }));
        EXPECT_EQ(!c.problem, sample.GetChunk() != nullptr);
    }
}

TEST_F(WaveFormatTest, AWaveWithoutAWholeFormatChunkFails)
{
    const struct
    {
        std::string content;
        const char* problem;
    } cases[] = {
        {std::string("RIFF\x04\0\0\0WAVE", 12), "it has no format chunk"},
        {std::string("RIFF\x10\0\0\0WAVEdata\x00\0\0\0", 20), "it has no format chunk"},
        {std::string("RIFF\x10\0\0\0WAVEfmt \x10\0\0\0\x01\0\x02\0", 24),
         "its format chunk is cut short"},
        {std::string("RIFF\x10\0\0\0WAVEfmt \x08\0\0\0\x01\0\x02\0\x22\x56\0\0", 28),
         "its format chunk is cut short"},
        // A chunk whose size points past the end of the file.
        {std::string("RIFF\x10\0\0\0WAVELIST\xff\xff\xff\xff", 20), "it has no format chunk"},
    };
    for (const auto& c : cases)
    {
        WriteTextFile("Data/sound.wav", c.content);
        Sample sample("Data/sound.wav");
        EXPECT_EQ(std::string("Can't play 'Data/sound.wav': ") + c.problem,
                  ErrorOf([&] { sample.Load(); }));
    }
}
