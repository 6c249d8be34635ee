#include "Engine/StringEvent.h"

#include "Engine/LuaState.h"

namespace Event
{

void StringEvent::PushFields(LuaState& lua) const
{
    lua.SetField("Value", value);
}

} // namespace Event
