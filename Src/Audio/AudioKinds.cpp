#include "Audio/AudioKinds.h"

#include "Audio/Music.h"
#include "Audio/Sample.h"
#include "Engine/DataStore.h"
#include "Engine/ResourceType.h"

namespace
{

Resource* MakeSample(const std::string& path, DataStore& /*store*/)
{
    return new Sample(path);
}

Resource* MakeMusic(const std::string& path, DataStore& /*store*/)
{
    return new Music(path);
}

} // namespace

void RegisterAudioKinds()
{
    DataStore::RegisterKind(ResourceType::Sample, MakeSample);
    DataStore::RegisterKind(ResourceType::Music, MakeMusic);
}
