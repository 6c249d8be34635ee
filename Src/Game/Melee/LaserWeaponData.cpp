#include "Game/Melee/LaserWeaponData.h"

namespace Melee
{

LaserWeapon::Data::Data(const std::string& resource) : Weapon::Data(Laser, resource) {}

} // namespace Melee
