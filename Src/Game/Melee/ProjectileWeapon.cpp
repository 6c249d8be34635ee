#include "Game/Melee/ProjectileWeapon.h"

#include "Engine/ControllerInterface.h"
#include "Engine/ObjectFactoryInterface.h"
#include "Engine/ViewInterface.h"
#include "Game/Melee/ProjectileModel.h"
#include "Game/Melee/ProjectileWeaponData.h"
#include "Game/Melee/ShipModel.h"
#include "Game/Objects/Angles.h"
#include "Game/Objects/ObjectKinds.h"

#include <cmath>

namespace Melee
{

ProjectileWeapon::ProjectileWeapon(const Data& data, ShipModel& ship, DataStore& store)
    : Weapon(data, ship, store), shotData(data),
      shotModel(Object3DModel::RequireMesh(store, data.resource))
{
}

void ProjectileWeapon::Spawn(float heading, const Math::Vector& position)
{
    ProjectileModel* const shot = new ProjectileModel(shotModel, ship, shotData);
    ViewInterface* const shotView = ObjectFactoryInterface::CreateView(ViewKind::Object3D, shot);
    LaunchShot(new ControllerInterface(shot, shotView), ship, heading, position, shotData.speed);
}

void LaunchShot(ControllerInterface* shot, const ShipModel& ship, float heading,
                const Math::Vector& position, float speed)
{
    EntityModel* const model = static_cast<EntityModel*>(shot->GetModel());
    model->SetPosition(position[0], position[1]);
    model->SetAngle(heading);
    const float radians = heading * RadiansPerDegree;
    model->SetVelocity(ship.GetVelocityX() + speed * std::cos(radians),
                       ship.GetVelocityY() + speed * std::sin(radians));
    if (!ObjectFactoryInterface::AddPending(shot))
        delete shot;
}

} // namespace Melee
