#pragma once

namespace Melee
{

// A weapon of a battle ship, fired from each of its mounts. Its parameters
// are read with the ship definition.
class Weapon
{
public:
    class Data;
};

} // namespace Melee
