#pragma once

#include "Engine/ControllerInterface.h"

class ShipModel;

// Holds every control of a ship off: the ship drifts without steering or
// firing.
class AiController : public ControllerInterface
{
public:
    AiController(ShipModel* model, ViewInterface* view);

    void Update() override;

private:
    ShipModel* const ship;
};
