#pragma once

#include "Engine/Object.h"
#include "Game/Melee/ShipModel.h"

#include <list>
#include <memory>
#include <string>

// Every ship definition read, in reading order. The battle publishes it in
// its store as "ShipDataList" before it reads its data, and each "ship"
// element adds its record.
class ShipDataList : public Object
{
public:
    ShipDataList() = default;
    ~ShipDataList() override;
    ShipDataList(const ShipDataList&) = delete;
    ShipDataList& operator=(const ShipDataList&) = delete;

    void Add(std::unique_ptr<Melee::ShipModel::Data> record);

    // The first record whose race and name are these exactly, or null.
    const Melee::ShipModel::Data* Find(const std::string& race, const std::string& name) const;

    const std::list<std::unique_ptr<Melee::ShipModel::Data>>& GetRecords() const { return records; }

private:
    std::list<std::unique_ptr<Melee::ShipModel::Data>> records;
};
