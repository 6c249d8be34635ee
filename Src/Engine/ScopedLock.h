#pragma once

#include <SDL_mutex.h>

// Holds a mutex from construction until Unlock or destruction. A null mutex
// is never locked.
class ScopedLock
{
public:
    explicit ScopedLock(SDL_mutex* mutex);
    ~ScopedLock();
    ScopedLock(const ScopedLock&) = delete;
    ScopedLock& operator=(const ScopedLock&) = delete;

    // Releases the mutex early; the destructor then does nothing.
    void Unlock();

private:
    SDL_mutex* mutex;
};
