#include "Game/Objects/ObjectFactory.h"

#include "Game/Objects/AiController.h"
#include "Game/Objects/AnimationView.h"
#include "Game/Objects/AsteroidModel.h"
#include "Game/Objects/Object3DView.h"
#include "Game/Objects/PlanetModel.h"
#include "Game/Objects/PlayerController.h"
#include "Game/Objects/ShipModel.h"
#include "Game/Solar/SolarPlanetModel.h"
#include "Game/Solar/SolarPlanetView.h"
#include "Support/Capture.h"
#include "WorldFixture.h"

#include <gtest/gtest.h>
#include <typeinfo>

namespace
{

class ObjectFactoryTest : public WorldTest
{
protected:
    // The class names of an object's model, first view and controller.
    static std::string Classes(const ControllerInterface* object)
    {
        const ViewInterface* view = object->GetView<ViewInterface>();
        return std::string(typeid(*object->GetModel()).name()) + " " +
               (view ? typeid(*view).name() : "-") + " " + typeid(*object).name();
    }

    static std::string Classes(const char* model, const char* view, const char* controller)
    {
        return std::string(model) + " " + view + " " + controller;
    }

    const std::unique_ptr<Melee::ShipModel::Data> data = ShipData();
};

TEST_F(ObjectFactoryTest, MakesTheObjectsOfItsTableAndTheyJoinOnePerStep)
{
    ControllerInterface* const planet = ObjectFactoryInterface::CreateObject(1);
    ControllerInterface* const asteroid = ObjectFactoryInterface::CreateObject(0);
    ControllerInterface* const body = ObjectFactoryInterface::CreateObject(2);
    ControllerInterface* const bare = ObjectFactoryInterface::CreateObject(3);
    ControllerInterface* const other = ObjectFactoryInterface::CreateObject(4);
    EXPECT_EQ(Classes(typeid(PlanetModel).name(), typeid(Object3DView).name(),
                      typeid(ControllerInterface).name()),
              Classes(planet));
    EXPECT_EQ(Classes(typeid(AsteroidModel).name(), typeid(Object3DView).name(),
                      typeid(ControllerInterface).name()),
              Classes(asteroid));
    EXPECT_EQ(Classes(typeid(SolarPlanetModel).name(), typeid(SolarPlanetView).name(),
                      typeid(ControllerInterface).name()),
              Classes(body));
    for (const ControllerInterface* object : {bare, other})
        EXPECT_EQ(Classes(typeid(PositionModel).name(), "-", typeid(ControllerInterface).name()),
                  Classes(object));

    EXPECT_TRUE(world.empty());
    for (const ControllerInterface* object : {planet, asteroid, body, bare, other})
    {
        factory->Flush();
        ASSERT_EQ(object, world.back());
    }
    EXPECT_EQ(3.0f, dynamic_cast<const PlanetModel&>(*planet->GetModel()).GetRadius());
    EXPECT_EQ(store.GetModel("Planet", true),
              dynamic_cast<const PlanetModel&>(*planet->GetModel()).GetMesh());
    // The planet pulls the objects of the factory's world.
    auto& rock = dynamic_cast<AsteroidModel&>(*asteroid->GetModel());
    rock.SetPosition(10, 0);
    rock.SetVelocity(0, 0);
    planet->Update();
    EXPECT_FLOAT_EQ(-0.75f, rock.GetVelocityX());
}

TEST_F(ObjectFactoryTest, AnObjectWaitsForItsMesh)
{
    Resource* const slow = new IdleModel(store, "Slow");
    ASSERT_TRUE(store.AddExisting("Slow", nullptr, slow));
    ObjectFactoryInterface::AddPending(
        new ControllerInterface(new Probe(Mesh("Slow"), 1, 1), nullptr));
    ControllerInterface* const asteroid = ObjectFactoryInterface::CreateObject(0);
    EXPECT_EQ(asteroid, factory->Flush());
    ASSERT_EQ(1u, world.size());
    EXPECT_EQ(asteroid, world.front());
    EXPECT_EQ(nullptr, factory->Flush());
    EXPECT_EQ(1u, world.size());
    ASSERT_TRUE(ProcessUntil(store, [slow] { return slow->IsReady(); }));
    factory->Flush();
    EXPECT_EQ(2u, world.size());
}

TEST_F(ObjectFactoryTest, AnExplosionIsABarePlaceWithItsStripAndNoViewMeansNone)
{
    ControllerInterface* const explosion = ObjectFactoryInterface::CreateObject(0, 1, 0);
    const AnimationView* view = explosion->GetView<AnimationView>();
    ASSERT_TRUE(view);
    EXPECT_EQ(explosion->GetModel(), view->GetModel());
    EXPECT_EQ(0, view->GetFrame());

    ControllerInterface* const viewless = ObjectFactoryInterface::CreateObject(2, 0, 0);
    EXPECT_EQ(nullptr, viewless->GetView<ViewInterface>());
    EXPECT_EQ(nullptr, ObjectFactoryInterface::CreateView(0, nullptr));
    factory->Flush();
    factory->Flush();
    EXPECT_EQ(nullptr, ObjectFactoryInterface::KillByView(nullptr));
    EXPECT_EQ(explosion, ObjectFactoryInterface::KillByView(const_cast<AnimationView*>(view)));
}

TEST_F(ObjectFactoryTest, ShipsGetTheControllersOfTheirKinds)
{
    ShipModel* const player = new ShipModel(*data, store);
    std::unique_ptr<ControllerInterface> steered(
        ObjectFactoryInterface::CreateController(1, player, nullptr));
    EXPECT_TRUE(dynamic_cast<PlayerController*>(steered.get()));
    PushKey(SDL_KEYDOWN, SDLK_UP);
    events.Poll();
    steered->Update();
    EXPECT_TRUE(player->controls.thrust);

    ShipModel* const drifting = new ShipModel(*data, store);
    std::unique_ptr<ControllerInterface> idle(
        ObjectFactoryInterface::CreateController(2, drifting, nullptr));
    EXPECT_TRUE(dynamic_cast<AiController*>(idle.get()));
}

TEST_F(ObjectFactoryTest, UnknownAndMismatchedKindsThrowAndKeepNothing)
{
    PositionModel place;
    const struct
    {
        std::function<void()> make;
        const char* message;
    } cases[] = {
        {[] { ObjectFactoryInterface::CreateModel(1); }, "ObjectFactory, unknown model: 1"},
        {[] { ObjectFactoryInterface::CreateModel(-1); }, "ObjectFactory, unknown model: -1"},
        {[] { ObjectFactoryInterface::CreateModel(5); }, "ObjectFactory, unknown model: 5"},
        {[&] { ObjectFactoryInterface::CreateView(5, &place); }, "ObjectFactory, unknown view: 5"},
        {[&] { ObjectFactoryInterface::CreateView(-2, &place); },
         "ObjectFactory, unknown view: -2"},
        {[&] { ObjectFactoryInterface::CreateController(3, &place, nullptr); },
         "ObjectFactory, unknown controller: 3"},
        {[&] { ObjectFactoryInterface::CreateController(-1, &place, nullptr); },
         "ObjectFactory, unknown controller: -1"},
        {[] { ObjectFactoryInterface::CreateObject(5); }, "ObjectFactory, unknown object: 5"},
        {[] { ObjectFactoryInterface::CreateObject(-1); }, "ObjectFactory, unknown object: -1"},
        // A model of another class would reach the view or controller as null.
        {[&] { ObjectFactoryInterface::CreateView(2, &place); },
         "ObjectFactory, wrong model for view: 2"},
        {[] { ObjectFactoryInterface::CreateView(1, nullptr); },
         "ObjectFactory, wrong model for view: 1"},
        {[] { ObjectFactoryInterface::CreateObject(3, 4, 0); },
         "ObjectFactory, wrong model for view: 4"},
        {[&] { ObjectFactoryInterface::CreateController(1, &place, nullptr); },
         "ObjectFactory, wrong model for controller: 1"},
        {[&] { ObjectFactoryInterface::CreateController(2, &place, nullptr); },
         "ObjectFactory, wrong model for controller: 2"},
        {[] { ObjectFactoryInterface::CreateController(0, nullptr, nullptr); },
         "ObjectFactory, wrong model for controller: 0"},
        // The model and view already made are deleted again.
        {[] { ObjectFactoryInterface::CreateObject(2, 2, 1); },
         "ObjectFactory, wrong model for controller: 1"},
        {[] { ObjectFactoryInterface::CreateObject(0, 2, 0); },
         "ObjectFactory, wrong model for view: 2"},
    };
    for (const auto& test : cases)
        EXPECT_EQ(test.message, ErrorOf(test.make));
    factory->Flush();
    EXPECT_TRUE(world.empty());
}

TEST_F(ObjectFactoryTest, TheResourcesOfTheKindsMustExist)
{
    DataStore bare(nullptr);
    ObjectFactory empty(&world, &events, &timer, &bare, nullptr);
    PositionModel place;
    EXPECT_EQ("Missing resource: 'Asteroid'",
              ErrorOf([] { ObjectFactoryInterface::CreateObject(0); }));
    EXPECT_EQ("Missing resource: 'Planet'",
              ErrorOf([] { ObjectFactoryInterface::CreateObject(1); }));
    EXPECT_EQ("Missing resource: 'Explosion'",
              ErrorOf([&] { ObjectFactoryInterface::CreateView(1, &place); }));
}

} // namespace
