#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Sounds for the tests, 16-bit stereo at the mixer's default 22050 Hz, so
// that the mixer plays their samples unchanged. Each is made of stretches of
// one constant value on both channels, which a listener on the mixed output
// can tell apart.
struct SoundStretch
{
    std::int16_t value;
    int frames; // sample frames; for FLAC a multiple of FlacBlockFrames
};

using SoundStretches = std::vector<SoundStretch>;

const int SoundFrequency = 22050;
const int FlacBlockFrames = 4096;

// A PCM WAV file; its folders are made.
void WriteWav(const std::string& name, const SoundStretches& stretches);

// The fields of a WAV format chunk.
struct WavFormat
{
    int tag; // 1 for PCM
    int channels;
    int rate;
    int bits;
};

// A WAV file of silence whose format chunk holds the values as given, after a
// chunk of another kind.
void WriteWav(const std::string& name, const WavFormat& format, int frames);

// The stream information of a FLAC file; its frames have as many channels of
// as many bits, and take their rate from it unless it is 22050 Hz.
struct FlacFormat
{
    int channels;
    int bits; // 8, 16 or 24; the values are cut or widened to them
    int rate;
};

const FlacFormat StereoFlac = {2, 16, SoundFrequency};

// How a FLAC file's blocks hold their samples: as one value for all, or each
// sample written out, which makes a file as large as an encoder's of noise.
enum class FlacSubframes
{
    Constant,
    Verbatim
};

// A FLAC file of blocks of one value each, which the mixer can seek in (it
// cannot in a WAV music). Fails the current test for a stretch that is no whole number
// of blocks or a sound of more than 127 blocks.
void WriteFlac(const std::string& name, const SoundStretches& stretches,
               const FlacFormat& format = StereoFlac,
               FlacSubframes subframes = FlacSubframes::Constant);
