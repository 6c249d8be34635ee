#pragma once

#include "Engine/EventBase.h"

namespace Event
{

// An event with a text (Lua field "Value").
class StringEvent : public EventBase
{
public:
    StringEvent(const char* name, const std::string& value) : EventBase(name), value(value) {}

    void PushFields(LuaState& lua) const override;

    const std::string value;
};

} // namespace Event
