#include "Ui/RegisterInterface.h"

#include "Engine/Error.h"
#include "Engine/Subsystems.h"
#include "Graphics/Graph.h"
#include "Ui/Root.h"
#include "Ui/UiDataReader.h"

namespace Ui
{

namespace
{

UiRootInterface* CreateRoot(VideoInterface* video, EventDispatcher& events, LuaState& lua)
{
    const Graph* const graph = dynamic_cast<const Graph*>(video);
    if (!graph)
        throw Error("The interface needs the OpenGL video context!");
    return Root::Create(*graph, events, lua).release();
}

} // namespace

void RegisterInterface()
{
    Engine::GetSubsystems().createUiRoot = CreateRoot;
    DataReader::RegisterReader("ui", UiDataReader::Make);
}

} // namespace Ui
