#pragma once

#include "Game/Melee/ShipModel.h"
#include "Game/Melee/WeaponData.h"
#include "Game/Objects/ShipModelData.h"

#include <memory>
#include <string>

class TiXmlElement;

namespace Melee
{

// A ship definition of the battle: the flying ship's values and its battery,
// scripts, weapons and captain panel.
class ShipModel::Data : public ::ShipModel::Data
{
public:
    // The file is the data file in which the definition stands.
    Data(const std::string& file, const std::string& resource, const std::string& race,
         const std::string& name);
    ~Data() override;

    std::string file;
    int energy = 1;
    int energyMax = 1;
    // Battery points gained per regeneration, every regenerationWait seconds.
    int regeneration = 1;
    float regenerationWait = 1.0f;
    // Lua globals run when such a ship is made, and at its every step.
    std::string initFunction;
    std::string updateFunction;
    // Fired with the fire and the special key; null for an empty slot.
    std::unique_ptr<Weapon::Data> primaryWeapon;
    std::unique_ptr<Weapon::Data> secondaryWeapon;
    // The captain panel's interface definition, read later with paths relative
    // to the file; null when the ship has none.
    std::unique_ptr<TiXmlElement> captainUi;
};

} // namespace Melee
