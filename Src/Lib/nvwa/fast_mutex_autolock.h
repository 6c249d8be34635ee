#pragma once

#include "Lib/nvwa/fast_mutex.h"

// Holds a fast_mutex for its own lifetime.
class fast_mutex_autolock
{
public:
    explicit fast_mutex_autolock(fast_mutex& mutex) : mutex(mutex) { mutex.lock(); }
    ~fast_mutex_autolock() { mutex.unlock(); }
    fast_mutex_autolock(const fast_mutex_autolock&) = delete;
    fast_mutex_autolock& operator=(const fast_mutex_autolock&) = delete;

private:
    fast_mutex& mutex;
};
