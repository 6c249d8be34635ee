#pragma once

#include "Engine/AudioInterface.h"

#include <atomic>

// The sound system: opens and closes SDL_mixer and sets the volumes. Its state
// is process-wide; while the mixer is closed every operation but Init does
// nothing.
class Audio : public AudioInterface
{
public:
    Audio() = default;
    // Quit.
    ~Audio() override;
    Audio(const Audio&) = delete;
    Audio& operator=(const Audio&) = delete;

    // Opens the mixer; does nothing when it is open. Values below 1 become
    // 22050 Hz, 4096-sample chunks, 2 output and 8 mixing channels, written
    // back. Throws Error, with the audio subsystem closed again.
    void Init(int& frequency, int& chunkSize, int& outputChannels, int& mixChannels,
              bool reverseStereo) override;
    void SetVolume(float& music, float& effects) override;
    // Stops every channel and the music and closes the mixer.
    void Quit();
    // Stop, or fade out, every channel and the music, whose finished hook is
    // taken away first so that nothing starts again.
    void HaltAll();
    void FadeOutAll(int ms);
    // Waits while any channel or the music plays.
    void WaitForSilence();

    static bool IsOpen() { return audioOpen; }
    static int GetMixChannels() { return mixChannels; }
    // Four mixing chunks: how long a sound fades out when it is destroyed.
    static int GetFadeMs() { return fadeMs; }

private:
    static void CheckMixerVersion();

    // Read by the loader threads.
    static std::atomic<bool> audioOpen;
    static int mixChannels;
    static int fadeMs;
};
