#pragma once

#include "Engine/Resource.h"

#include <SDL_mixer.h>
#include <atomic>
#include <string>

// A piece of music, decoded by SDL_mixer from a stream that stays open as long
// as the music exists. One piece plays at a time: a piece asked to play while
// another plays waits in a queue of one place until the other has faded out.
// A piece that reaches its end starts again from its loop position, until it
// is stopped or replaced. While the mixer is closed nothing loads or plays.
//
// SDL_mixer runs the finished hook on its audio thread, so the current and the
// queued piece change only under SDL's audio lock.
class Music : public Resource
{
public:
    explicit Music(const std::string& path);
    // Leaves the queue and the current place; a playing piece fades out over
    // 50 ms, and then the queued one, if any, starts.
    ~Music() override;

    void Load() override;
    // "loop" with "pos": the seconds to start again from at the end.
    bool ParseElement(const TiXmlElement* element, const std::string& lowerTag) override;

    // Main thread. Starts at once when no music plays. Otherwise this piece
    // takes the queue's place, unless it holds it already, and the playing
    // music fades out over fadeMs.
    void Play(int fadeMs);
    // The fade of the music with which a game state starts its own.
    static constexpr int StateFadeMs = 100;
    // Leaves the queue, or halts the music when this piece plays.
    void Stop();

    // Started, and not stopped or replaced since.
    bool IsPlaying() const { return playing; }
    bool IsLoaded() const { return music != nullptr; }
    double GetLoopPosition() const { return loopPosition; }

    // The piece started last and the piece waiting for the fade-out; null
    // when there is none.
    static Music* GetCurrent();
    static Music* GetQueued();

private:
    // With the audio lock held.
    void PlayNow();
    static void OnMusicFinished();

    static Music* currentMusic;
    static Music* queuedMusic;

    std::atomic<bool> playing{false};
    Mix_Music* music = nullptr;
    SDL_RWops* stream = nullptr;
    double loopPosition = 0.0;
};
