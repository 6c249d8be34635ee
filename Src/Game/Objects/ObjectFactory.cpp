#include "Game/Objects/ObjectFactory.h"

#include "Engine/DataStore.h"
#include "Engine/Error.h"
#include "Engine/StringUtil.h"
#include "Game/Melee/ShipModel.h"
#include "Game/Melee/ShipView.h"
#include "Game/Objects/AiController.h"
#include "Game/Objects/AnimationView.h"
#include "Game/Objects/AsteroidModel.h"
#include "Game/Objects/Object3DView.h"
#include "Game/Objects/ObjectKinds.h"
#include "Game/Objects/PlanetModel.h"
#include "Game/Objects/PlayerController.h"
#include "Game/Objects/ShipModel.h"
#include "Game/Solar/SolarPlanetModel.h"
#include "Game/Solar/SolarPlanetView.h"

#include <algorithm>
#include <iterator>

namespace
{

constexpr int PlanetRadius = 3;

// The rows of a kind table: a kind number and how it is made.
template <class Maker>
struct Kind
{
    int number;
    Maker make;
};

template <class Maker, std::size_t Count>
Maker FindKind(const Kind<Maker> (&kinds)[Count], int number, const char* what)
{
    const auto found =
        std::find_if(std::begin(kinds), std::end(kinds),
                     [number](const Kind<Maker>& kind) { return kind.number == number; });
    if (found == std::end(kinds))
        throw Error("ObjectFactory, unknown ", what, ": ", ToString(number));
    return found->make;
}

// The model narrowed to the class that the view or controller of that kind
// needs.
template <class T>
T* Require(ModelInterface* model, const char* what, int kind)
{
    T* const narrowed = dynamic_cast<T*>(model);
    if (!narrowed)
        throw Error("ObjectFactory, wrong model for ", what, ": ", ToString(kind));
    return narrowed;
}

} // namespace

ObjectFactory::ObjectFactory(ObjectList* world, EventDispatcher* events, const Timer* timer,
                             DataStore* store, lua_State* lua)
    : ObjectFactoryInterface(world), events(events), timer(timer), store(store), lua(lua)
{
}

ModelInterface* ObjectFactory::MakeModel(int kind)
{
    static const Kind<ModelMaker> models[] = {
        {ModelKind::Position, &ObjectFactory::MakePositionModel},
        {ModelKind::Asteroid, &ObjectFactory::MakeAsteroidModel},
        {ModelKind::Planet, &ObjectFactory::MakePlanetModel},
        {ModelKind::SolarPlanet, &ObjectFactory::MakeSolarPlanetModel}};
    return (this->*FindKind(models, kind, "model"))();
}

ViewInterface* ObjectFactory::MakeView(int kind, ModelInterface* model)
{
    static const Kind<ViewMaker> views[] = {
        {ViewKind::None, nullptr},
        {ViewKind::Explosion, &ObjectFactory::MakeAnimationView},
        {ViewKind::Object3D, &ObjectFactory::MakeObject3DView},
        {ViewKind::Ship, &ObjectFactory::MakeShipView},
        {ViewKind::SolarPlanet, &ObjectFactory::MakeSolarPlanetView}};
    const ViewMaker make = FindKind(views, kind, "view");
    return make ? (this->*make)(kind, model) : nullptr;
}

ControllerInterface* ObjectFactory::MakeController(int kind, ModelInterface* model,
                                                   ViewInterface* view)
{
    static const Kind<ControllerMaker> controllers[] = {
        {ControllerKind::Plain, &ObjectFactory::MakePlainController},
        {ControllerKind::Player, &ObjectFactory::MakePlayerController},
        {ControllerKind::Ai, &ObjectFactory::MakeAiController}};
    return (this->*FindKind(controllers, kind, "controller"))(kind, model, view);
}

ObjectFactoryInterface::ObjectKind ObjectFactory::GetObjectKind(int objectKind) const
{
    // In the order of WorldObject.
    static const ObjectKind objects[] = {
        {ModelKind::Asteroid, ViewKind::Object3D, ControllerKind::Plain},
        {ModelKind::Planet, ViewKind::Object3D, ControllerKind::Plain},
        {ModelKind::SolarPlanet, ViewKind::SolarPlanet, ControllerKind::Plain},
        {ModelKind::Position, ViewKind::None, ControllerKind::Plain},
        {ModelKind::Position, ViewKind::None, ControllerKind::Plain},
    };
    if (objectKind < 0 || objectKind >= static_cast<int>(std::size(objects)))
        throw Error("ObjectFactory, unknown object: ", ToString(objectKind));
    return objects[objectKind];
}

ModelInterface* ObjectFactory::MakePositionModel() const
{
    return new PositionModel;
}

ModelInterface* ObjectFactory::MakeAsteroidModel() const
{
    return new AsteroidModel(*store);
}

ModelInterface* ObjectFactory::MakePlanetModel() const
{
    return new PlanetModel(Object3DModel::RequireMesh(*store, "Planet"), PlanetRadius, world);
}

ModelInterface* ObjectFactory::MakeSolarPlanetModel() const
{
    return new SolarPlanetModel(Object3DModel::RequireMesh(*store, "Planet"));
}

ViewInterface* ObjectFactory::MakeAnimationView(int kind, ModelInterface* model) const
{
    return new AnimationView(timer, Require<PositionModel>(model, "view", kind),
                             store->GetAnimatedTexture("Explosion", true));
}

ViewInterface* ObjectFactory::MakeObject3DView(int kind, ModelInterface* model) const
{
    return new Object3DView(Require<Object3DModel>(model, "view", kind));
}

ViewInterface* ObjectFactory::MakeShipView(int kind, ModelInterface* model) const
{
    return new Melee::ShipView(Require<Melee::ShipModel>(model, "view", kind));
}

ViewInterface* ObjectFactory::MakeSolarPlanetView(int kind, ModelInterface* model) const
{
    return new SolarPlanetView(Require<SolarPlanetModel>(model, "view", kind));
}

ControllerInterface* ObjectFactory::MakePlainController(int kind, ModelInterface* model,
                                                        ViewInterface* view) const
{
    return new ControllerInterface(Require<ModelInterface>(model, "controller", kind), view);
}

ControllerInterface* ObjectFactory::MakePlayerController(int kind, ModelInterface* model,
                                                         ViewInterface* view) const
{
    return new PlayerController(Require<ShipModel>(model, "controller", kind), view, *events,
                                world);
}

ControllerInterface* ObjectFactory::MakeAiController(int kind, ModelInterface* model,
                                                     ViewInterface* view) const
{
    return new AiController(Require<ShipModel>(model, "controller", kind), view);
}
