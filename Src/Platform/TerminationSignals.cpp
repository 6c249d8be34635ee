#include "Platform/TerminationSignals.h"

#include <atomic>
#include <csignal>

namespace Platform
{

namespace
{

// Any thread may take the signal, so the flag is a lock-free atomic: safe in
// a handler and seen by the main thread.
std::atomic<bool> terminationRequested(false);
static_assert(std::atomic<bool>::is_always_lock_free);

void OnTerminationSignal(int)
{
    terminationRequested.store(true);
}

} // namespace

void CatchTerminationSignals()
{
    struct sigaction action = {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

bool TerminationRequested()
{
    return terminationRequested.load();
}

} // namespace Platform
