#pragma once

namespace Platform
{

using StorageVisitor = void (*)(const char* begin, const char* end, void* context);

// Calls `visit` with the bounds of every writable segment (data and bss) of the
// shared libraries loaded in the process, except the program itself and the C
// library, whose storage holds the heap's own bookkeeping: pointers to the
// boundaries between blocks. Takes the dynamic loader's lock while it runs and
// allocates nothing, so the checking allocator can call it at exit.
void ForEachLibraryStorage(StorageVisitor visit, void* context);

// Mesa's OpenGL drivers compile with LLVM, which keeps its registries until it
// is shut down, and Mesa leaves that to the process. Shuts down the LLVM that a
// driver loaded, if any; for the end of the process, once no OpenGL context is
// left.
void ShutDownLlvm();

} // namespace Platform
