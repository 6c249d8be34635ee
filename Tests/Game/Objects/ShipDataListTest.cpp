#include "Game/Objects/ShipDataList.h"

#include "Game/Melee/ShipModelData.h"

#include <gtest/gtest.h>
#include <memory>

namespace
{

std::unique_ptr<Melee::ShipModel::Data> Record(const std::string& race, const std::string& name,
                                               const std::string& resource)
{
    return std::make_unique<Melee::ShipModel::Data>("Data/Ships.xml", resource, race, name);
}

TEST(ShipDataListTest, FindsTheFirstRecordOfThatRaceAndNameExactly)
{
    ShipDataList ships;
    ships.Add(Record("Velmorian", "Scout", "a"));
    ships.Add(Record("Velmorian", "Cruiser", "first"));
    ships.Add(Record("Velmorian", "Cruiser", "second"));

    const Melee::ShipModel::Data* found = ships.Find("Velmorian", "Cruiser");
    ASSERT_TRUE(found);
    EXPECT_EQ("first", found->resource);
    EXPECT_FALSE(ships.Find("velmorian", "Cruiser"));
    EXPECT_FALSE(ships.Find("Velmorian", "cruiser"));
    EXPECT_FALSE(ships.Find("Cruiser", "Velmorian"));
    EXPECT_FALSE(ShipDataList().Find("Velmorian", "Cruiser"));
}

} // namespace
