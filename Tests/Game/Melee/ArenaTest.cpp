#include "Game/Melee/Arena.h"

#include "Support/VectorText.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace
{

Melee::ZoomTable Table()
{
    Melee::ZoomTable zoom;
    for (std::size_t i = 0; i < zoom.size(); ++i)
        zoom[i] = {static_cast<float>((i + 1) * (i + 1) * 100), Melee::ZoomDistances[i]};
    return zoom;
}

TEST(ArenaTest, TheCentreLiesBetweenTheShipsOnTheWrappedPlane)
{
    const struct
    {
        const char* name;
        std::vector<Math::Vector> ships;
        Math::Vector centre;
    } cases[] = {
        {"one ship", {{30, -40, 0}}, {30, -40, 0}},
        {"side by side", {{140, 15, 0}, {135, 15, 0}}, {137.5f, 15, 0}},
        {"across the edge", {{195, 10, 0}, {-195, 10, 0}}, {200, 10, 0}},
        {"across both edges", {{-190, -190, 0}, {190, 190, 0}}, {-200, -200, 0}},
        {"exactly half the arena apart", {{-100, 0, 0}, {100, 0, 0}}, {0, 0, 0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(VectorText(c.centre), VectorText(Melee::ArenaCentre(c.ships))) << c.name;
}

TEST(ArenaTest, TheZoomTakesTheFirstStepThatShowsBothShips)
{
    const Melee::ZoomTable zoom = Table();
    const struct
    {
        const char* name;
        std::vector<Math::Vector> ships;
        float distance;
    } cases[] = {
        // m = 25 across the edge: the first step (reach 100).
        {"across the edge", {{195, 0, 0}, {-195, 0, 0}}, 10},
        {"between steps", {{0, 0, 0}, {30, 0, 0}}, 30},
        {"on a step's reach", {{0, 0, 0}, {20, 0, 0}}, 5},
        {"on one point", {{7, 7, 0}, {7, 7, 0}}, 5},
        {"beyond the last step", {{0, 0, 0}, {0, 190, 0}}, 5},
    };
    for (const auto& c : cases)
    {
        const Math::Vector centre = Melee::ArenaCentre(c.ships);
        EXPECT_EQ(c.distance, Melee::ChooseDistance(zoom, centre, c.ships, 5)) << c.name;
    }
}

TEST(ArenaTest, EveryBodyIsDrawnAtItsImageNearestTheCentre)
{
    const struct
    {
        Math::Vector position;
        Math::Vector centre;
        Math::Vector offset;
    } cases[] = {
        {{-195, 15, 0}, {200, 15, 0}, {400, 0, 0}},
        {{195, 15, 0}, {200, 15, 0}, {0, 0, 0}},
        {{0, 0, 0}, {200, 0, 0}, {0, 0, 0}},
        {{-1, 190, 0}, {200, -20, 0}, {400, -400, 0}},
        {{10, 10, 3}, {0, 0, 0}, {0, 0, 0}},
        // Beyond 1e10 a float no longer changes by 400: reduced at once.
        {{1e10f, -1e10f, 0}, {0, 0, 0}, {-1e10f, 1e10f, 0}},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(VectorText(c.offset), VectorText(Melee::DrawingOffset(c.position, c.centre)))
            << VectorText(c.position);
    }
    // A body gone to infinity is drawn nowhere, and the battle goes on.
    const float infinity = std::numeric_limits<float>::infinity();
    const Math::Vector lost = Melee::DrawingOffset({infinity, -infinity, 0}, {0, 0, 0});
    EXPECT_TRUE(std::isnan(lost[0]) && std::isnan(lost[1]));
}

} // namespace
