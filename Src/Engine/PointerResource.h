#pragma once

#include "Engine/Resource.h"

class Object;

// Publishes an object made by the game under a name in a store. It is ready
// from the start, so it is never queued.
class PointerResource : public Resource
{
public:
    PointerResource(Object* object, bool ownsObject);
    ~PointerResource() override;

    void Load() override {}

    Object* GetObject() const { return object; }

private:
    Object* const object;
    const bool ownsObject;
};
