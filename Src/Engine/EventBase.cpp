#include "Engine/EventBase.h"

#include "Engine/LuaState.h"

namespace Event
{

void EventBase::SetLuaArgs(LuaState& lua) const
{
    lua_State* const L = lua.GetState();
    lua_pushlstring(L, name.data(), name.size());
    lua_setglobal(L, "arg1");
    lua_newtable(L);
    PushFields(lua);
    lua_setglobal(L, "arg2");
}

} // namespace Event
