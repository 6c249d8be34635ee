#pragma once

#include "Engine/ControllerInterface.h"
#include "Engine/DataStore.h"
#include "Engine/EventDispatcher.h"
#include "Engine/ObjectFactoryInterface.h"
#include "Engine/Settings.h"
#include "Engine/Timer.h"
#include "Game/Melee/ShipModelData.h"
#include "Game/Objects/EntityModel.h"
#include "Game/Objects/ObjectFactory.h"
#include "Support/ReadyResources.h"
#include "Support/SdlEventQueue.h"

#include <memory>

// A body for tests of the physics: its hits are counted, its state can be set
// directly.
class Probe : public EntityModel
{
public:
    Probe(Model* mesh, float mass, float radius) : EntityModel(mesh, 10, mass, radius) {}

    void OnHit(EntityModel& /*other*/) override { ++hits; }

    void Place(float newX, float newY, float newVx = 0, float newVy = 0)
    {
        x = newX;
        y = newY;
        vx = newVx;
        vy = newVy;
    }

    int hits = 0;
};

// The world of a game state, with the default settings, SDL's event queue,
// the factory and a store in which the meshes "Planet", "Asteroid" and
// "Hull" and the 8-frame strip "Explosion" are published and ready.
class WorldTest : public SdlEventQueueTest
{
protected:
    void SetUp() override
    {
        SdlEventQueueTest::SetUp();
        Settings::SetDefaults();
        for (const char* name : {"Planet", "Asteroid", "Hull"})
            PublishReady(store, new IdleModel(store, name));
        PublishReady(store, new IdleStrip("Explosion", 8, 0.05f));
        factory = std::make_unique<ObjectFactory>(&world, &events, &timer, &store, nullptr);
    }

    // The game state's order: the factory first, then the world, from the back.
    void TearDown() override
    {
        factory.reset();
        while (!world.empty())
        {
            delete world.back();
            world.pop_back();
        }
        SdlEventQueueTest::TearDown();
    }

    Model* Mesh(const std::string& name) { return store.GetModel(name, true); }

    // A battle ship's definition on the mesh "Hull".
    static std::unique_ptr<Melee::ShipModel::Data> ShipData()
    {
        return std::make_unique<Melee::ShipModel::Data>("Data/Ships.xml", "Hull", "Velmorian",
                                                        "Cruiser");
    }

    DataStore store{nullptr};
    EventDispatcher events;
    Timer timer{15};
    ObjectFactoryInterface::ObjectList world;
    std::unique_ptr<ObjectFactory> factory;
};
