#include "Game/Objects/ShipDataList.h"

#include "Game/Melee/ShipModelData.h"

#include <algorithm>

ShipDataList::~ShipDataList()
{
    while (!records.empty())
        records.pop_front();
}

void ShipDataList::Add(std::unique_ptr<Melee::ShipModel::Data> record)
{
    records.push_back(std::move(record));
}

const Melee::ShipModel::Data* ShipDataList::Find(const std::string& race,
                                                 const std::string& name) const
{
    const auto found = std::find_if(records.begin(), records.end(),
                                    [&](const std::unique_ptr<Melee::ShipModel::Data>& record)
                                    { return record->race == race && record->name == name; });
    return found == records.end() ? nullptr : found->get();
}
