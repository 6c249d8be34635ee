#include "Game/Melee/ProjectileModel.h"

#include "Engine/ControllerInterface.h"
#include "Engine/ObjectFactoryInterface.h"
#include "Engine/Settings.h"
#include "Engine/ViewInterface.h"
#include "Game/Melee/ProjectileWeaponData.h"
#include "Game/Melee/ShipModel.h"
#include "Game/Objects/HomingBehavior.h"
#include "Game/Objects/ObjectKinds.h"
#include "Game/Objects/PositionModel.h"
#include "Game/Objects/ThrustBehavior.h"

ProjectileModel::ProjectileModel(Model* mesh, Melee::ShipModel& owner,
                                 const Melee::ProjectileWeapon::Data& data)
    : EntityModel(mesh, data.hits, 0.0f, data.hitRadius), owner(owner.GetHandle()), data(data),
      lifetime(data.lifetime)
{
}

ProjectileModel::~ProjectileModel() = default;

void ProjectileModel::Update()
{
    if (exhaust)
        exhaust->Emit(current, Math::Vector(vx, vy, 0));
    EntityModel::Update();
    lifetime -= StepSeconds;
    if (lifetime < 0)
        Kill();
}

void ProjectileModel::SetController(ControllerInterface* controller)
{
    if (data.homing)
    {
        const Melee::ShipModel* const ship = static_cast<Melee::ShipModel*>(owner.Get());
        homing = std::make_unique<HomingBehavior>(this, ship ? ship->GetTarget() : nullptr,
                                                  data.turningSpeed * StepSeconds, data.speed);
        controller->AddBehavior(homing.get());
    }
    if (!data.thrust.empty())
    {
        exhaust = std::make_unique<ThrustBehavior>(&data.thrust);
        controller->AddBehavior(exhaust.get());
    }
}

void ProjectileModel::OnHit(EntityModel& /*other*/)
{
    Kill();
}

// A shot that meets another shot only hurts it; the other's own call hurts
// this one.
void ProjectileModel::OnCollision(EntityModel& other, const Math::Vector& /*impulse*/,
                                  float contactTime)
{
    const ProjectileModel* const otherShot = dynamic_cast<ProjectileModel*>(&other);
    if (otherShot && otherShot->owner.SameEntity(owner))
        return;
    if (&other == owner.Get() && !data.canHitOwner)
        return;
    other.Damage(data.damage);
    if (otherShot)
        return;
    Advance(contactTime);
    Kill();
}

void ProjectileModel::Kill()
{
    if (!alive)
        return;
    EntityModel::Kill();
    Explode();
}

// Whatever fails on the way deletes what was made.
void ProjectileModel::Explode() const
{
    std::unique_ptr<ModelInterface> model(ObjectFactoryInterface::CreateModel(ModelKind::Position));
    PositionModel* const explosion = dynamic_cast<PositionModel*>(model.get());
    if (!explosion)
        return;
    explosion->CopyFrom(*this);
    std::unique_ptr<ViewInterface> view(
        ObjectFactoryInterface::CreateView(ViewKind::Explosion, explosion));
    std::unique_ptr<ControllerInterface> controller(
        ObjectFactoryInterface::CreateController(ControllerKind::Plain, explosion, view.get()));
    if (!controller)
        return;
    model.release();
    view.release();
    if (ObjectFactoryInterface::AddPending(controller.get()))
        controller.release();
}
