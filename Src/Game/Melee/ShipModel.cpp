#include "Game/Melee/ShipModel.h"

#include "Engine/Error.h"
#include "Engine/GameEvents.h"
#include "Engine/LuaState.h"
#include "Engine/Settings.h"
#include "Game/Melee/ShipModelData.h"
#include "Game/Melee/Weapon.h"
#include "Game/Melee/WeaponData.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <vector>

namespace Melee
{

namespace
{

std::vector<ShipModel*>& LiveShips()
{
    static std::vector<ShipModel*> ships;
    return ships;
}

// A timer in seconds runs down by one step and stops at 0.
void CountDown(float& timer)
{
    if (timer > 0)
    {
        timer -= StepSeconds;
        if (timer < 0)
            timer = 0;
    }
}

// The battery as the whole number that is reported; beyond what an int holds
// it stops at the ends (a float turned into an int out of range is undefined).
int Truncated(float battery)
{
    constexpr float IntLimit = 2147483648.0f;
    if (!(battery < IntLimit))
        return INT_MAX;
    if (battery < -IntLimit)
        return INT_MIN;
    return static_cast<int>(battery);
}

// What the protected Lua functions below are given.
struct ShipFields
{
    int player;
    bool whole;
    int crew;
    int crewMax;
    int battery;
    int batteryMax;
    const char* frameName;
    ShipModel::Controls controls;
};

struct HookCall
{
    const char* function;
    int player;
};

void SetInteger(lua_State* L, const char* name, int value)
{
    lua_pushinteger(L, value);
    lua_setfield(L, -2, name);
}

void SetBoolean(lua_State* L, const char* name, bool value)
{
    lua_pushboolean(L, value);
    lua_setfield(L, -2, name);
}

// A script may have replaced "ShipData" or the ship's table by anything: what
// is no table is left alone. The whole form makes the ship's table anew.
int WriteFields(lua_State* L)
{
    const ShipFields& fields = *static_cast<const ShipFields*>(lua_touserdata(L, 1));
    lua_getglobal(L, "ShipData");
    if (!lua_istable(L, -1))
        return 0;
    if (fields.whole)
    {
        lua_newtable(L);
        SetInteger(L, "CrewMax", fields.crewMax);
        SetInteger(L, "BatteryMax", fields.batteryMax);
        lua_pushstring(L, fields.frameName);
        lua_setfield(L, -2, "FrameName");
        lua_pushvalue(L, -1);
        lua_rawseti(L, -3, fields.player);
    }
    else
    {
        lua_rawgeti(L, -1, fields.player);
        if (!lua_istable(L, -1))
            return 0;
        SetBoolean(L, "KeyThrust", fields.controls.thrust);
        SetBoolean(L, "KeyLeft", fields.controls.turnLeft);
        SetBoolean(L, "KeyRight", fields.controls.turnRight);
        SetBoolean(L, "KeyFire", fields.controls.firePrimary);
        SetBoolean(L, "KeySpecial", fields.controls.fireSecondary);
    }
    SetInteger(L, "Crew", fields.crew);
    SetInteger(L, "Battery", fields.battery);
    return 0;
}

// The call is timed like every call of the game into Lua. A global that is
// no function fails the call with Lua's own message.
int CallHook(lua_State* L)
{
    const HookCall& call = *static_cast<const HookCall*>(lua_touserdata(L, 1));
    lua_getglobal(L, call.function);
    lua_pushinteger(L, call.player);
    const LuaLimits::Call timed(L, 1);
    lua_call(L, 1, 0);
    return 0;
}

// Runs the function where no Lua error can reach the panic handler; returns
// Lua's message, taken off the stack, or "" when it ran.
std::string RunProtected(lua_State* L, lua_CFunction function, void* data)
{
    if (lua_cpcall(L, function, data) == 0)
        return std::string();
    const char* const text = lua_tostring(L, -1);
    std::string message = text ? text : "(error object is not a string)";
    lua_pop(L, 1);
    return message;
}

} // namespace

ShipModel::ShipModel(const Data& data, DataStore& store, LuaState& lua, int player,
                     const std::string& frameName)
    : ::ShipModel(data, store), definition(data), player(player), frameName(frameName), lua(lua),
      battery(static_cast<float>(data.energy))
{
    WriteShipData(true);
    if (!data.initFunction.empty())
    {
        const std::string message = RunHook(data.initFunction);
        if (!message.empty())
            std::printf("%s: %s", data.initFunction.c_str(), message.c_str());
    }
    Event::Send(Event::UnitCreated(player));
    Event::Send(Event::UnitMaxHealth(player, data.crewMax));
    Event::Send(Event::UnitMaxBattery(player, data.energyMax));
    ReportCrew();
    ReportBattery();
    // Last, so that a ship whose making failed is never found.
    LiveShips().push_back(this);
}

ShipModel::~ShipModel()
{
    std::vector<ShipModel*>& ships = LiveShips();
    ships.erase(std::remove(ships.begin(), ships.end(), this), ships.end());
}

void ShipModel::Update()
{
    ::ShipModel::Update();
    Regenerate();
    FireWeapons();
    for (Weapon* const weapon : {primaryWeapon.get(), secondaryWeapon.get()})
    {
        if (weapon)
            weapon->Update();
    }
    WriteShipData(false);
    if (!definition.updateFunction.empty())
    {
        const std::string message = RunHook(definition.updateFunction);
        if (!message.empty())
            throw Error(definition.updateFunction, ":\n", message);
    }
}

void ShipModel::OnHit(EntityModel& other)
{
    ::ShipModel::OnHit(other);
    ReportCrew();
}

void ShipModel::Damage(int amount)
{
    EntityModel::Damage(amount);
    ReportCrew();
}

void ShipModel::Kill()
{
    EntityModel::Kill();
    Event::Send(Event::UnitDestroyed(player));
}

void ShipModel::SetWeapons(std::unique_ptr<Weapon> primary, std::unique_ptr<Weapon> secondary)
{
    primaryWeapon = std::move(primary);
    secondaryWeapon = std::move(secondary);
}

ShipModel* ShipModel::GetTarget() const
{
    // Only battle ships are ever set as targets.
    return static_cast<ShipModel*>(target.Get());
}

void ShipModel::SetTarget(ShipModel* ship)
{
    target = EntityHandle(ship);
}

ShipModel* ShipModel::Find(int player)
{
    const std::vector<ShipModel*>& ships = LiveShips();
    const auto found =
        std::find_if(ships.begin(), ships.end(),
                     [player](const ShipModel* ship) { return ship->player == player; });
    return found == ships.end() ? nullptr : *found;
}

void ShipModel::Regenerate()
{
    CountDown(regenerationTimer);
    if (regenerationTimer > 0 || !(battery < definition.energyMax))
        return;
    battery = std::min(battery + definition.regeneration, static_cast<float>(definition.energyMax));
    ReportBattery();
    regenerationTimer = definition.regenerationWait;
}

// With both flags set the secondary weapon wins.
void ShipModel::FireWeapons()
{
    CountDown(weaponTimer);
    if (weaponTimer > 0)
        return;
    Weapon* const weapon = controls.fireSecondary ? secondaryWeapon.get()
                           : controls.firePrimary ? primaryWeapon.get()
                                                  : nullptr;
    if (!weapon || battery < weapon->GetData().energyCost || !weapon->Fire())
        return;
    battery -= weapon->GetData().energyCost;
    weaponTimer = weapon->GetData().waitTime;
    regenerationTimer = definition.regenerationWait;
    ReportBattery();
}

void ShipModel::ReportBattery() const
{
    Event::Send(Event::UnitBattery(player, Truncated(battery)));
}

void ShipModel::ReportCrew() const
{
    Event::Send(Event::UnitHealth(player, hitPoints));
}

void ShipModel::WriteShipData(bool whole) const
{
    ShipFields fields = {player,
                         whole,
                         hitPoints,
                         definition.crewMax,
                         Truncated(battery),
                         definition.energyMax,
                         frameName.c_str(),
                         controls};
    const std::string message = RunProtected(lua.GetState(), WriteFields, &fields);
    if (!message.empty())
        throw Error("ShipData: ", message);
}

std::string ShipModel::RunHook(const std::string& function) const
{
    HookCall call = {function.c_str(), player};
    return RunProtected(lua.GetState(), CallHook, &call);
}

} // namespace Melee
