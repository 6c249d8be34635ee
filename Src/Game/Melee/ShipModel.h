#pragma once

#include "Game/Objects/EntityHandle.h"
#include "Game/Objects/ShipModel.h"

namespace Melee
{

// A ship of the battle, known by its player number. While it exists it can be
// found by that number, so that events, which carry only the number, can name
// it; its target is held so that it reads null once that ship is deleted.
class ShipModel : public ::ShipModel
{
public:
    class Data;

    ShipModel(const Data& data, DataStore& store, int player);
    ~ShipModel() override;

    int GetPlayer() const { return player; }
    // The other ship, or null.
    ShipModel* GetTarget() const;
    void SetTarget(ShipModel* ship);

    // The first existing battle ship of that player number, or null.
    static ShipModel* Find(int player);

private:
    const int player;
    EntityHandle target;
};

} // namespace Melee
