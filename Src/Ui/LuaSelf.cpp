#include "Ui/LuaSelf.h"

namespace Ui
{

FrameController* GetSelfController(lua_State* L)
{
    return LuaState::GetThis<FrameController>(L);
}

} // namespace Ui
