#include "Game/Melee/Weapon.h"

#include "Audio/Sample.h"
#include "Engine/DataStore.h"
#include "Engine/Point.h"
#include "Game/Melee/ShipModel.h"
#include "Game/Melee/WeaponData.h"

namespace Melee
{

Weapon::Weapon(const Data& data, ShipModel& ship, DataStore& store)
    : data(data), ship(ship), sound(store.GetSample(data.sample, false))
{
}

Weapon::~Weapon() = default;

void Weapon::SetView(PositionView* shipView)
{
    view = shipView;
}

bool Weapon::Fire()
{
    if (sound && sound->IsReady())
        sound->Play();
    for (const WeaponMount& mount : data.mounts)
    {
        const Math::Point place = Math::Point(mount.offset) * ship.GetTransform();
        Spawn(mount.angle + ship.GetAngle(), Math::Vector(place[0], place[1], 0));
    }
    return true;
}

} // namespace Melee
