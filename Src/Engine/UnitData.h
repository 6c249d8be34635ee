#pragma once

#include "Engine/UnitInfo.h"

namespace Event
{

// An event about a battle ship with a number (Lua fields "Unit" and "Value").
class UnitData : public UnitInfo
{
public:
    UnitData(const char* name, int unit, int value) : UnitInfo(name, unit), value(value) {}

    void PushFields(LuaState& lua) const override;

    const int value;
};

} // namespace Event
