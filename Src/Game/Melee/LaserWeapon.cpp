#include "Game/Melee/LaserWeapon.h"

#include "Engine/ControllerInterface.h"
#include "Engine/DataStore.h"
#include "Game/Melee/LaserBehavior.h"
#include "Game/Melee/LaserWeaponData.h"
#include "Game/Melee/ProjectileModel.h"
#include "Game/Objects/Object3DModel.h"
#include "Graphics/Texture.h"

namespace Melee
{

namespace
{

const char* const EmptyModel = "Empty3DModel";
// One frame at 24 a second.
constexpr float ShotLifetime = 1.0f / 24.0f;

} // namespace

LaserWeapon::LaserWeapon(const Data& data, ShipModel& ship, DataStore& store)
    : Weapon(data, ship, store), shotData(EmptyModel),
      emptyModel(Object3DModel::RequireMesh(store, EmptyModel))
{
    Texture* const beam = store.GetTexture(data.resource, true);
    for (const WeaponMount& mount : data.mounts)
        beams.push_back(std::make_unique<LaserBehavior>(beam, data, mount));
    shotData.hitRadius = data.width;
    shotData.hits = 1;
    shotData.canHitOwner = false;
    shotData.lifetime = ShotLifetime;
    shotData.speed = data.range / ShotLifetime;
    shotData.damage = data.damage;
}

LaserWeapon::~LaserWeapon() = default;

void LaserWeapon::Update()
{
    for (const std::unique_ptr<LaserBehavior>& beam : beams)
        beam->DoUpdate();
}

void LaserWeapon::Draw()
{
    for (const std::unique_ptr<LaserBehavior>& beam : beams)
        beam->DoDraw();
}

void LaserWeapon::SetView(PositionView* shipView)
{
    Weapon::SetView(shipView);
    for (const std::unique_ptr<LaserBehavior>& beam : beams)
        beam->SetView(shipView);
}

void LaserWeapon::Spawn(float heading, const Math::Vector& position)
{
    for (const std::unique_ptr<LaserBehavior>& beam : beams)
        beam->Start();
    ProjectileModel* const shot = new ProjectileModel(emptyModel, ship, shotData);
    LaunchShot(new ControllerInterface(shot, nullptr), ship, heading, position, shotData.speed);
}

} // namespace Melee
