#include "Game/Objects/WorldStep.h"

#include "Engine/ControllerInterface.h"
#include "Game/Objects/EntityModel.h"

#include <iterator>

namespace
{

using ObjectList = ObjectFactoryInterface::ObjectList;

void CollideWithEarlier(const ObjectList& world, ObjectList::const_iterator object)
{
    EntityModel* const body = dynamic_cast<EntityModel*>((*object)->GetModel());
    if (!body)
        return;
    for (auto earlier = world.begin(); earlier != object; ++earlier)
    {
        if (EntityModel* const other = dynamic_cast<EntityModel*>((*earlier)->GetModel()))
            body->Collide(*other);
    }
}

} // namespace

void StepWorld(ObjectList& world, ObjectFactoryInterface& factory)
{
    for (auto object = world.cbegin(); object != world.cend(); ++object)
    {
        (*object)->Update();
        CollideWithEarlier(world, object);
    }
    if (factory.Flush())
        CollideWithEarlier(world, std::prev(world.cend()));
}
