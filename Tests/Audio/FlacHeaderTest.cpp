#include "Audio/FlacHeader.h"

#include "Audio/MixerTest.h"
#include "Audio/Music.h"
#include "Support/Capture.h"

namespace
{

using FlacHeaderTest = MixerTest;

const char* const Path = "Data/music.flac";
const std::string Refused = std::string("Unknown audio format: ") + Path;

void WriteMusic(const FlacFormat& format)
{
    WriteFlac(Path, {{1001, 2 * FlacBlockFrames}}, format);
}

std::string LoadError()
{
    Music music(Path);
    const std::string error = ErrorOf([&] { music.Load(); });
    EXPECT_EQ(error == "no error", music.IsLoaded());
    return error;
}

} // namespace

// The mixer would load the others, play nothing of them, and restart them at
// their end for ever; at the lowest rates it crashes.
TEST_F(FlacHeaderTest, OnlySixteenBitStereoAtAUsualRateLoads)
{
    struct Case
    {
        const char* name;
        FlacFormat format;
        bool loads;
    };
    const Case cases[] = {
        {"16-bit stereo", StereoFlac, true},
        {"16-bit stereo at 48000 Hz", {2, 16, 48000}, true},
        {"mono", {1, 16, SoundFrequency}, false},
        {"8-bit stereo", {2, 8, SoundFrequency}, false},
        {"24-bit stereo", {2, 24, SoundFrequency}, false},
        {"six channels", {6, 16, SoundFrequency}, false},
        {"no rate", {2, 16, 0}, false},
        {"16 Hz", {2, 16, 16}, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        WriteMusic(c.format);
        EXPECT_EQ(c.loads ? "no error" : Refused, LoadError());
    }
}

TEST_F(FlacHeaderTest, AFileWithoutWholeStreamInformationIsRefused)
{
    WriteMusic(StereoFlac);
    const std::string whole = ReadTextFile(Path);
    std::string paddingFirst = whole;
    paddingFirst[4] = '\x81'; // the last metadata block, of padding
    const struct
    {
        const char* name;
        std::string content;
    } cases[] = {
        {"the marker alone", "fLaC"},
        {"cut short in the stream information", whole.substr(0, 20)},
        {"another block first", paddingFirst},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        WriteTextFile(Path, c.content);
        EXPECT_EQ(Refused, LoadError());
    }
}

// The mixer takes the channels from the stream information but reads every
// frame's own: of a frame of one channel it reads a second that is not there,
// and crashes. Behind the last frame, which ends where its checksum holds,
// anything without a frame header may follow.
TEST_F(FlacHeaderTest, EveryFrameMustHoldTwoChannelsOfSixteenBits)
{
    const std::size_t head = 4 + 4 + 34; // the marker and the stream information
    WriteMusic(StereoFlac);
    const std::string stereo = ReadTextFile(Path);
    WriteMusic({1, 16, SoundFrequency});
    const std::string mono = ReadTextFile(Path);
    const std::size_t stereoFrame = (stereo.size() - head) / 2;
    const std::size_t monoFrame = (mono.size() - head) / 2;
    const struct
    {
        const char* name;
        std::string content;
        bool loads;
    } cases[] = {
        {"frames of one channel", stereo.substr(0, head) + mono.substr(head), false},
        {"the last frame of one channel",
         stereo.substr(0, head + stereoFrame) + mono.substr(head + monoFrame), false},
        {"a tag behind the last frame", stereo + "TAG" + std::string(125, 'x'), true},
        {"a frame header of one channel behind the last frame",
         stereo + "TAG" + mono.substr(head, monoFrame), false},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        WriteTextFile(Path, c.content);
        EXPECT_EQ(c.loads ? "no error" : Refused, LoadError());
    }
}
