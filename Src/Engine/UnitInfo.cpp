#include "Engine/UnitInfo.h"

#include "Engine/LuaState.h"

namespace Event
{

void UnitInfo::PushFields(LuaState& lua) const
{
    lua.SetField("Unit", unit);
}

} // namespace Event
