#include "Ui/LuaSelf.h"

namespace Ui
{

FrameController* GetSelfController(lua_State* L)
{
    return LuaState::GetThis<FrameController>(L);
}

std::string GetTextArgument(lua_State* L, int index)
{
    if (!lua_isstring(L, index))
        LuaError(L, "Argument " + std::to_string(index - 1) + " must be a string");
    std::size_t length = 0;
    const char* const text = lua_tolstring(L, index, &length);
    return std::string(text, length);
}

} // namespace Ui
