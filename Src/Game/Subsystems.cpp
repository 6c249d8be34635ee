#include "Engine/Subsystems.h"

#include "Audio/Audio.h"
#include "Audio/AudioKinds.h"
#include "Engine/DataReader.h"
#include "Game/Melee/ShipDataReader.h"
#include "Game/MenuState.h"
#include "Graphics/Graph.h"
#include "Graphics/GraphicsKinds.h"
#include "Ui/RegisterInterface.h"

namespace Engine
{

void RegisterSubsystems()
{
    Subsystems& subsystems = GetSubsystems();
    subsystems.createVideo = []() -> VideoInterface* { return new Graph; };
    subsystems.createAudio = []() -> AudioInterface* { return new Audio; };
    subsystems.createFirstState = [](Timer* timer, VideoInterface* graph) -> GameState*
    { return new MenuState(timer, graph, nullptr); };
    RegisterGraphicsKinds();
    RegisterAudioKinds();
    Ui::RegisterInterface();
    DataReader::RegisterReader("ship", Melee::ShipDataReader::Make);
}

} // namespace Engine
