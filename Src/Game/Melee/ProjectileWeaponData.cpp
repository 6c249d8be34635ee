#include "Game/Melee/ProjectileWeaponData.h"

namespace Melee
{

ProjectileWeapon::Data::Data(const std::string& resource) : Weapon::Data(Projectile, resource) {}

} // namespace Melee
