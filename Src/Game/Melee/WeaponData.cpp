#include "Game/Melee/WeaponData.h"

namespace Melee
{

Weapon::Data::Data(int type, const std::string& resource) : type(type), resource(resource) {}

Weapon::Data::~Data() = default;

} // namespace Melee
