#include "Support/Sounds.h"

#include "Support/TempDirectory.h"

#include <gtest/gtest.h>

namespace
{

const int Channels = 2;
const int BytesPerSample = 2;

// Appends numbers to a byte string, little-endian as in RIFF or big-endian as
// in FLAC.
class Bytes
{
public:
    void Little(std::uint32_t value, int bytes)
    {
        for (int i = 0; i < bytes; ++i)
            text.push_back(static_cast<char>(value >> (8 * i)));
    }
    void Big(std::uint64_t value, int bytes)
    {
        for (int i = bytes - 1; i >= 0; --i)
            text.push_back(static_cast<char>(value >> (8 * i)));
    }
    void Append(const std::string& more) { text += more; }

    std::string text;
};

int CountFrames(const SoundStretches& stretches)
{
    int frames = 0;
    for (const SoundStretch& stretch : stretches)
        frames += stretch.frames;
    return frames;
}

// The checksums of FLAC frames: most significant bit first, starting at 0.
std::uint32_t Crc(const std::string& bytes, int bits, std::uint32_t polynomial)
{
    const std::uint32_t top = 1u << (bits - 1);
    const std::uint32_t mask = (top << 1) - 1;
    std::uint32_t crc = 0;
    for (const char byte : bytes)
    {
        crc ^= static_cast<std::uint32_t>(static_cast<unsigned char>(byte)) << (bits - 8);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & top) ? ((crc << 1) ^ polynomial) & mask : (crc << 1) & mask;
    }
    return crc;
}

// Header (6 bytes), one subframe per channel (a byte, then the value or every
// sample), CRC-16.
int FlacFrameBytes(const FlacFormat& format, FlacSubframes subframes)
{
    const int samples = subframes == FlacSubframes::Constant ? 1 : FlacBlockFrames;
    return 6 + format.channels * (1 + samples * format.bits / 8) + 2;
}

// The frame header's codes of 8, 16 and 24 bits.
int FlacBitsCode(int bits)
{
    return bits == 8 ? 1 : bits == 16 ? 4 : 6;
}

std::string FlacSubframe(const FlacFormat& format, FlacSubframes subframes, std::int16_t value)
{
    Bytes subframe;
    const bool constant = subframes == FlacSubframes::Constant;
    subframe.Big(constant ? 0 : 2, 1); // its type
    for (int i = 0; i < (constant ? 1 : FlacBlockFrames); ++i)
        subframe.Big(static_cast<std::uint16_t>(value), format.bits / 8);
    return subframe.text;
}

std::string FlacFrame(const FlacFormat& format, FlacSubframes subframes, int number,
                      std::int16_t value)
{
    const int rateCode = format.rate == SoundFrequency ? 4 : 0; // 0: the stream's rate
    Bytes frame;
    frame.Big(0xFFF8, 2);          // sync code, fixed block size
    frame.Big(0xC0 | rateCode, 1); // 4096 frames
    frame.Big((format.channels - 1) << 4 | FlacBitsCode(format.bits) << 1, 1);
    frame.Big(number, 1); // the frame number, coded as UTF-8 below 128
    frame.Big(Crc(frame.text, 8, 0x07), 1);
    for (int channel = 0; channel < format.channels; ++channel)
        frame.Append(FlacSubframe(format, subframes, value));
    frame.Big(Crc(frame.text, 16, 0x8005), 2);
    return frame.text;
}

// The RIFF header, the chunks before the format, the format chunk and the head
// of the data chunk.
Bytes WavHeader(const WavFormat& format, const std::string& chunksBefore, std::uint32_t dataBytes)
{
    const int frameBytes = format.channels * format.bits / 8;
    Bytes wav;
    wav.Append("RIFF");
    wav.Little(static_cast<std::uint32_t>(36 + chunksBefore.size()) + dataBytes, 4);
    wav.Append("WAVE" + chunksBefore + "fmt ");
    wav.Little(16, 4);
    wav.Little(format.tag, 2);
    wav.Little(format.channels, 2);
    wav.Little(format.rate, 4);
    wav.Little(static_cast<std::uint32_t>(format.rate) * frameBytes, 4);
    wav.Little(frameBytes, 2);
    wav.Little(format.bits, 2);
    wav.Append("data");
    wav.Little(dataBytes, 4);
    return wav;
}

} // namespace

void WriteWav(const std::string& name, const WavFormat& format, int frames)
{
    const std::uint32_t dataBytes = frames * format.channels * format.bits / 8;
    Bytes list;
    list.Append("LIST");
    list.Little(4, 4);
    list.Append("INFO");
    Bytes wav = WavHeader(format, list.text, dataBytes);
    wav.Append(std::string(dataBytes, '\0'));
    WriteTextFile(name, wav.text);
}

void WriteWav(const std::string& name, const SoundStretches& stretches)
{
    const std::uint32_t dataBytes = CountFrames(stretches) * Channels * BytesPerSample;
    Bytes wav = WavHeader({1, Channels, SoundFrequency, 8 * BytesPerSample}, "", dataBytes);
    for (const SoundStretch& stretch : stretches)
    {
        for (int i = 0; i < stretch.frames * Channels; ++i)
            wav.Little(static_cast<std::uint16_t>(stretch.value), BytesPerSample);
    }
    WriteTextFile(name, wav.text);
}

void WriteFlac(const std::string& name, const SoundStretches& stretches, const FlacFormat& format,
               FlacSubframes subframes)
{
    const int frames = CountFrames(stretches);
    ASSERT_LT(frames / FlacBlockFrames, 128) << name;
    Bytes flac;
    flac.Append("fLaC");
    flac.Big(0x80, 1); // the last metadata block: stream information
    flac.Big(34, 3);
    flac.Big(FlacBlockFrames, 2);
    flac.Big(FlacBlockFrames, 2);
    flac.Big(FlacFrameBytes(format, subframes), 3);
    flac.Big(FlacFrameBytes(format, subframes), 3);
    flac.Big(static_cast<std::uint64_t>(format.rate) << 44 |
                 static_cast<std::uint64_t>(format.channels - 1) << 41 |
                 static_cast<std::uint64_t>(format.bits - 1) << 36 |
                 static_cast<std::uint64_t>(frames),
             8);
    flac.Append(std::string(16, '\0')); // no MD5 signature
    int number = 0;
    for (const SoundStretch& stretch : stretches)
    {
        ASSERT_EQ(0, stretch.frames % FlacBlockFrames) << name;
        for (int block = 0; block < stretch.frames / FlacBlockFrames; ++block)
            flac.Append(FlacFrame(format, subframes, number++, stretch.value));
    }
    WriteTextFile(name, flac.text);
}
