#pragma once

#include "Engine/EventBase.h"

namespace Event
{

// An event about a battle ship, known by its player number (Lua field "Unit").
class UnitInfo : public EventBase
{
public:
    UnitInfo(const char* name, int unit) : EventBase(name), unit(unit) {}

    void PushFields(LuaState& lua) const override;

    const int unit;
};

} // namespace Event
