#include "Game/Objects/PositionModel.h"

PositionModel::PositionModel() : current(Math::Matrix::Identity), previous(Math::Matrix::Identity)
{
}

void PositionModel::Update()
{
    UpdateTransform();
}

void PositionModel::CopyFrom(const PositionModel& other)
{
    current = other.current;
    previous = other.previous;
}

void PositionModel::UpdateTransform()
{
    previous = current;
}
