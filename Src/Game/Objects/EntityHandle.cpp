#include "Game/Objects/EntityHandle.h"

#include "Game/Objects/EntityModel.h"

EntityHandle::EntityHandle(EntityModel* entity) : cell(entity ? entity->handleCell : nullptr) {}
