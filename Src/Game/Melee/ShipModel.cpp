#include "Game/Melee/ShipModel.h"

#include "Game/Melee/ShipModelData.h"

#include <algorithm>
#include <vector>

namespace Melee
{

namespace
{

std::vector<ShipModel*>& LiveShips()
{
    static std::vector<ShipModel*> ships;
    return ships;
}

} // namespace

ShipModel::ShipModel(const Data& data, DataStore& store, int player)
    : ::ShipModel(data, store), player(player)
{
    LiveShips().push_back(this);
}

ShipModel::~ShipModel()
{
    std::vector<ShipModel*>& ships = LiveShips();
    ships.erase(std::remove(ships.begin(), ships.end(), this), ships.end());
}

ShipModel* ShipModel::GetTarget() const
{
    // Only battle ships are ever set as targets.
    return static_cast<ShipModel*>(target.Get());
}

void ShipModel::SetTarget(ShipModel* ship)
{
    target = EntityHandle(ship);
}

ShipModel* ShipModel::Find(int player)
{
    const std::vector<ShipModel*>& ships = LiveShips();
    const auto found =
        std::find_if(ships.begin(), ships.end(),
                     [player](const ShipModel* ship) { return ship->player == player; });
    return found == ships.end() ? nullptr : *found;
}

} // namespace Melee
