#include "Game/Objects/PlayerController.h"

#include "Engine/GameEvents.h"
#include "Engine/UnitInfo.h"
#include "Game/Melee/ShipModel.h"

namespace
{

constexpr int KeySymbols[PlayerController::KeyCount] = {SDLK_UP, SDLK_LEFT, SDLK_RIGHT, SDLK_z,
                                                        SDLK_x};

const Event::UnitInfo* UnitEvent(const SDL_Event& event)
{
    return dynamic_cast<const Event::UnitInfo*>(Event::FromUserEvent(event));
}

} // namespace

PlayerController::PlayerController(ShipModel* model, ViewInterface* view, EventDispatcher& events,
                                   ObjectFactoryInterface::ObjectList* world)
    : ControllerInterface(model, view), ship(model),
      keys(std::make_unique<KeyHandler>(events, KeyCount, false)), world(world),
      subscription(events, SDL_USEREVENT, OnUnitEvent, this)
{
    for (int key = 0; key < KeyCount; ++key)
        keys->SetKey(key, KeySymbols[key]);
    keys->Enable();
    subscription.Subscribe();
}

PlayerController::~PlayerController()
{
    keys.reset();
    subscription.Unsubscribe();
}

void PlayerController::Update()
{
    ship->controls = {keys->down[ThrustKey], keys->down[LeftKey], keys->down[RightKey],
                      keys->down[FirePrimaryKey], keys->down[FireSecondaryKey]};
    ControllerInterface::Update();
}

// Never consumes the event.
bool PlayerController::OnUnitEvent(const SDL_Event& event, Object* data)
{
    const Event::UnitInfo* const unitEvent = UnitEvent(event);
    if (!unitEvent)
        return false;
    const PlayerController* const controller = static_cast<PlayerController*>(data);
    if (unitEvent->name == "UNIT_CREATED")
        controller->OnUnitCreated(unitEvent->unit);
    else if (unitEvent->name == "UNIT_DESTROYED")
        controller->OnUnitDestroyed(unitEvent->unit);
    return false;
}

// Each battle ship takes the first other ship announced.
void PlayerController::OnUnitCreated(int unit) const
{
    Melee::ShipModel* const own = dynamic_cast<Melee::ShipModel*>(ship);
    if (own && !own->GetTarget() && unit != own->GetPlayer())
        own->SetTarget(Melee::ShipModel::Find(unit));
}

void PlayerController::OnUnitDestroyed(int unit) const
{
    Melee::ShipModel* const own = dynamic_cast<Melee::ShipModel*>(ship);
    if (own && own->GetTarget() && own->GetTarget()->GetPlayer() == unit)
        own->SetTarget(nullptr);
}
