#include "Audio/Music.h"

#include "Audio/MixerTest.h"
#include "Engine/DataStore.h"
#include "Engine/ResourceType.h"
#include "Support/Archive.h"
#include "Support/Capture.h"
#include "Support/FakeResource.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <vector>

namespace
{

using Levels = std::vector<std::int16_t>;

// The levels of the test pieces: "first" is one long level; "second" has an
// intro and a loop part, with its loop position inside the loop part.
const std::int16_t First = 3001;
const std::int16_t Intro = 7001;
const std::int16_t Loop = -7001;
const int PartFrames = 2 * FlacBlockFrames;
const char* const LoopPosition = "0.5"; // between 0.37 and 0.74 s

// Longer than any wait of a test, so that it never ends by itself.
const int LongFrames = 30 * SoundFrequency;

// Listens to the mixed output (the left channel) for the levels: the order
// in which they were heard, each change once, and for how many frames. Other
// values (silence, fading levels) are passed over.
class MixListener
{
public:
    explicit MixListener(const Levels& levels) : levels(levels), mutex(SDL_CreateMutex())
    {
        Mix_SetPostMix(Listen, this);
    }
    ~MixListener()
    {
        Mix_SetPostMix(nullptr, nullptr);
        SDL_DestroyMutex(mutex);
    }
    MixListener(const MixListener&) = delete;
    MixListener& operator=(const MixListener&) = delete;

    Levels Order() const
    {
        SDL_LockMutex(mutex);
        const Levels copy = order;
        SDL_UnlockMutex(mutex);
        return copy;
    }

    long Frames(std::int16_t level) const
    {
        SDL_LockMutex(mutex);
        const std::map<std::int16_t, long>::const_iterator found = frames.find(level);
        const long count = found == frames.end() ? 0 : found->second;
        SDL_UnlockMutex(mutex);
        return count;
    }

private:
    static void Listen(void* listener, Uint8* stream, int bytes)
    {
        static_cast<MixListener*>(listener)->Hear(reinterpret_cast<const Sint16*>(stream),
                                                  bytes / 4);
    }

    void Hear(const Sint16* samples, int count)
    {
        SDL_LockMutex(mutex);
        for (int i = 0; i < count; ++i)
        {
            const std::int16_t left = samples[2 * i];
            if (std::find(levels.begin(), levels.end(), left) == levels.end())
                continue;
            ++frames[left];
            if (order.empty() || order.back() != left)
                order.push_back(left);
        }
        SDL_UnlockMutex(mutex);
    }

    const Levels levels;
    SDL_mutex* const mutex;
    Levels order;
    std::map<std::int16_t, long> frames;
};

class MusicTest : public MixerTest
{
protected:
    // "first.wav", and "second.xml" for the two-part "second.flac".
    void WritePieces()
    {
        WriteWav("first.wav", {{First, LongFrames}});
        WriteFlac("second.flac", {{Intro, PartFrames}, {Loop, PartFrames}});
        WriteTextFile("second.xml", std::string("<Music file=\"second.flac\"><Loop pos=\"") +
                                        LoopPosition + "\"/></Music>");
    }

    static void PlayFirst(Music& first)
    {
        first.Play(100);
        EXPECT_EQ(&first, Music::GetCurrent());
        EXPECT_TRUE(first.IsPlaying());
    }
};

int CountOpenFiles()
{
    const std::filesystem::directory_iterator files("/proc/self/fd");
    return static_cast<int>(std::distance(begin(files), end(files)));
}

std::unique_ptr<Music> LoadMusic(const std::string& path)
{
    auto music = std::make_unique<Music>(path);
    music->Load();
    EXPECT_TRUE(music->IsLoaded()) << path;
    return music;
}

} // namespace

TEST_F(MusicTest, LoadsThroughTheStoreFromDiskAndFromTheArchive)
{
    for (const bool zipped : {false, true})
    {
        SCOPED_TRACE(zipped ? "archive" : "disk");
        WriteFlac("Data/Music/theme.flac", {{Intro, PartFrames}, {Loop, PartFrames}});
        WriteTextFile("Data/theme.xml",
                      "<Music file=\"Music/theme.flac\"><loop pos=\"0.5\"/></Music>");
        if (zipped)
            MoveIntoArchive({"Data/Music/theme.flac", "Data/theme.xml"});
        DataStore store(nullptr);
        store.AddResource("Data/theme.xml", "Theme", ResourceType::Music);
        Music* const music = store.GetMusic("Theme", true);
        ASSERT_TRUE(ProcessUntil(store, [&] { return music->IsReady(); }));
        ASSERT_TRUE(music->IsLoaded());
        EXPECT_DOUBLE_EQ(0.5, music->GetLoopPosition());

        const MixListener listener({Loop});
        music->Play(100);
        EXPECT_TRUE(PollUntil([&] { return listener.Frames(Loop) > 0; }));
    }
}

