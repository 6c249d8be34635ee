#include "Game/Melee/ShipView.h"

#include "Game/Melee/ShipModel.h"
#include "Game/Melee/Weapon.h"

namespace Melee
{

ShipView::ShipView(ShipModel* ship) : Object3DView(ship), ship(ship)
{
    for (Weapon* const weapon : {ship->GetPrimaryWeapon(), ship->GetSecondaryWeapon()})
    {
        if (weapon)
            weapon->SetView(this);
    }
}

void ShipView::Draw()
{
    Object3DView::Draw();
    for (Weapon* const weapon : {ship->GetPrimaryWeapon(), ship->GetSecondaryWeapon()})
    {
        if (weapon)
            weapon->Draw();
    }
}

} // namespace Melee
