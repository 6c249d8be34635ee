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

// A FLAC file of constant blocks, which the mixer can seek in (it cannot in
// a WAV music). Fails the current test for a stretch that is no whole number
// of blocks or a sound of more than 127 blocks.
void WriteFlac(const std::string& name, const SoundStretches& stretches);
