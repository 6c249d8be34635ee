#pragma once

#include "Engine/EventBase.h"

namespace Event
{

// An event about an object it does not own; it has no Lua fields.
class ObjectEvent : public EventBase
{
public:
    ObjectEvent(const char* name, Object* object) : EventBase(name), object(object) {}

    Object* const object;
};

} // namespace Event
