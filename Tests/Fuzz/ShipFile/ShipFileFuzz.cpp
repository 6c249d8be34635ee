// Feeds arbitrary bytes to the data reader as a data file of ship
// definitions. Whatever ships it accepts must have finite values, a speed
// limit above 0 and weapon records of the kind their type names.
#include "Engine/DataReader.h"
#include "Engine/DataStore.h"
#include "Engine/Error.h"
#include "Engine/PointerResource.h"
#include "Game/Melee/LaserWeaponData.h"
#include "Game/Melee/ProjectileWeaponData.h"
#include "Game/Melee/ShipDataReader.h"
#include "Game/Melee/ShipModelData.h"
#include "Game/Objects/ShipDataList.h"
#include "Support/FuzzInput.h"
#include "Support/IdleResources.h"

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>

namespace
{

void Require(bool condition)
{
    FuzzCheck(condition, "a ship record with a value the game cannot use");
}

void CheckFinite(std::initializer_list<float> values)
{
    for (const float value : values)
        Require(std::isfinite(value));
}

void CheckStreams(const ThrustList& streams)
{
    for (const std::unique_ptr<ThrustData>& stream : streams)
    {
        CheckFinite({stream->speedFactor, stream->accelFactor, stream->size, stream->life});
        for (int i = 0; i < 3; ++i)
            CheckFinite({stream->position[i], stream->speed[i], stream->accel[i]});
    }
}

void CheckWeapon(const Melee::Weapon::Data* weapon)
{
    if (!weapon)
        return;
    CheckFinite({weapon->waitTime});
    for (const WeaponMount& mount : weapon->mounts)
        CheckFinite({mount.angle, mount.offset[0], mount.offset[1], mount.offset[2]});
    if (const auto* shots = dynamic_cast<const Melee::ProjectileWeapon::Data*>(weapon))
    {
        Require(weapon->type == Melee::Weapon::Data::Projectile);
        CheckFinite({shots->hitRadius, shots->lifetime, shots->speed, shots->turningSpeed});
        CheckStreams(shots->thrust);
    }
    else
    {
        const auto& laser = dynamic_cast<const Melee::LaserWeapon::Data&>(*weapon);
        Require(weapon->type == Melee::Weapon::Data::Laser);
        CheckFinite({laser.range, laser.width});
    }
}

void CheckShip(const Melee::ShipModel::Data& ship)
{
    CheckFinite({ship.mass, ship.radius, ship.acceleration, ship.turningSpeed, ship.maxSpeed,
                 ship.maxSpeedSquared, ship.pitchTarget, ship.rollTarget, ship.regenerationWait,
                 ship.pitchGains.p, ship.pitchGains.i, ship.pitchGains.d, ship.rollGains.p,
                 ship.rollGains.i, ship.rollGains.d});
    Require(ship.maxSpeed > 0 && ship.maxSpeedSquared > 0);
    CheckStreams(ship.engines);
    CheckWeapon(ship.primaryWeapon.get());
    CheckWeapon(ship.secondaryWeapon.get());
}

DataStore& Store()
{
    static DataStore store(nullptr);
    return store;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    StartFuzzTarget(*argc, *argv, "");
    DataReader::RegisterReader("ship", Melee::ShipDataReader::Make);
    // The exhaust textures are looked up, never decoded or uploaded.
    for (const char* name : {"Flame", "Smoke"})
        Store().AddExisting(name, nullptr, new IdleTexture(name));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    DataStore& store = Store();
    // A fresh list each run, so that the ships of earlier inputs do not pile up.
    ShipDataList* const ships = new ShipDataList;
    store.AddExisting("ShipDataList", nullptr, new PointerResource(ships, true));

    WriteInput("Data/Ships.xml", data, size);
    DataReader reader(&store, nullptr, nullptr);
    try
    {
        reader.ReadFile("Data/Ships.xml", "");
    }
    catch (const Error&)
    {
    }
    for (const std::unique_ptr<Melee::ShipModel::Data>& ship : ships->GetRecords())
        CheckShip(*ship);
    store.Remove("ShipDataList", true);
    return 0;
}
