#pragma once

// The root of most of the system's classes: it lets any object be held, cast
// back and deleted through one pointer type.
class Object
{
public:
    virtual ~Object() = default;
};
