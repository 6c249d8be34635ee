#include "Engine/PointerResource.h"

#include "Engine/Object.h"

PointerResource::PointerResource(Object* object, bool ownsObject)
    : Resource("<PointerResource>", true), object(object), ownsObject(ownsObject)
{
}

PointerResource::~PointerResource()
{
    if (ownsObject)
        delete object;
}
