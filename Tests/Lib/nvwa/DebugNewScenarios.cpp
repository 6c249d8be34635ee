// A small program built against the checking allocator: it runs the scenario
// that its first argument names, and the allocator appends its report to
// "stdout.txt" in the working directory. Scenarios that check something
// themselves print "FAIL: " lines on standard output and end with status 1.

#include "Lib/nvwa/debug_new.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace
{

// Hides where a pointer comes from, so that the compiler neither leaves out
// an allocation it sees unused nor warns about the faults made on purpose.
template <class T>
T* Keep(T* pointer)
{
    asm volatile("" : "+r"(pointer) : : "memory");
    return pointer;
}

constexpr std::align_val_t Align64{64};

// A long text in a static object of the program, destroyed before the report.
const std::string StaticText(200, 'x');

struct alignas(64) Wide
{
    char bytes[100];
};

struct Throwing
{
    Throwing() { throw std::runtime_error("construction fails"); }
};

struct alignas(64) WideThrowing
{
    WideThrowing() { throw std::runtime_error("construction fails"); }
};

// A new-expression whose constructor throws hands its block back to the
// release form that matches its allocation form.
template <class Make>
void ConstructAndCatch(Make make)
{
    try
    {
        Keep(make());
    }
    catch (const std::runtime_error&)
    {
    }
}

int failures = 0;

void Check(bool holds, const char* what)
{
    if (holds)
        return;
    std::printf("FAIL: %s\n", what);
    ++failures;
}

// Every allocation form, each released by its own form, then one block of the
// given size: the peak is that size.
int FreeEverything(const char* bytes)
{
    delete Keep(new int(1));
    delete[] Keep(new std::string[3]);
    delete Keep(new (std::nothrow) double(2));
    delete[] Keep(new (std::nothrow) char[5]);
    delete Keep(new Wide);
    delete[] Keep(new Wide[2]);
    delete Keep(new (std::nothrow) Wide);
    ::operator delete(Keep(::operator new(8, __FILE__, __LINE__)));
    ::operator delete[](Keep(::operator new[](8, __FILE__, __LINE__)));
    ::operator delete(Keep(::operator new(0)));
    ConstructAndCatch([] { return new (std::nothrow) Throwing; });
    ConstructAndCatch([] { return new (__FILE__, __LINE__) Throwing; });
    ConstructAndCatch([] { return new (std::nothrow) Throwing[2]; });
    ConstructAndCatch([] { return new (std::nothrow) WideThrowing; });
    ConstructAndCatch([] { return new Throwing; });
    delete[] Keep(new char[std::strtoul(bytes, nullptr, 10)]);
    return 0;
}

// Three leaks, oldest first: 16 bytes from an array form, 8 from a single
// object, 24 with a source position.
int Leak()
{
    Keep(new char[16]);
    Keep(new std::uint64_t(7));
    Keep(new (__FILE__, __LINE__) char[24]);
    return 0;
}

// A leak whose header an underrun of the block has overwritten.
int LeakCorrupted()
{
    char* const block = Keep(new char[16]);
    std::memset(Keep(block - 8), 0x55, 8);
    return 0;
}

int LeakWithoutCheck()
{
    autoCheck = false;
    Keep(new char[16]);
    return 0;
}

void* lateBlock = nullptr;

// Runs after every static object is gone, the report included.
__attribute__((destructor)) void ReleaseLate()
{
    if (!lateBlock)
        return;
    delete Keep(new int(3));
    delete static_cast<std::uint64_t*>(lateBlock);
}

// A block still alive at the report (a leak, which makes the allocator log
// every later allocation and release) and released after it.
int ReleaseAfterTheReport()
{
    lateBlock = Keep(new std::uint64_t(5));
    return 0;
}

int DeleteAfterNewArray()
{
    ::operator delete(Keep(::operator new[](24)));
    return 0;
}

int DeleteArrayAfterNew()
{
    ::operator delete[](Keep(::operator new(24)));
    return 0;
}

int DeleteAfterAlignedNew()
{
    ::operator delete(Keep(::operator new(24, Align64)));
    return 0;
}

int AlignedDeleteAfterNew()
{
    ::operator delete(Keep(::operator new(24)), Align64);
    return 0;
}

int AlignedDeleteArrayAfterAlignedNew()
{
    ::operator delete[](Keep(::operator new(24, Align64)), Align64);
    return 0;
}

int DeleteTwice()
{
    int* const block = Keep(new int(4));
    delete Keep(block);
    delete Keep(block);
    return 0;
}

int DeleteInsideABlock()
{
    char* const block = Keep(new char[256]());
    delete[] Keep(block + 128);
    return 0;
}

int DeleteWithCorruptHeader()
{
    char* const block = Keep(new char[16]);
    std::memset(Keep(block - 8), 0x55, 8);
    delete[] block;
    return 0;
}

bool IsAligned(const void* pointer, std::size_t alignment)
{
    return reinterpret_cast<std::uintptr_t>(pointer) % alignment == 0;
}

// Blocks keep the alignment that malloc gives, and aligned blocks their own;
// every byte of each can be written.
int KeepAlignment()
{
    for (std::size_t size = 0; size < 100; ++size)
    {
        char* const block = Keep(new char[size]);
        Check(IsAligned(block, alignof(std::max_align_t)), "a block aligned as malloc's");
        std::memset(block, 1, size);
        delete[] block;
    }
    for (std::size_t alignment = 1; alignment <= 8192; alignment *= 2)
    {
        const std::align_val_t align{alignment};
        void* const single = Keep(::operator new(alignment + 3, align));
        void* const array = Keep(::operator new[](3, align, std::nothrow));
        Check(IsAligned(single, alignment) && IsAligned(array, alignment), "an aligned block");
        std::memset(single, 2, alignment + 3);
        std::memset(array, 2, 3);
        ::operator delete(single, align);
        ::operator delete[](array, align, std::nothrow);
    }
    const auto wide = std::make_unique<Wide[]>(3);
    Check(IsAligned(wide.get(), alignof(Wide)), "an over-aligned type");
    return failures == 0 ? 0 : 1;
}

// Sizes so large that the header would make them wrap around fail like a
// failed malloc.
int FailHugeRequests()
{
    const std::size_t sizes[] = {SIZE_MAX, SIZE_MAX - 8, SIZE_MAX - 100, SIZE_MAX / 2 + 1};
    for (const std::size_t size : sizes)
    {
        Check(!::operator new(size, std::nothrow), "null from nothrow new");
        Check(!::operator new[](size, Align64, std::nothrow), "null from aligned nothrow new[]");
        bool thrown = false;
        try
        {
            Keep(::operator new(size));
        }
        catch (const std::bad_alloc&)
        {
            thrown = true;
        }
        Check(thrown, "bad_alloc from new");
    }
    Check(!::operator new(16, std::align_val_t(48), std::nothrow), "null for an alignment of 48");
    return failures == 0 ? 0 : 1;
}

// Threads allocate and release at once, and release blocks that other
// threads allocated, as the loader threads hand their results over.
int ShareBetweenThreads()
{
    constexpr int ThreadCount = 8;
    constexpr int Rounds = 20000;
    std::vector<std::vector<std::string*>> made(ThreadCount);
    std::vector<std::thread> threads;
    for (int t = 0; t < ThreadCount; ++t)
    {
        threads.emplace_back(
            [&made, t]
            {
                std::map<int, std::string> local;
                for (int i = 0; i < Rounds; ++i)
                {
                    local[i % 97] = std::string(static_cast<std::size_t>(i % 61 + 20), 'y');
                    delete[] Keep(new Wide[i % 3 + 1]);
                    if (i % 50 == 0)
                        made[static_cast<std::size_t>(t)].push_back(new std::string(40, 'z'));
                }
            });
    }
    for (std::thread& thread : threads)
        thread.join();
    threads.clear();
    for (int t = 0; t < ThreadCount; ++t)
    {
        threads.emplace_back(
            [&made, t]
            {
                for (std::string* text : made[static_cast<std::size_t>((t + 1) % ThreadCount)])
                    delete text;
            });
    }
    for (std::thread& thread : threads)
        thread.join();
    return 0;
}

struct Scenario
{
    const char* name;
    int (*run)();
};

const Scenario Scenarios[] = {
    {"leak", Leak},
    {"leak-corrupted", LeakCorrupted},
    {"leak-without-check", LeakWithoutCheck},
    {"release-after-the-report", ReleaseAfterTheReport},
    {"delete after new[]", DeleteAfterNewArray},
    {"delete[] after new", DeleteArrayAfterNew},
    {"delete after aligned new", DeleteAfterAlignedNew},
    {"aligned delete after new", AlignedDeleteAfterNew},
    {"aligned delete[] after aligned new", AlignedDeleteArrayAfterAlignedNew},
    {"delete-twice", DeleteTwice},
    {"delete-inside-a-block", DeleteInsideABlock},
    {"delete-with-corrupt-header", DeleteWithCorruptHeader},
    {"keep-alignment", KeepAlignment},
    {"fail-huge-requests", FailHugeRequests},
    {"share-between-threads", ShareBetweenThreads},
};

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "free-everything") == 0)
        return FreeEverything(argv[2]);
    for (const Scenario& scenario : Scenarios)
    {
        if (argc == 2 && std::strcmp(argv[1], scenario.name) == 0)
            return scenario.run();
    }
    std::printf("Unknown scenario\n");
    return 2;
}
