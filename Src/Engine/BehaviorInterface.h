#pragma once

#include "Engine/Object.h"

class BehaviorListener;

// An add-on that a controller runs each step and draws. It starts disabled;
// a disabled behaviour stays on its controller and is skipped.
class BehaviorInterface : public Object
{
public:
    BehaviorInterface(int typeId, BehaviorListener* listener);
    // The laser's type id, 2.
    explicit BehaviorInterface(BehaviorListener* listener);

    virtual void Update() = 0;
    virtual void Draw() = 0;

    void DoUpdate();
    void DoDraw();

    // Disables the behaviour and tells the listener, if any.
    void Finish();

    void SetEnabled(bool enabled);
    bool IsEnabled() const { return enabled; }
    int GetTypeId() const { return typeId; }

private:
    const int typeId;
    bool enabled;
    BehaviorListener* const listener;
};
