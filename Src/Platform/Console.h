#pragma once

namespace Platform
{

// Detaches the process from its console. A terminal program keeps its console
// on this platform, so there is nothing to release.
inline void ReleaseConsole() {}

} // namespace Platform
