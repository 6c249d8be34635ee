#pragma once

#include "Engine/Object.h"

#include <string>

class LuaState;

namespace Event
{

// A named game event. It travels as an SDL user event (see GameEvents.h) and
// is deleted by the dispatcher that delivers it; receivers tell events apart
// by their name.
class EventBase : public Object
{
public:
    explicit EventBase(const char* name) : name(name) {}

    // Sets the Lua global "arg1" to the name and "arg2" to a new table of the
    // event's fields.
    void SetLuaArgs(LuaState& lua) const;

    // Adds the event's fields to the table on top of the Lua stack.
    virtual void PushFields(LuaState&) const {}

    const std::string name;
};

} // namespace Event
