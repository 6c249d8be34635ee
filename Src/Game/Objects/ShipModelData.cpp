#include "Game/Objects/ShipModelData.h"

ShipModel::Data::Data(const std::string& resource, const std::string& race, const std::string& name)
    : resource(resource), race(race), name(name)
{
}

ShipModel::Data::~Data() = default;
