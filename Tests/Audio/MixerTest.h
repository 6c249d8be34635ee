#pragma once

#include "Audio/Audio.h"
#include "Audio/AudioKinds.h"
#include "Engine/DataFile.h"
#include "Support/Sounds.h"
#include "Support/TempDirectory.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

// Tests that play sounds, in a fresh working directory, with the audio kinds
// registered. The mixer runs on the test's audio driver (dummy under ctest,
// which mixes in real time and plays nothing) at the sounds' rate, with short
// chunks so that fades end soon, and at full volumes.
class MixerTest : public testing::Test
{
protected:
    void SetUp() override
    {
        CreateFileMutex();
        RegisterAudioKinds();
        int frequency = SoundFrequency;
        int chunkSize = 1024;
        int outputChannels = 2;
        int mixChannels = 8;
        audio.Init(frequency, chunkSize, outputChannels, mixChannels, false);
        float musicVolume = 1.0f;
        float effectsVolume = 1.0f;
        audio.SetVolume(musicVolume, effectsVolume);
    }

    void TearDown() override
    {
        audio.Quit();
        SDL_Quit();
        DestroyFileMutex();
    }

    TempDirectory directory;
    Audio audio;
};
