#pragma once

#include <list>

class ControllerInterface;
class ModelInterface;
class ViewInterface;

// The object factory of a game mode with a world. Its constructor makes it the
// process's current factory, which the static operations use; they return
// null (or false) when there is none.
//
// A new object waits on the pending list, owned by the factory, until its
// model is ready; at most one joins the world per Flush. A killed object stays
// in the world until the Flush at the end of the step, then waits on the dead
// list until DeleteDead at the start of the next frame's update. The world list
// belongs to the game state, which deletes what is left on it with
// DeleteObjects.
class ObjectFactoryInterface
{
public:
    using ObjectList = std::list<ControllerInterface*>;

    // A row of the concrete factory's object table.
    struct ObjectKind
    {
        int model;
        int view;
        int controller;
    };

    explicit ObjectFactoryInterface(ObjectList* world);
    // The pending objects join the end of the world; the dead ones are deleted.
    virtual ~ObjectFactoryInterface();
    ObjectFactoryInterface(const ObjectFactoryInterface&) = delete;
    ObjectFactoryInterface& operator=(const ObjectFactoryInterface&) = delete;

    static ModelInterface* CreateModel(int kind);
    static ViewInterface* CreateView(int kind, ModelInterface* model);
    static ControllerInterface* CreateController(int kind, ModelInterface* model,
                                                 ViewInterface* view);

    // Makes the model, its view and its controller and puts the object on the
    // pending list. When a kind is unknown the factory's Error leaves and
    // nothing is kept.
    static ControllerInterface* CreateObject(int modelKind, int viewKind, int controllerKind);
    static ControllerInterface* CreateObject(int objectKind);
    static ControllerInterface* CreateObject(int objectKind, int controllerKind);

    // Puts an object built by other means on the pending list; returns false
    // (and the caller keeps the object) when there is no current factory.
    static bool AddPending(ControllerInterface* object);

    // Marks the first world object that is the controller, has the model, or
    // whose first view is the view, for leaving the world at the next Flush;
    // returns it, or null when none matches (pending objects are not found).
    static ControllerInterface* Kill(ControllerInterface* controller);
    static ControllerInterface* KillByModel(ModelInterface* model);
    static ControllerInterface* KillByView(ViewInterface* view);

    // The end of a fixed step: the killed objects leave the world, and the
    // first pending object whose model is ready joins it. Returns the object
    // that joined, or null.
    ControllerInterface* Flush();

    // Deletes the objects that left the world, the last to leave first.
    void DeleteDead();

    // Deletes every object of the list, from its back.
    static void DeleteObjects(ObjectList& objects);

protected:
    virtual ModelInterface* MakeModel(int kind) = 0;
    virtual ViewInterface* MakeView(int kind, ModelInterface* model) = 0;
    virtual ControllerInterface* MakeController(int kind, ModelInterface* model,
                                                ViewInterface* view) = 0;
    virtual ObjectKind GetObjectKind(int objectKind) const = 0;

    ObjectList* const world;

private:
    ControllerInterface* MarkKilled(ObjectList::const_iterator object);
    void LeaveWorld();
    ControllerInterface* JoinWorld();

    ObjectList killed;
    ObjectList dead;
    ObjectList pending;
};
