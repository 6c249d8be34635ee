#include "Audio/Audio.h"

#include "Audio/MixerTest.h"
#include "Audio/Music.h"
#include "Audio/Sample.h"
#include "Engine/Error.h"
#include "Support/FakeResource.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace
{

// Every test starts with SDL and the mixer closed; SDL_AUDIODRIVER is dummy.
class AudioTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        audio.Quit();
        SDL_Quit();
    }

    // Starts with the settings' defaults of 0.
    void Open()
    {
        audio.Init(frequency, chunkSize, outputChannels, mixChannels, false);
        ASSERT_TRUE(Audio::IsOpen());
    }

    std::string InitFailure()
    {
        try
        {
            audio.Init(frequency, chunkSize, outputChannels, mixChannels, false);
        }
        catch (const Error& e)
        {
            return e.what();
        }
        return "no error";
    }

    Audio audio;
    int frequency = 0;
    int chunkSize = 0;
    int outputChannels = 0;
    int mixChannels = 0;
};

TEST_F(AudioTest, MissingValuesBecomeTheDefaultsAndAreWrittenBack)
{
    Open();
    EXPECT_EQ(22050, frequency);
    EXPECT_EQ(4096, chunkSize);
    EXPECT_EQ(2, outputChannels);
    EXPECT_EQ(8, mixChannels);
    EXPECT_EQ(8, Audio::GetMixChannels());
    EXPECT_EQ(743, Audio::GetFadeMs());

    int openFrequency = 0;
    Uint16 format = 0;
    int openChannels = 0;
    ASSERT_EQ(1, Mix_QuerySpec(&openFrequency, &format, &openChannels));
    EXPECT_EQ(22050, openFrequency);
    EXPECT_EQ(AUDIO_S16LSB, format);
    EXPECT_EQ(2, openChannels);
}

TEST_F(AudioTest, GivenValuesAreUsedAndASecondInitDoesNothing)
{
    frequency = 44100;
    chunkSize = 1024;
    mixChannels = 16;
    Open();
    EXPECT_EQ(16, Mix_AllocateChannels(-1));
    EXPECT_EQ(1024 * 4000 / 44100, Audio::GetFadeMs());

    int again = 0;
    audio.Init(again, again, again, again, false);
    EXPECT_EQ(0, again);
}

TEST_F(AudioTest, VolumesAreClampedInPlace)
{
    Open();
    struct Case
    {
        float given;
        float stored;
        int mixer;
    };
    const Case cases[] = {{1.7f, 1.0f, 128}, {-0.2f, 0.0f, 0}, {0.5f, 0.5f, 64}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.given);
        float music = c.given;
        float effects = c.given;
        audio.SetVolume(music, effects);
        EXPECT_FLOAT_EQ(c.stored, music);
        EXPECT_FLOAT_EQ(c.stored, effects);
        EXPECT_EQ(c.mixer, Mix_VolumeMusic(-1));
        EXPECT_EQ(c.mixer, Mix_Volume(0, -1));
    }
}

TEST_F(AudioTest, QuitClosesTheMixerAndAClosedMixerIgnoresVolumes)
{
    Open();
    audio.Quit();
    EXPECT_FALSE(Audio::IsOpen());
    EXPECT_EQ(0, Mix_QuerySpec(nullptr, nullptr, nullptr));

    float music = 1.7f;
    float effects = -1.0f;
    audio.SetVolume(music, effects);
    EXPECT_FLOAT_EQ(1.7f, music);
    EXPECT_FLOAT_EQ(-1.0f, effects);
}

// SDL takes 1, 2, 4 or 6 output channels; an unknown driver leaves it no
// device.
TEST_F(AudioTest, AMixerThatCannotOpenClosesTheAudioSubsystemAgain)
{
    struct Case
    {
        const char* driver;
        int outputChannels;
    };
    const char* const driver = std::getenv("SDL_AUDIODRIVER");
    const std::string usual = driver ? driver : "dummy";
    const Case cases[] = {{usual.c_str(), 3}, {"nonexistent", 2}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.driver);
        setenv("SDL_AUDIODRIVER", c.driver, 1);
        outputChannels = c.outputChannels;
        const std::string failure = InitFailure();
        setenv("SDL_AUDIODRIVER", usual.c_str(), 1);
        EXPECT_EQ(0u, failure.find("SDL_mixer error: ")) << failure;
        EXPECT_FALSE(Audio::IsOpen());
        EXPECT_EQ(0u, SDL_WasInit(SDL_INIT_AUDIO));
    }
}

using SilenceTest = MixerTest;

// Were the music's hook left, the music would start again at the end of its
// fade.
TEST_F(SilenceTest, HaltAllAndFadeOutAllSilenceEverythingForGood)
{
    WriteWav("long.wav", {{1000, 30 * SoundFrequency}});
    Sample sample("long.wav");
    sample.Load();
    Music music("long.wav");
    music.Load();
    const std::function<void(Audio&)> silencers[] = {[](Audio& a) { a.HaltAll(); },
                                                     [](Audio& a) { a.FadeOutAll(100); }};
    for (const std::function<void(Audio&)>& silence : silencers)
    {
        sample.Play();
        sample.Play();
        music.Play(100);
        ASSERT_EQ(2, Mix_Playing(-1));
        ASSERT_TRUE(Mix_PlayingMusic());

        silence(audio);
        ASSERT_TRUE(PollUntil([] { return Mix_Playing(-1) == 0 && !Mix_PlayingMusic(); }));
        audio.WaitForSilence();
    }
}

} // namespace
