#pragma once

// The checking allocator. Linked into a program, it replaces every global
// allocation and release operator: each block carries a header that links it
// into the list of live blocks; releasing a pointer that is no live block, or
// releasing it in the wrong form (array or not, aligned or not), writes a
// report and aborts. At exit the blocks still alive are listed as leaks, and
// the peak of the memory in use follows ("Memory needed: %.2fMb"). All of it
// is appended to "stdout.txt" in the working directory of the start.

#include <cstddef>

// Allocation that records a source position in place of the caller's
// address: new (__FILE__, __LINE__) T.
void* operator new(std::size_t size, const char* file, int line);
void* operator new[](std::size_t size, const char* file, int line);
// Called when the constructor in such a new-expression throws.
void operator delete(void* pointer, const char* file, int line) noexcept;
void operator delete[](void* pointer, const char* file, int line) noexcept;

// The exit report lists the leaks while this holds, as it does from the start.
extern bool autoCheck;

// Writes the live blocks whose headers are corrupt; returns their number.
int check_mem_corruption();

// Writes every live block as a leak, oldest first, except those that the exit
// report found kept by shared libraries; returns their number.
int check_leaks();

// Opens the report file with the first object and writes the exit report when
// the last one goes. The allocator holds one that is constructed before and
// destroyed after every ordinary static object of the program.
class debug_new_counter
{
public:
    debug_new_counter();
    ~debug_new_counter();
    debug_new_counter(const debug_new_counter&) = delete;
    debug_new_counter& operator=(const debug_new_counter&) = delete;

private:
    static int counterCount;
};
