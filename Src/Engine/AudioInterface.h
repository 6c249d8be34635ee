#pragma once

// What the engine core needs of the sound system at start-up.
class AudioInterface
{
public:
    virtual ~AudioInterface() = default;

    // Opens the mixer. Values below 1 are replaced by defaults, and the values
    // used are written back, so the settings keep what was actually opened.
    virtual void Init(int& frequency, int& chunkSize, int& outputChannels, int& mixChannels,
                      bool reverseStereo) = 0;
    // Volumes from 0 to 1, clamped in place.
    virtual void SetVolume(float& music, float& effects) = 0;
};
