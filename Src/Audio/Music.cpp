#include "Audio/Music.h"

#include "Audio/Audio.h"
#include "Audio/FlacHeader.h"
#include "Audio/WaveFormat.h"
#include "Engine/DataStore.h"
#include "Engine/Error.h"
#include "Engine/Xml.h"

#include <SDL_audio.h>

Music* Music::currentMusic = nullptr;
Music* Music::queuedMusic = nullptr;

namespace
{

const int DestroyFadeMs = 50;

// SDL's audio lock, which the mixer holds while it mixes and calls the hook.
// It may be taken again by the thread that holds it.
class AudioLock
{
public:
    AudioLock() { SDL_LockAudio(); }
    ~AudioLock() { SDL_UnlockAudio(); }
    AudioLock(const AudioLock&) = delete;
    AudioLock& operator=(const AudioLock&) = delete;
};

} // namespace

Music::Music(const std::string& path) : Resource(path) {}

// Mix_FreeMusic waits for the fade-out without the lock, so that the mixer
// can end it, and the hook can start the queued piece meanwhile.
Music::~Music()
{
    if (!music)
        return;
    {
        const AudioLock lock;
        if (queuedMusic == this)
            queuedMusic = nullptr;
        if (currentMusic == this)
            currentMusic = nullptr;
        if (playing.exchange(false))
            Mix_FadeOutMusic(DestroyFadeMs);
    }
    Mix_FreeMusic(music);
    SDL_RWclose(stream);
}

void Music::Load()
{
    if (!Audio::IsOpen() || music)
        return;
    SDL_RWops* const source = OpenSoundResource(*this, "Music");
    music = IsUnplayableFlac(source) ? nullptr : Mix_LoadMUS_RW(source);
    if (!music)
    {
        SDL_RWclose(source);
        throw Error("Unknown audio format: ", path);
    }
    stream = source;
}

bool Music::ParseElement(const TiXmlElement* element, const std::string& lowerTag)
{
    if (lowerTag != "loop")
        return Resource::ParseElement(element, lowerTag);
    XmlRequireDouble(element, "pos", loopPosition);
    return true;
}

// Mix_PlayMusic waits, giving the lock back once, while a music fades out; so
// a music that fades out counts as playing even when its stream has ended,
// and the hook that comes with the end of its fade starts this piece.
void Music::Play(int fadeMs)
{
    if (!Audio::IsOpen() || !music)
        return;
    const AudioLock lock;
    if (!Mix_PlayingMusic() && Mix_FadingMusic() != MIX_FADING_OUT)
    {
        PlayNow();
    }
    else if (queuedMusic != this)
    {
        queuedMusic = this;
        Mix_FadeOutMusic(fadeMs);
    }
}

void Music::Stop()
{
    if (!Audio::IsOpen())
        return;
    const AudioLock lock;
    if (queuedMusic == this)
        queuedMusic = nullptr;
    if (playing.exchange(false))
        Mix_HaltMusic();
}

Music* Music::GetCurrent()
{
    const AudioLock lock;
    return currentMusic;
}

Music* Music::GetQueued()
{
    const AudioLock lock;
    return queuedMusic;
}

// One pass; its end comes to the hook.
void Music::PlayNow()
{
    currentMusic = this;
    Mix_HookMusicFinished(OnMusicFinished);
    playing = true;
    Mix_PlayMusic(music, 1);
}

// The mixer calls it with the music halted, so no fade-out is in the way of
// Mix_PlayMusic.
void Music::OnMusicFinished()
{
    if (queuedMusic)
    {
        if (currentMusic)
            currentMusic->playing = false;
        Music* const next = queuedMusic;
        queuedMusic = nullptr;
        next->PlayNow();
    }
    else if (currentMusic && currentMusic->playing)
    {
        Mix_RewindMusic();
        Mix_PlayMusic(currentMusic->music, 1);
        Mix_SetMusicPosition(currentMusic->loopPosition);
    }
    else
    {
        currentMusic = nullptr;
    }
}

Music* DataStore::GetMusic(const std::string& name, bool mustExist)
{
    return Get<Music>(name, mustExist);
}
