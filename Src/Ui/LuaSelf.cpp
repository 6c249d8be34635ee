#include "Ui/LuaSelf.h"

#include "Ui/FrameController.h"

namespace Ui
{

FrameController* GetSelfController(lua_State* L)
{
    return LuaState::GetThis<FrameController>(L);
}

ControllerInterface& GetSelfFrame(lua_State* L)
{
    return *GetSelfController(L);
}

} // namespace Ui
