#pragma once

#include "Engine/GameEvents.h"
#include "Engine/LuaState.h"
#include "Engine/UnitData.h"
#include "Game/Melee/LaserWeapon.h"
#include "Game/Melee/LaserWeaponData.h"
#include "Game/Melee/ProjectileWeapon.h"
#include "Game/Melee/ProjectileWeaponData.h"
#include "Game/Melee/ShipModel.h"
#include "Game/Objects/AnimationView.h"
#include "Game/Objects/WorldFixture.h"
#include "Game/Objects/WorldStep.h"
#include "Graphics/Model3D/Model.h"
#include "Support/IdleResources.h"

#include <string>
#include <vector>

// The unit events that reach it, in order, as "NAME unit" or "NAME unit
// value"; it consumes none.
struct UnitEventLog : Object
{
    static bool Record(const SDL_Event& event, Object* data)
    {
        const Event::EventBase* const object = Event::FromUserEvent(event);
        const auto* const unit = dynamic_cast<const Event::UnitInfo*>(object);
        if (!unit)
            return false;
        std::string line = unit->name + " " + std::to_string(unit->unit);
        if (const auto* const withValue = dynamic_cast<const Event::UnitData*>(object))
            line += " " + std::to_string(withValue->value);
        static_cast<UnitEventLog*>(data)->lines.push_back(line);
        return false;
    }

    std::vector<std::string> lines;
};

// The world of the battle: besides the world's resources, the shot model
// "Shot", the beam texture "Beam" and the lasers' "Empty3DModel"; the Lua
// table "ShipData"; and a log of the unit events.
class BattleTest : public WorldTest
{
protected:
    void SetUp() override
    {
        WorldTest::SetUp();
        PublishReady(store, Model::MakeEmpty("Empty3DModel"));
        PublishReady(store, new IdleTexture("Beam"));
        PublishReady(store, new IdleModel(store, "Shot"));
        lua.DoString("ShipData = {}");
        events.AddHandler(SDL_USEREVENT, UnitEventLog::Record, &log, false);
    }

    // A ship of the definition in the world, under a plain controller.
    Melee::ShipModel* AddShip(const Melee::ShipModel::Data& definition, int player = 1)
    {
        auto* const ship = new Melee::ShipModel(definition, store, lua, player,
                                                "ShipWindow" + std::to_string(player) + "Captain");
        world.push_back(new ControllerInterface(ship, nullptr));
        return ship;
    }

    // Each object's step, then the factory's flush.
    void Step(int count = 1)
    {
        for (int i = 0; i < count; ++i)
        {
            for (ControllerInterface* const object : ObjectFactoryInterface::ObjectList(world))
                object->Update();
            factory->Flush();
        }
    }

    // The battle's own steps: updates, collisions and the flush.
    void StepBattle(int count)
    {
        for (int i = 0; i < count; ++i)
            StepWorld(world, *factory);
    }

    // Lets every waiting object join the world, one a flush.
    void JoinAll()
    {
        for (int i = 0; i < 20; ++i)
            factory->Flush();
    }

    template <class Model>
    std::vector<Model*> InWorld() const
    {
        std::vector<Model*> found;
        for (ControllerInterface* const object : world)
        {
            if (Model* const model = dynamic_cast<Model*>(object->GetModel()))
                found.push_back(model);
        }
        return found;
    }

    int Explosions() const
    {
        int count = 0;
        for (const ControllerInterface* const object : world)
            count += object->GetView<AnimationView>() != nullptr;
        return count;
    }

    static std::unique_ptr<Melee::ProjectileWeapon::Data> Cannon(int cost, int mounts = 1)
    {
        auto cannon = std::make_unique<Melee::ProjectileWeapon::Data>("Shot");
        cannon->energyCost = cost;
        cannon->waitTime = 0.3f;
        cannon->speed = 50;
        cannon->lifetime = 2;
        cannon->mounts.resize(mounts);
        return cannon;
    }

    LuaState lua;
    UnitEventLog log;
};
