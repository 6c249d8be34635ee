#pragma once

#include <atomic>

struct SDL_mutex;

// A mutex over SDL's that needs no constructor to run: the SDL mutex is made
// on first use, and a fast_mutex is never destroyed. The checking allocator
// keeps its locks in such objects, so that they work for the allocations
// made before its static objects exist and the releases made after them.
class fast_mutex
{
public:
    constexpr fast_mutex() = default;
    fast_mutex(const fast_mutex&) = delete;
    fast_mutex& operator=(const fast_mutex&) = delete;

    void lock();
    void unlock();

private:
    SDL_mutex* get();

    std::atomic<SDL_mutex*> mutex{nullptr};
};
