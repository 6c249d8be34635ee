#pragma once

#include "Game/Objects/EntityHandle.h"
#include "Game/Objects/ShipModel.h"

#include <memory>
#include <string>

class LuaState;

namespace Melee
{

class Weapon;

// A ship of the battle, known by its player number: a battery that
// regenerates, two weapon slots fired by the fire and special flags, and an
// entry of the Lua table "ShipData" under its number that mirrors its state
// for the interface. Its crew and battery are reported as unit events. While
// it exists it can be found by its number, so that events, which carry only
// the number, can name it; its target is held so that it reads null once that
// ship is deleted.
class ShipModel : public ::ShipModel
{
public:
    class Data;

    // Writes the ship's table, runs the data's init function and posts the
    // events of its making. The data, the store and the Lua state must
    // outlive the ship; "ShipData" should be a table by now.
    ShipModel(const Data& data, DataStore& store, LuaState& lua, int player,
              const std::string& frameName);
    ~ShipModel() override;

    // The flight, regeneration, firing, the weapons' steps, the ship's table
    // and the data's update function, whose failure throws Error.
    void Update() override;
    // Both report the crew left.
    void OnHit(EntityModel& other) override;
    void Damage(int amount) override;
    // Reports the ship destroyed, on every call.
    void Kill() override;

    // The slots are filled before the ship's view is made; the ship owns its
    // weapons.
    void SetWeapons(std::unique_ptr<Weapon> primary, std::unique_ptr<Weapon> secondary);

    int GetPlayer() const { return player; }
    const std::string& GetFrameName() const { return frameName; }
    float GetBattery() const { return battery; }
    Weapon* GetPrimaryWeapon() const { return primaryWeapon.get(); }
    Weapon* GetSecondaryWeapon() const { return secondaryWeapon.get(); }
    // The other ship, or null.
    ShipModel* GetTarget() const;
    void SetTarget(ShipModel* ship);

    // The first existing battle ship of that player number, or null.
    static ShipModel* Find(int player);

private:
    void Regenerate();
    void FireWeapons();
    void ReportBattery() const;
    void ReportCrew() const;
    void WriteShipData(bool whole) const;
    // Calls the Lua global of the name with the player number; returns Lua's
    // message on failure, empty otherwise.
    std::string RunHook(const std::string& function) const;

    const Data& definition;
    const int player;
    const std::string frameName;
    EntityHandle target;
    LuaState& lua;
    float battery;
    float regenerationTimer = 0.0f;
    float weaponTimer = 0.0f;
    std::unique_ptr<Weapon> primaryWeapon;
    std::unique_ptr<Weapon> secondaryWeapon;
};

} // namespace Melee