TEST_F(MusicTest, LoadErrorsNameTheProblem)
{
    struct Case
    {
        const char* path;
        const char* content; // null: no such file
        const char* error;   // a part of the message
    };
    const Case cases[] = {
        {"theme.xml", "<Music file=\"\"/>", "Music filename was not specified!"},
        {"Data/bad.ogg", "no music in here", "Unknown audio format: Data/bad.ogg"},
        {"Data/none.ogg", nullptr, "Can't open file 'Data/none.ogg'"},
        {"Data/theme.xml", "<Music file=\"theme.ogg\"><loop/></Music>",
         "Missing attribute 'pos' in:\nData/theme.xml, line 1"},
    };
    for (const Case& c : cases)
    {
        if (c.content)
            WriteTextFile(c.path, c.content);
        Music music(c.path);
        const std::string error = ErrorOf([&] { music.Load(); });
        EXPECT_NE(std::string::npos, error.find(c.error)) << error;
        EXPECT_FALSE(music.IsLoaded());
    }
}

// A music decodes as it plays, from a file it keeps open.
TEST_F(MusicTest, TheFileIsClosedWithTheMusicAndAfterAFailedLoad)
{
    WritePieces();
    WriteTextFile("bad.ogg", "no music in here");
    const int before = CountOpenFiles();
    Music bad("bad.ogg");
    EXPECT_EQ("Unknown audio format: bad.ogg", ErrorOf([&] { bad.Load(); }));
    EXPECT_EQ(before, CountOpenFiles());

    std::unique_ptr<Music> music = LoadMusic("second.xml");
    EXPECT_EQ(before + 1, CountOpenFiles());
    music.reset();
    EXPECT_EQ(before, CountOpenFiles());
}

TEST_F(MusicTest, WithTheMixerClosedNothingLoadsOrPlays)
{
    WritePieces();
    const std::unique_ptr<Music> early = LoadMusic("first.wav");
    audio.Quit();

    Music late("second.xml");
    late.Load();
    EXPECT_FALSE(late.IsLoaded());
    Music missing("none.ogg");
    EXPECT_EQ("no error", ErrorOf([&] { missing.Load(); }));

    early->Play(100);
    EXPECT_FALSE(early->IsPlaying());
    EXPECT_EQ(nullptr, Music::GetCurrent());
    early->Stop();
}

// A WAV music cannot seek, so it repeats from its start whatever its loop
// position.
TEST_F(MusicTest, APieceRepeatsFromItsLoopPosition)
{
    struct Case
    {
        const char* name;
        const char* definition;
        bool repeatsIntro;
    };
    WriteFlac("second.flac", {{Intro, PartFrames}, {Loop, PartFrames}});
    WriteWav("second.wav", {{Intro, PartFrames}, {Loop, PartFrames}});
    const Case cases[] = {
        {"seekable", "<Music file=\"second.flac\"><loop pos=\"0.5\"/></Music>", false},
        {"from its start", "<Music file=\"second.flac\"/>", true},
        {"WAV", "<Music file=\"second.wav\"><loop pos=\"0.5\"/></Music>", true},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        WriteTextFile("piece.xml", c.definition);
        const std::unique_ptr<Music> piece = LoadMusic("piece.xml");
        const MixListener heard({Intro, Loop});
        piece->Play(100);
        ASSERT_TRUE(PollUntil([&] { return heard.Frames(Loop) > 2 * PartFrames; }));
        EXPECT_TRUE(piece->IsPlaying());
        EXPECT_EQ(piece.get(), Music::GetCurrent());

        const Levels order = heard.Order();
        ASSERT_LE(2u, order.size());
        EXPECT_EQ((Levels{Intro, Loop}), Levels(order.begin(), order.begin() + 2));
        const long intros = std::count(order.begin(), order.end(), Intro);
        if (c.repeatsIntro)
        {
            EXPECT_LT(1, intros);
        }
        else
        {
            EXPECT_EQ(1, intros);
            EXPECT_EQ(PartFrames, heard.Frames(Intro));
        }
    }
}

