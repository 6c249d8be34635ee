#include "Engine/Subsystems.h"

namespace Engine
{

Subsystems& GetSubsystems()
{
    static Subsystems subsystems;
    return subsystems;
}

} // namespace Engine
