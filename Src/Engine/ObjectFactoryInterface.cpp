#include "Engine/ObjectFactoryInterface.h"

#include "Engine/ControllerInterface.h"
#include "Engine/ModelInterface.h"
#include "Engine/ViewInterface.h"

#include <algorithm>
#include <iterator>
#include <memory>
#include <set>

namespace
{

ObjectFactoryInterface* current = nullptr;

} // namespace

ObjectFactoryInterface::ObjectFactoryInterface(ObjectList* world) : world(world)
{
    current = this;
}

ObjectFactoryInterface::~ObjectFactoryInterface()
{
    world->splice(world->end(), pending);
    DeleteDead();
    if (current == this)
        current = nullptr;
}

ModelInterface* ObjectFactoryInterface::CreateModel(int kind)
{
    return current ? current->MakeModel(kind) : nullptr;
}

ViewInterface* ObjectFactoryInterface::CreateView(int kind, ModelInterface* model)
{
    return current ? current->MakeView(kind, model) : nullptr;
}

ControllerInterface* ObjectFactoryInterface::CreateController(int kind, ModelInterface* model,
                                                              ViewInterface* view)
{
    return current ? current->MakeController(kind, model, view) : nullptr;
}

ControllerInterface* ObjectFactoryInterface::CreateObject(int modelKind, int viewKind,
                                                          int controllerKind)
{
    if (!current)
        return nullptr;
    std::unique_ptr<ModelInterface> model(current->MakeModel(modelKind));
    std::unique_ptr<ViewInterface> view(current->MakeView(viewKind, model.get()));
    ControllerInterface* object = current->MakeController(controllerKind, model.get(), view.get());
    // The controller owns them now.
    model.release();
    view.release();
    current->pending.push_back(object);
    return object;
}

ControllerInterface* ObjectFactoryInterface::CreateObject(int objectKind)
{
    if (!current)
        return nullptr;
    const ObjectKind kind = current->GetObjectKind(objectKind);
    return CreateObject(kind.model, kind.view, kind.controller);
}

ControllerInterface* ObjectFactoryInterface::CreateObject(int objectKind, int controllerKind)
{
    if (!current)
        return nullptr;
    const ObjectKind kind = current->GetObjectKind(objectKind);
    return CreateObject(kind.model, kind.view, controllerKind);
}

bool ObjectFactoryInterface::AddPending(ControllerInterface* object)
{
    if (!current)
        return false;
    current->pending.push_back(object);
    return true;
}

ControllerInterface* ObjectFactoryInterface::Kill(ControllerInterface* controller)
{
    if (!current)
        return nullptr;
    const ObjectList& world = *current->world;
    return current->MarkKilled(std::find(world.begin(), world.end(), controller));
}

ControllerInterface* ObjectFactoryInterface::KillByModel(ModelInterface* model)
{
    if (!current)
        return nullptr;
    const ObjectList& world = *current->world;
    return current->MarkKilled(std::find_if(world.begin(), world.end(),
                                            [model](const ControllerInterface* object)
                                            { return object->GetModel() == model; }));
}

ControllerInterface* ObjectFactoryInterface::KillByView(ViewInterface* view)
{
    // An object without a view is never found by its view.
    if (!current || !view)
        return nullptr;
    const ObjectList& world = *current->world;
    return current->MarkKilled(std::find_if(world.begin(), world.end(),
                                            [view](const ControllerInterface* object)
                                            { return object->GetView<ViewInterface>() == view; }));
}

ControllerInterface* ObjectFactoryInterface::Flush()
{
    LeaveWorld();
    return JoinWorld();
}

void ObjectFactoryInterface::DeleteDead()
{
    DeleteObjects(dead);
}

void ObjectFactoryInterface::DeleteObjects(ObjectList& objects)
{
    while (!objects.empty())
    {
        delete objects.back();
        objects.pop_back();
    }
}

ControllerInterface* ObjectFactoryInterface::MarkKilled(ObjectList::const_iterator object)
{
    if (object == world->end())
        return nullptr;
    killed.push_back(*object);
    return *object;
}

// An object killed more than once since the last flush leaves once; the
// objects leave from the last killed.
void ObjectFactoryInterface::LeaveWorld()
{
    std::set<const ControllerInterface*> seen;
    for (ObjectList::iterator object = killed.begin(); object != killed.end();)
        object = seen.insert(*object).second ? std::next(object) : killed.erase(object);
    while (!killed.empty())
    {
        ControllerInterface* const object = killed.back();
        killed.pop_back();
        world->remove(object);
        dead.push_back(object);
    }
}

ControllerInterface* ObjectFactoryInterface::JoinWorld()
{
    const ObjectList::iterator ready = std::find_if(
        pending.begin(), pending.end(),
        [](const ControllerInterface* object) { return object->GetModel()->IsReadyToJoin(); });
    if (ready == pending.end())
        return nullptr;
    ControllerInterface* const joining = *ready;
    world->splice(world->end(), pending, ready);
    return joining;
}
