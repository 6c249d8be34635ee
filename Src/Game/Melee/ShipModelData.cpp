#include "Game/Melee/ShipModelData.h"

#include <tinyxml.h>

namespace Melee
{

ShipModel::Data::Data(const std::string& file, const std::string& resource, const std::string& race,
                      const std::string& name)
    : ::ShipModel::Data(resource, race, name), file(file)
{
}

ShipModel::Data::~Data() = default;

} // namespace Melee
