#include "Engine/BehaviorInterface.h"

#include "Engine/BehaviorListener.h"

namespace
{

const int LaserTypeId = 2;

} // namespace

BehaviorInterface::BehaviorInterface(int typeId, BehaviorListener* listener)
    : typeId(typeId), enabled(false), listener(listener)
{
}

BehaviorInterface::BehaviorInterface(BehaviorListener* listener)
    : BehaviorInterface(LaserTypeId, listener)
{
}

void BehaviorInterface::DoUpdate()
{
    if (enabled)
        Update();
}

void BehaviorInterface::DoDraw()
{
    if (enabled)
        Draw();
}

void BehaviorInterface::Finish()
{
    enabled = false;
    if (listener)
        listener->OnBehaviorFinished(this);
}

void BehaviorInterface::SetEnabled(bool enabled)
{
    this->enabled = enabled;
}
