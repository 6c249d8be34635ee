#include "Audio/Sample.h"

#include "Audio/Audio.h"
#include "Audio/WaveFormat.h"
#include "Engine/DataStore.h"
#include "Engine/Error.h"

#include <SDL_timer.h>

namespace
{

const int FadeWaitMs = 1000;
const int FadeWaitStepMs = 10;

} // namespace

Sample::Sample(const std::string& path) : Resource(path) {}

// A closed mixer has no channels left to ask.
Sample::~Sample()
{
    if (!chunk)
        return;
    if (Audio::IsOpen())
        FadeOutChannels();
    Mix_FreeChunk(chunk);
}

void Sample::Load()
{
    if (!Audio::IsOpen() || chunk)
        return;
    SDL_RWops* const stream = OpenSoundResource(*this, "Sample");
    chunk = Mix_LoadWAV_RW(stream, 1);
    if (!chunk)
        throw Error("Unknown sample format: ", path);
}

// SDL_mixer keeps the channel count of a closed mixer, but not its channels.
void Sample::Play()
{
    if (chunk && Audio::IsOpen())
        Mix_PlayChannelTimed(-1, chunk, 0, -1);
}

void Sample::SetVolume(int volume)
{
    if (chunk && Audio::IsOpen())
        Mix_VolumeChunk(chunk, volume);
}

void Sample::FadeOutChannels() const
{
    for (int channel = 0; channel < Audio::GetMixChannels(); ++channel)
    {
        if (PlaysOn(channel))
            Mix_FadeOutChannel(channel, Audio::GetFadeMs());
    }
    for (int waitMs = FadeWaitMs; waitMs >= 0 && IsPlaying(); waitMs -= FadeWaitStepMs)
        SDL_Delay(FadeWaitStepMs);
}

bool Sample::IsPlaying() const
{
    for (int channel = 0; channel < Audio::GetMixChannels(); ++channel)
    {
        if (PlaysOn(channel))
            return true;
    }
    return false;
}

// A channel keeps its last chunk after it has finished.
bool Sample::PlaysOn(int channel) const
{
    return Mix_GetChunk(channel) == chunk && Mix_Playing(channel);
}

Sample* DataStore::GetSample(const std::string& name, bool mustExist)
{
    return Get<Sample>(name, mustExist);
}
