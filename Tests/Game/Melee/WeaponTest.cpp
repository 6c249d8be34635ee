#include "BattleFixture.h"

#include "Engine/MathUtil.h"
#include "Game/Melee/LaserBehavior.h"
#include "Game/Melee/ProjectileModel.h"
#include "Game/Melee/ShipModelData.h"
#include "Game/Objects/HomingBehavior.h"
#include "Game/Objects/PlanetModel.h"

#include <cmath>
#include <gtest/gtest.h>

namespace
{

class WeaponTest : public BattleTest
{
protected:
    // A ship at (10, 20) heading 90 degrees, moving at (1, 2).
    Melee::ShipModel* PlacedShip(int player = 1)
    {
        Melee::ShipModel* const ship = AddShip(*data, player);
        ship->SetPosition(10, 20);
        ship->SetAngle(90);
        ship->SetVelocity(1, 2);
        return ship;
    }

    // A shot of the cannon fired from the ship, in the world.
    ProjectileModel* Shot(Melee::ShipModel& ship, const Melee::ProjectileWeapon::Data& cannon)
    {
        Melee::ProjectileWeapon weapon(cannon, ship, store);
        weapon.Fire();
        JoinAll();
        return InWorld<ProjectileModel>().back();
    }

    const std::unique_ptr<Melee::ShipModel::Data> data = ShipData();
};

TEST_F(WeaponTest, EveryMountSendsAShotPlacedByTheShipsTransform)
{
    Melee::ShipModel* const ship = PlacedShip();
    const auto cannon = Cannon(1, 3);
    cannon->mounts[0].offset.Set(2, 0, 0);
    cannon->mounts[1].angle = 30;
    cannon->mounts[2].offset.Set(0, 1, 0);
    Melee::ProjectileWeapon weapon(*cannon, *ship, store);
    EXPECT_TRUE(weapon.Fire());
    JoinAll();
    const std::vector<ProjectileModel*> shots = InWorld<ProjectileModel>();
    ASSERT_EQ(3u, shots.size());
    const struct
    {
        float x, y, angle;
    } expected[] = {{10, 22, 90}, {10, 20, 120}, {9, 20, 90}};
    for (std::size_t i = 0; i < shots.size(); ++i)
    {
        SCOPED_TRACE(i);
        EXPECT_NEAR(expected[i].x, shots[i]->GetX(), 1e-4);
        EXPECT_NEAR(expected[i].y, shots[i]->GetY(), 1e-4);
        EXPECT_FLOAT_EQ(expected[i].angle, shots[i]->GetAngle());
        const float radians = expected[i].angle * Math::Pi<float> / 180;
        EXPECT_NEAR(1 + 50 * std::cos(radians), shots[i]->GetVelocityX(), 1e-3);
        EXPECT_NEAR(2 + 50 * std::sin(radians), shots[i]->GetVelocityY(), 1e-3);
        EXPECT_EQ(0.0f, shots[i]->GetMass());
    }
}

// A shot lives through the step that leaves it exactly no time, and ends in
// an explosion in the next.
TEST_F(WeaponTest, AShotOutlivesItsLastFullStepAndEndsInAnExplosion)
{
    Melee::ShipModel* const ship = PlacedShip();
    auto cannon = Cannon(1);
    cannon->lifetime = StepSeconds;
    ProjectileModel* const shot = Shot(*ship, *cannon);
    shot->Update();
    EXPECT_EQ(0.0f, shot->GetLifetime());
    EXPECT_TRUE(shot->IsAlive());
    shot->Update();
    EXPECT_FALSE(shot->IsAlive());
    JoinAll();
    EXPECT_EQ(1, Explosions());
}

TEST_F(WeaponTest, ShotsHurtOthersButNeitherTheirOwnerNorEachOther)
{
    Melee::ShipModel* const owner = PlacedShip(1);
    Melee::ShipModel* const enemy = PlacedShip(2);
    data->crew = 10;
    auto cannon = Cannon(1);
    cannon->damage = 3;
    ProjectileModel* const first = Shot(*owner, *cannon);
    ProjectileModel* const second = Shot(*owner, *cannon);
    first->Collide(*second);
    first->Collide(*owner);
    EXPECT_TRUE(first->IsAlive());
    EXPECT_TRUE(second->IsAlive());
    EXPECT_EQ(1, owner->GetHitPoints());

    const int crew = enemy->GetHitPoints();
    first->Collide(*enemy);
    EXPECT_EQ(crew - 3, enemy->GetHitPoints());
    EXPECT_FALSE(first->IsAlive());

    cannon->canHitOwner = true;
    ProjectileModel* const own = Shot(*owner, *cannon);
    owner->SetPosition(own->GetX(), own->GetY());
    own->Collide(*owner);
    EXPECT_FALSE(owner->IsAlive());
}

// The shots outlive their ships; whose they are does not change with that.
TEST_F(WeaponTest, ShotsOfTwoShipsStillMeetAsEnemiesOnceBothShipsAreGone)
{
    Melee::ShipModel* const owner = PlacedShip(1);
    Melee::ShipModel* const enemy = PlacedShip(2);
    auto cannon = Cannon(1);
    ProjectileModel* const first = Shot(*owner, *cannon);
    ProjectileModel* const second = Shot(*owner, *cannon);
    ProjectileModel* const hostile = Shot(*enemy, *cannon);
    for (Melee::ShipModel* const ship : {owner, enemy})
        ObjectFactoryInterface::KillByModel(ship);
    factory->Flush();
    factory->DeleteDead();
    ASSERT_EQ(3u, world.size());

    first->Collide(*second);
    EXPECT_TRUE(first->IsAlive());
    EXPECT_TRUE(second->IsAlive());
    first->Collide(*hostile);
    EXPECT_FALSE(first->IsAlive());
    EXPECT_FALSE(hostile->IsAlive());
}

// The shot is killed twice, by its own answer and by the planet's hit.
TEST_F(WeaponTest, AShotThatHitsAPlanetExplodesOnce)
{
    Melee::ShipModel* const ship = PlacedShip();
    const auto cannon = Cannon(1);
    ProjectileModel* const shot = Shot(*ship, *cannon);
    PlanetModel planet(Mesh("Planet"), 3, nullptr);
    planet.SetPosition(shot->GetX(), shot->GetY());
    planet.Collide(*shot);
    EXPECT_FALSE(shot->IsAlive());
    JoinAll();
    EXPECT_EQ(1, Explosions());
}

TEST_F(WeaponTest, AHomingShotOfAShipWithoutTargetFliesStraight)
{
    Melee::ShipModel* const ship = PlacedShip();
    auto cannon = Cannon(1);
    cannon->homing = true;
    cannon->turningSpeed = 180;
    ProjectileModel* const shot = Shot(*ship, *cannon);
    ASSERT_NE(nullptr, shot->GetHoming());
    EXPECT_EQ(nullptr, shot->GetHoming()->GetTarget());
    Step(5);
    EXPECT_FLOAT_EQ(90.0f, shot->GetAngle());

    Melee::ShipModel* const target = PlacedShip(2);
    ship->SetTarget(target);
    EXPECT_EQ(target, Shot(*ship, *cannon)->GetHoming()->GetTarget());
}

TEST_F(WeaponTest, ALaserRestartsEveryBeamAndSendsAnInvisibleShotPerMount)
{
    Melee::ShipModel* const ship = PlacedShip();
    Melee::LaserWeapon::Data beam("Beam");
    beam.range = 30;
    beam.width = 0.5f;
    beam.damage = 4;
    beam.mounts.resize(3);
    Melee::LaserWeapon laser(beam, *ship, store);
    const Melee::ProjectileWeapon::Data& shot = laser.GetShotData();
    EXPECT_EQ(0.041666668f, shot.lifetime);
    EXPECT_FLOAT_EQ(30 / 0.041666668f, shot.speed);
    EXPECT_EQ(0.5f, shot.hitRadius);
    EXPECT_EQ(4, shot.damage);
    EXPECT_EQ(1, shot.hits);
    EXPECT_FALSE(shot.canHitOwner || shot.homing);

    ASSERT_EQ(3u, laser.GetBeams().size());
    for (const auto& each : laser.GetBeams())
        EXPECT_FALSE(each->IsEnabled());
    laser.Fire();
    JoinAll();
    EXPECT_EQ(3u, InWorld<ProjectileModel>().size());
    for (const ControllerInterface* const object : world)
        EXPECT_EQ(nullptr, object->GetView<PositionView>());
    // With the default 15 ms step a beam shows for five steps.
    for (int step = 1; step <= 6; ++step)
    {
        laser.Update();
        for (const auto& each : laser.GetBeams())
            EXPECT_EQ(step < 6, each->IsEnabled()) << step;
    }
}

// The game's twin laser with one mount: 25 units, 0.4 wide, damage 3. Each
// row of the arena holds a firing ship heading along x and a ship at the
// target's place; the rows lie beyond the range of each other.
TEST_F(WeaponTest, ALaserHurtsTheShipItsBeamCrossesButNeverItsOwn)
{
    data->crew = 12;
    data->energy = 16;
    data->energyMax = 16;
    Melee::LaserWeapon::Data beam("Beam");
    beam.range = 25;
    beam.width = 0.4f;
    beam.damage = 3;
    beam.mounts.resize(1);
    beam.mounts[0].offset.Set(1, 0, 0);
    const struct
    {
        float x, y;
        int lost;
    } targets[] = {{5, 0, 3}, {12, 0, 3}, {20, 0, 3}, {12, 6, 0}, {5, -4, 0}};
    std::vector<std::pair<Melee::ShipModel*, Melee::ShipModel*>> rows;
    int player = 0;
    for (const auto& target : targets)
    {
        const float row = -160 + 60.0f * rows.size();
        Melee::ShipModel* const owner = AddShip(*data, ++player);
        owner->SetPosition(0, row);
        owner->SetWeapons(nullptr, std::make_unique<Melee::LaserWeapon>(beam, *owner, store));
        owner->controls.fireSecondary = true;
        Melee::ShipModel* const other = AddShip(*data, ++player);
        other->SetPosition(target.x, row + target.y);
        rows.emplace_back(owner, other);
    }
    StepBattle(1);
    for (const auto& row : rows)
        row.first->controls.fireSecondary = false;
    StepBattle(20);
    for (std::size_t i = 0; i < rows.size(); ++i)
    {
        SCOPED_TRACE(std::to_string(targets[i].x) + ", " + std::to_string(targets[i].y));
        EXPECT_EQ(12, rows[i].first->GetHitPoints());
        EXPECT_EQ(12 - targets[i].lost, rows[i].second->GetHitPoints());
    }
    EXPECT_TRUE(InWorld<ProjectileModel>().empty());
}

} // namespace
