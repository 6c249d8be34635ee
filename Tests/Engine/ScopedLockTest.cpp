#include "Engine/ScopedLock.h"

#include <SDL_thread.h>
#include <SDL_timer.h>
#include <gtest/gtest.h>

namespace
{

// Guarded by the mutex: the main thread moves the stage on just before it
// releases the lock, and the other thread records the stage it finds once it
// gets the lock.
struct Shared
{
    SDL_mutex* mutex = SDL_CreateMutex();
    int stage = 0;
    int seen = -1;

    ~Shared() { SDL_DestroyMutex(mutex); }
};

int TakeLock(void* data)
{
    Shared& shared = *static_cast<Shared*>(data);
    SDL_mutexP(shared.mutex);
    shared.seen = shared.stage;
    SDL_mutexV(shared.mutex);
    return 0;
}

} // namespace

TEST(ScopedLockTest, HoldsTheMutexUntilUnlock)
{
    Shared shared;
    ScopedLock lock(shared.mutex);
    SDL_Thread* thread = SDL_CreateThread(TakeLock, &shared);
    SDL_Delay(20); // gives the thread the chance to take the mutex too early
    shared.stage = 1;
    lock.Unlock();
    SDL_WaitThread(thread, nullptr);
    EXPECT_EQ(1, shared.seen);
}

TEST(ScopedLockTest, ReleasesTheMutexWhenDestroyed)
{
    Shared shared;
    SDL_Thread* thread = nullptr;
    {
        const ScopedLock lock(shared.mutex);
        thread = SDL_CreateThread(TakeLock, &shared);
        SDL_Delay(20);
        shared.stage = 1;
    }
    SDL_WaitThread(thread, nullptr);
    EXPECT_EQ(1, shared.seen);
}
