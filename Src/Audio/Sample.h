#pragma once

#include "Engine/Resource.h"

#include <SDL_mixer.h>
#include <string>

// A sound effect: an SDL_mixer chunk, played once on the first free channel.
// While the mixer is closed it loads nothing and so plays nothing.
class Sample : public Resource
{
public:
    explicit Sample(const std::string& path);
    // Fades out the channels that play the sample and waits for them, at most
    // about a second, before the chunk is freed.
    ~Sample() override;

    void Load() override;

    // Nothing plays when no channel is free.
    void Play();
    // 0 to 128.
    void SetVolume(int volume);

    // Null until loaded.
    const Mix_Chunk* GetChunk() const { return chunk; }

private:
    void FadeOutChannels() const;
    bool IsPlaying() const;
    bool PlaysOn(int channel) const;

    Mix_Chunk* chunk = nullptr;
};
