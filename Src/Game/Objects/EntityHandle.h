#pragma once

#include <memory>

class EntityModel;

// A reference to a body that reads null once the body is deleted, for those
// that may outlive it: a homing shot's target, a shot's owner, a ship's target.
class EntityHandle
{
public:
    EntityHandle() = default;
    explicit EntityHandle(EntityModel* entity);

    EntityModel* Get() const { return cell ? *cell : nullptr; }
    // Whether both were made for the same body, also once it is deleted.
    bool SameEntity(const EntityHandle& other) const { return cell == other.cell; }

private:
    std::shared_ptr<EntityModel*> cell;
};
