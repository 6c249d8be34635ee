#pragma once

#include "Game/Objects/Object3DView.h"

namespace Melee
{

class ShipModel;

// Draws a battle ship and its weapons' beams; the beams cast no shadow.
class ShipView : public Object3DView
{
public:
    // Hands itself to the ship's weapons, which must be set by now.
    explicit ShipView(ShipModel* ship);

    void Draw() override;

private:
    ShipModel* const ship;
};

} // namespace Melee
