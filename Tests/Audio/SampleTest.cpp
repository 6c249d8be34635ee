#include "Audio/Sample.h"

#include "Audio/MixerTest.h"
#include "Engine/DataStore.h"
#include "Engine/ResourceType.h"
#include "Support/Archive.h"
#include "Support/Capture.h"
#include "Support/FakeResource.h"

#include <atomic>
#include <memory>

namespace
{

const int LongFrames = 10 * SoundFrequency;

std::atomic<int> finishedChannels(0);

void CountFinishedChannel(int /*channel*/)
{
    ++finishedChannels;
}

// Counts the channels that end by themselves (faded out or played to the
// end); a channel stopped by freeing its chunk is not counted.
class SampleTest : public MixerTest
{
protected:
    void SetUp() override
    {
        MixerTest::SetUp();
        finishedChannels = 0;
        Mix_ChannelFinished(CountFinishedChannel);
    }

    void TearDown() override
    {
        Mix_ChannelFinished(nullptr);
        MixerTest::TearDown();
    }
};

std::unique_ptr<Sample> LoadSample(const std::string& path)
{
    auto sample = std::make_unique<Sample>(path);
    sample->Load();
    EXPECT_NE(nullptr, sample->GetChunk()) << path;
    return sample;
}

int CountChannels(const Sample& sample)
{
    int count = 0;
    for (int channel = 0; channel < Audio::GetMixChannels(); ++channel)
    {
        if (Mix_GetChunk(channel) == sample.GetChunk() && Mix_Playing(channel))
            ++count;
    }
    return count;
}

} // namespace

TEST_F(SampleTest, LoadsThroughTheStoreFromDiskAndFromTheArchive)
{
    for (const bool zipped : {false, true})
    {
        SCOPED_TRACE(zipped ? "archive" : "disk");
        WriteWav("Data/Sounds/beep.wav", {{1000, 2205}});
        WriteTextFile("Data/beep.xml", "<Sample file=\"Sounds/beep.wav\"/>");
        if (zipped)
            MoveIntoArchive({"Data/Sounds/beep.wav", "Data/beep.xml"});
        DataStore store(nullptr);
        store.AddResource("Data/beep.xml", "Beep", ResourceType::Sample);
        store.AddResource("Data/Sounds/beep.wav", nullptr, ResourceType::Sample);
        Sample* const described = store.GetSample("Beep", true);
        Sample* const direct = store.GetSample("Data/Sounds/beep.wav", true);
        ASSERT_TRUE(ProcessUntil(store, [&] { return described->IsReady() && direct->IsReady(); }));
        for (const Sample* sample : {described, direct})
        {
            ASSERT_NE(nullptr, sample->GetChunk());
            EXPECT_EQ(2205u * 4, sample->GetChunk()->alen);
        }
        described->Play();
        EXPECT_EQ(1, CountChannels(*described));
    }
}

TEST_F(SampleTest, LoadErrorsNameTheProblem)
{
    struct Case
    {
        const char* path;
        const char* content; // null: no such file
        const char* error;
    };
    const Case cases[] = {
        {"beep.xml", "<Sample file=\"\"/>", "Sample filename was not specified!"},
        {"Data/bad.wav", "RIFF, but no sound", "Unknown sample format: Data/bad.wav"},
        {"Data/none.wav", nullptr, "Can't open file 'Data/none.wav'"},
    };
    for (const Case& c : cases)
    {
        if (c.content)
            WriteTextFile(c.path, c.content);
        Sample sample(c.path);
        EXPECT_EQ(c.error, ErrorOf([&] { sample.Load(); })) << c.path;
        EXPECT_EQ(nullptr, sample.GetChunk());
    }
}

TEST_F(SampleTest, TheDefinitionHasNoTagsOfItsOwn)
{
    WriteWav("beep.wav", {{1000, 100}});
    WriteTextFile("beep.xml", "<Sample file=\"beep.wav\">\n<loop pos=\"1\"/></Sample>");
    Sample sample("beep.xml");
    EXPECT_EQ("Unknown XML tag 'loop', in file 'beep.xml' line 2\n",
              OutputOf([&] { sample.Load(); }));
    EXPECT_NE(nullptr, sample.GetChunk());
}

// SDL_mixer crashes when a chunk is played or its channels are asked for
// after the mixer has closed.
TEST_F(SampleTest, WithTheMixerClosedNothingLoadsOrPlays)
{
    WriteWav("beep.wav", {{1000, LongFrames}});
    const std::unique_ptr<Sample> early = LoadSample("beep.wav");
    early->SetVolume(40);
    EXPECT_EQ(40, early->GetChunk()->volume);
    early->Play();
    audio.Quit();

    Sample late("beep.wav");
    late.Load();
    EXPECT_EQ(nullptr, late.GetChunk());
    Sample missing("none.wav");
    EXPECT_EQ("no error", ErrorOf([&] { missing.Load(); }));

    early->Play();
    early->SetVolume(10);
    EXPECT_EQ(40, early->GetChunk()->volume);
}

TEST_F(SampleTest, DestroyingASampleFadesOutItsOwnChannelsFirst)
{
    WriteWav("long.wav", {{1000, LongFrames}});
    std::unique_ptr<Sample> sample = LoadSample("long.wav");
    const std::unique_ptr<Sample> other = LoadSample("long.wav");
    sample->Play();
    sample->Play();
    other->Play();
    ASSERT_EQ(2, CountChannels(*sample));

    sample.reset();
    EXPECT_EQ(2, finishedChannels);
    EXPECT_EQ(1, Mix_Playing(-1));
    EXPECT_EQ(1, CountChannels(*other));
}

// A paused channel never ends its fade.
TEST_F(SampleTest, DestroyingASampleGivesUpWaitingForAStuckChannel)
{
    WriteWav("long.wav", {{1000, LongFrames}});
    std::unique_ptr<Sample> sample = LoadSample("long.wav");
    sample->Play();
    Mix_Pause(-1);

    sample.reset();
    EXPECT_EQ(0, finishedChannels);
    EXPECT_EQ(0, Mix_Playing(-1));
}
