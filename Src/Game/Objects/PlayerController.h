#pragma once

#include "Engine/ControllerInterface.h"
#include "Engine/EventSubscription.h"
#include "Engine/KeyHandler.h"
#include "Engine/ObjectFactoryInterface.h"

#include <memory>

class ShipModel;

// Steers a ship from the keyboard: Up thrusts, Left and Right turn, z and x
// fire. The keys pass on to the handlers after it, so that every ship on them
// responds. A battle ship also gets its target from the unit events: the
// first other ship announced, until that ship is destroyed.
class PlayerController : public ControllerInterface
{
public:
    // The key slots, in the order of the ship's control flags.
    enum Key
    {
        ThrustKey,
        LeftKey,
        RightKey,
        FirePrimaryKey,
        FireSecondaryKey,
        KeyCount
    };

    // The keys are enabled and the unit events subscribed from now on.
    PlayerController(ShipModel* model, ViewInterface* view, EventDispatcher& events,
                     ObjectFactoryInterface::ObjectList* world);
    ~PlayerController() override;

    // The ship's flags from the keys, then the object's step.
    void Update() override;

    // The solar system disables it while its ship is parked.
    KeyHandler& GetKeyHandler() { return *keys; }

private:
    static bool OnUnitEvent(const SDL_Event& event, Object* data);
    void OnUnitCreated(int unit) const;
    void OnUnitDestroyed(int unit) const;

    ShipModel* const ship;
    std::unique_ptr<KeyHandler> keys;
    // The world the ship flies in, for the controller's kinds to come.
    [[maybe_unused]] ObjectFactoryInterface::ObjectList* const world;
    EventSubscription subscription;
};
