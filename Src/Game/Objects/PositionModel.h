#pragma once

#include "Engine/Matrix.h"
#include "Engine/ModelInterface.h"

// The transforms of a drawn object at the end of the last two steps, between
// which its views interpolate.
class PositionModel : public ModelInterface
{
public:
    PositionModel();

    // The previous transform becomes the current one (through UpdateTransform).
    void Update() override;

    // Takes both transforms of the other (an explosion where a shot died).
    virtual void CopyFrom(const PositionModel& other);
    // Keeps the current transform as the previous one; derived models then
    // build the new current one.
    virtual void UpdateTransform();

    const Math::Matrix& GetTransform() const { return current; }
    const Math::Matrix& GetPreviousTransform() const { return previous; }

protected:
    Math::Matrix current;
    Math::Matrix previous;
};
