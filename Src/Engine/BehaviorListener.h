#pragma once

class BehaviorInterface;

// Told when a behaviour finishes.
class BehaviorListener
{
public:
    virtual ~BehaviorListener() = default;

    virtual void OnBehaviorFinished(BehaviorInterface* behavior) = 0;
};
