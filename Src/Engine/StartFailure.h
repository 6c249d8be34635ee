#pragma once

#include "Engine/Error.h"

namespace Engine
{

// Thrown by a state's Tick when the state cannot start, because a resource it
// waits for failed to load. The manager takes the state off the stack as if
// its Init had failed.
class StartFailure : public Error
{
public:
    using Error::Error;
};

} // namespace Engine
