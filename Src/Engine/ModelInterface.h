#pragma once

#include "Engine/Object.h"

class ControllerInterface;

// The state of one world object or interface frame.
class ModelInterface : public Object
{
public:
    // One fixed step of simulation.
    virtual void Update() = 0;

    // Called once by the controller that takes the model, so that the model
    // can attach behaviours to it.
    virtual void SetController(ControllerInterface* /*controller*/) {}

    // Whether a new object with this model may join the world; a model whose
    // data is still loading waits on the factory's pending list.
    virtual bool IsReadyToJoin() const { return true; }
};
