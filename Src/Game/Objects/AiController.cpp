#include "Game/Objects/AiController.h"

#include "Game/Objects/ShipModel.h"

AiController::AiController(ShipModel* model, ViewInterface* view)
    : ControllerInterface(model, view), ship(model)
{
}

void AiController::Update()
{
    ship->controls = {};
    ControllerInterface::Update();
}
