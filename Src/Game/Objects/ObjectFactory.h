#pragma once

#include "Engine/ObjectFactoryInterface.h"

class DataStore;
class EventDispatcher;
class Timer;
struct lua_State;

// The object factory of the battle and the solar system: it makes models,
// views and controllers by kind number (ObjectKinds.h) from the game state's
// resources, and the objects of its kind table. An unknown kind, or a model of
// the wrong class for a view or controller, throws Error.
class ObjectFactory : public ObjectFactoryInterface
{
public:
    // None of them is owned. Becomes the current factory.
    ObjectFactory(ObjectList* world, EventDispatcher* events, const Timer* timer, DataStore* store,
                  lua_State* lua);

protected:
    ModelInterface* MakeModel(int kind) override;
    ViewInterface* MakeView(int kind, ModelInterface* model) override;
    ControllerInterface* MakeController(int kind, ModelInterface* model,
                                        ViewInterface* view) override;
    ObjectKind GetObjectKind(int objectKind) const override;

private:
    using ModelMaker = ModelInterface* (ObjectFactory::*)() const;
    using ViewMaker = ViewInterface* (ObjectFactory::*)(int kind, ModelInterface* model) const;
    using ControllerMaker = ControllerInterface* (ObjectFactory::*)(int kind, ModelInterface* model,
                                                                    ViewInterface* view) const;

    ModelInterface* MakePositionModel() const;
    ModelInterface* MakeAsteroidModel() const;
    ModelInterface* MakePlanetModel() const;
    ModelInterface* MakeSolarPlanetModel() const;

    ViewInterface* MakeAnimationView(int kind, ModelInterface* model) const;
    ViewInterface* MakeObject3DView(int kind, ModelInterface* model) const;
    ViewInterface* MakeShipView(int kind, ModelInterface* model) const;
    ViewInterface* MakeSolarPlanetView(int kind, ModelInterface* model) const;

    ControllerInterface* MakePlainController(int kind, ModelInterface* model,
                                             ViewInterface* view) const;
    ControllerInterface* MakePlayerController(int kind, ModelInterface* model,
                                              ViewInterface* view) const;
    ControllerInterface* MakeAiController(int kind, ModelInterface* model,
                                          ViewInterface* view) const;

    EventDispatcher* const events;
    const Timer* const timer;
    DataStore* const store;
    // The game state's Lua state, for the kinds that script.
    [[maybe_unused]] lua_State* const lua;
};
