#pragma once

#include "Engine/DataFile.h"

// Holds the global file mutex for its lifetime. Declared before a store in a
// fixture, it outlives the store's loader thread, which reads files through it.
struct FileMutexGuard
{
    FileMutexGuard() { CreateFileMutex(); }
    ~FileMutexGuard() { DestroyFileMutex(); }
    FileMutexGuard(const FileMutexGuard&) = delete;
    FileMutexGuard& operator=(const FileMutexGuard&) = delete;
};