TEST_F(MusicTest, PlayingWhileAnotherPlaysFadesItOutAndStartsTheSecondFromItsBeginning)
{
    WritePieces();
    const std::unique_ptr<Music> first = LoadMusic("first.wav");
    const std::unique_ptr<Music> second = LoadMusic("second.xml");
    const MixListener listener({First, Intro, Loop});
    PlayFirst(*first);
    ASSERT_TRUE(PollUntil([&] { return listener.Frames(First) > 0; }));

    second->Play(500);
    EXPECT_EQ(second.get(), Music::GetQueued());
    EXPECT_EQ(first.get(), Music::GetCurrent());
    EXPECT_TRUE(first->IsPlaying());
    EXPECT_EQ(MIX_FADING_OUT, Mix_FadingMusic());

    ASSERT_TRUE(PollUntil([&] { return Music::GetCurrent() == second.get(); }));
    EXPECT_EQ(nullptr, Music::GetQueued());
    EXPECT_FALSE(first->IsPlaying());
    EXPECT_TRUE(second->IsPlaying());

    ASSERT_TRUE(PollUntil([&] { return listener.Frames(Loop) > 2 * PartFrames; }));
    EXPECT_EQ((Levels{First, Intro, Loop}), listener.Order());
    EXPECT_EQ(PartFrames, listener.Frames(Intro));
}

// Restarted over ten minutes, the fade would outlast the wait.
TEST_F(MusicTest, PlayingTheQueuedPieceAgainDoesNotRestartTheFade)
{
    WritePieces();
    const std::unique_ptr<Music> first = LoadMusic("first.wav");
    const std::unique_ptr<Music> second = LoadMusic("second.xml");
    PlayFirst(*first);

    second->Play(100);
    second->Play(600000);
    EXPECT_EQ(second.get(), Music::GetQueued());
    EXPECT_TRUE(PollUntil([&] { return Music::GetCurrent() == second.get(); }));
}

TEST_F(MusicTest, StopEmptiesTheQueueOrHaltsThePlayingPiece)
{
    WritePieces();
    const std::unique_ptr<Music> first = LoadMusic("first.wav");
    const std::unique_ptr<Music> second = LoadMusic("second.xml");
    PlayFirst(*first);
    second->Play(600000);

    second->Stop();
    EXPECT_EQ(nullptr, Music::GetQueued());
    EXPECT_TRUE(first->IsPlaying());
    EXPECT_TRUE(Mix_PlayingMusic());

    first->Stop();
    EXPECT_FALSE(first->IsPlaying());
    EXPECT_FALSE(Mix_PlayingMusic());

    second->Play(100);
    EXPECT_EQ(second.get(), Music::GetCurrent());
    EXPECT_TRUE(second->IsPlaying());
}

TEST_F(MusicTest, DestroyingAPieceTakesItOutOfTheCurrentPlaceAndTheQueue)
{
    enum Outcome
    {
        NoCurrent,
        FirstGoesOn,
        SecondStarts
    };
    struct Case
    {
        const char* name;
        void (*prepare)(Music& first, Music& second);
        bool destroyFirst;
        Outcome outcome;
    };
    const Case cases[] = {
        {"the playing piece", [](Music&, Music&) {}, true, NoCurrent},
        {"the stopped piece", [](Music& first, Music&) { first.Stop(); }, true, NoCurrent},
        {"the playing piece, with another queued",
         [](Music&, Music& second) { second.Play(600000); }, true, SecondStarts},
        {"the queued piece", [](Music&, Music& second) { second.Play(600000); }, false,
         FirstGoesOn},
    };
    WritePieces();
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        std::unique_ptr<Music> first = LoadMusic("first.wav");
        std::unique_ptr<Music> second = LoadMusic("second.xml");
        PlayFirst(*first);
        c.prepare(*first, *second);

        (c.destroyFirst ? first : second).reset();
        EXPECT_EQ(nullptr, Music::GetQueued());
        switch (c.outcome)
        {
        case NoCurrent:
            EXPECT_EQ(nullptr, Music::GetCurrent());
            EXPECT_FALSE(Mix_PlayingMusic());
            break;
        case FirstGoesOn:
            EXPECT_EQ(first.get(), Music::GetCurrent());
            EXPECT_TRUE(first->IsPlaying());
            break;
        case SecondStarts:
            EXPECT_TRUE(PollUntil([&] { return Music::GetCurrent() == second.get(); }));
            EXPECT_TRUE(second->IsPlaying());
            break;
        }
    }
}
