#include "Engine/UnitData.h"

#include "Engine/LuaState.h"

namespace Event
{

void UnitData::PushFields(LuaState& lua) const
{
    UnitInfo::PushFields(lua);
    lua.SetField("Value", value);
}

} // namespace Event
