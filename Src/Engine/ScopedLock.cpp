#include "Engine/ScopedLock.h"

ScopedLock::ScopedLock(SDL_mutex* mutex) : mutex(mutex)
{
    if (mutex)
        SDL_mutexP(mutex);
}

ScopedLock::~ScopedLock()
{
    Unlock();
}

void ScopedLock::Unlock()
{
    if (mutex)
        SDL_mutexV(mutex);
    mutex = nullptr;
}
