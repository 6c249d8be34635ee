#include "Lib/nvwa/fast_mutex.h"

#include <SDL_mutex.h>

void fast_mutex::lock()
{
    SDL_mutexP(get());
}

void fast_mutex::unlock()
{
    SDL_mutexV(mutex.load(std::memory_order_acquire));
}

// Two threads that lock for the first time at once both make a mutex; the
// one that comes second destroys its own and takes the first one's.
SDL_mutex* fast_mutex::get()
{
    SDL_mutex* current = mutex.load(std::memory_order_acquire);
    if (current)
        return current;
    SDL_mutex* const made = SDL_CreateMutex();
    if (mutex.compare_exchange_strong(current, made, std::memory_order_acq_rel))
        return made;
    SDL_DestroyMutex(made);
    return current;
}
