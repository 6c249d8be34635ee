#pragma once

// The kind numbers of the object factory's tables, which the factory's
// operations take as ints.

namespace ModelKind
{
enum : int
{
    Position = 0,
    Asteroid = 2,
    Planet = 3,
    SolarPlanet = 4
};
} // namespace ModelKind

namespace ViewKind
{
enum : int
{
    None = 0,
    Explosion = 1,
    Object3D = 2,
    Ship = 3,
    SolarPlanet = 4
};
} // namespace ViewKind

namespace ControllerKind
{
enum : int
{
    Plain = 0,
    Player = 1,
    Ai = 2
};
} // namespace ControllerKind

// The rows of the object table; the last two rows are both bare.
namespace WorldObject
{
enum : int
{
    Asteroid = 0,
    BattlePlanet = 1,
    SolarBody = 2,
    Bare = 3
};
} // namespace WorldObject
