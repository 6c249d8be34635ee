#include "Lib/nvwa/debug_new.h"

#include "Lib/nvwa/fast_mutex_autolock.h"
#include "Platform/SharedLibraries.h"

#include <algorithm>
#include <atomic>
#include <cassert>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

// The code address of a new-expression or a delete-expression: taken in the
// operator itself, which the expression calls.
#define DEBUG_NEW_CALLER __builtin_return_address(0)

namespace
{

constexpr std::uint32_t Magic = 0x4442474E;
constexpr std::size_t FileLength = 44;
constexpr std::size_t MaxAlignment = std::size_t(1) << 30;
constexpr double Megabyte = 1048576.0;

const char* const ForceNewWarning =
    "*** WARNING:  GCC 3 or later is detected, please make sure the\n"
    "    environment variable GLIBCPP_FORCE_NEW (GCC 3.2 and 3.3) or\n"
    "    GLIBCXX_FORCE_NEW (GCC 3.4 and later) is defined.  Check the\n"
    "    README file for details.\n";

// In front of every block. Its alignment rounds its size up so that the block
// behind it keeps the alignment that malloc gives.
struct alignas(std::max_align_t) new_ptr_list_t
{
    new_ptr_list_t* next;
    new_ptr_list_t* prev;
    std::size_t size;
    // The source file name when line is not 0; else the bytes of the code
    // address of the caller.
    char file[FileLength];
    std::uint32_t line : 31;
    std::uint32_t isArray : 1;
    std::uint32_t magic;
    // 0 for a block from malloc; else the alignment of a block from
    // aligned_alloc, whose memory starts header_offset(alignment) in front of it.
    std::uint32_t alignment : 31;
    // Set at exit for a block that the static storage of a shared library
    // points to (see mark_kept_blocks).
    std::uint32_t keptByLibrary : 1;
};
static_assert(sizeof(new_ptr_list_t) == 80, "the header's fields pack into 80 bytes");

// The operator families, as bits: array or not, aligned or not.
constexpr unsigned ArrayForm = 1;
constexpr unsigned AlignedForm = 2;
const char* const NewNames[] = {"new", "new[]", "aligned new", "aligned new[]"};
const char* const DeleteNames[] = {"delete", "delete[]", "aligned delete", "aligned delete[]"};

// Everything below is constant-initialised and never destroyed, so that it
// serves allocations before the report file is opened and releases after the
// report is written.
new_ptr_list_t head = {&head, &head, 0, {}, 0, 0, Magic, 0, 0};
std::size_t totalAllocated = 0;
std::size_t peakAllocated = 0;
// Set once the exit report has found leaks: every allocation and release is
// logged from then on.
std::atomic<bool> verbose{false};
std::FILE* output = nullptr;
// Guards the list and the totals; taken before outputLock, never after it.
fast_mutex listLock;
// Guards the writes to the report stream.
fast_mutex outputLock;

unsigned form_of(const new_ptr_list_t& header)
{
    return (header.isArray ? ArrayForm : 0) | (header.alignment != 0 ? AlignedForm : 0);
}

// The report file while it is open; standard error before it is opened and
// after the exit report has closed it.
std::FILE* report_stream()
{
    return output ? output : stderr;
}

// From the start of a header's memory to its block.
std::size_t header_offset(std::size_t alignment)
{
    if (alignment == 0)
        return sizeof(new_ptr_list_t);
    return (sizeof(new_ptr_list_t) + alignment - 1) & ~(alignment - 1);
}

new_ptr_list_t* header_of(void* block)
{
    return static_cast<new_ptr_list_t*>(block) - 1;
}

const void* block_of(const new_ptr_list_t* header)
{
    return header + 1;
}

void print_position(const void* position, unsigned line)
{
    std::FILE* const stream = report_stream();
    if (line != 0)
        std::fprintf(stream, "%s:%d", static_cast<const char*>(position), static_cast<int>(line));
    else if (!position)
        std::fputs("<Unknown>", stream);
    else
        std::fprintf(stream, "%p", position);
}

void print_position(const new_ptr_list_t& header)
{
    if (header.line != 0)
    {
        print_position(header.file, header.line);
        return;
    }
    const void* address;
    std::memcpy(&address, header.file, sizeof address);
    print_position(address, 0);
}

void store_position(new_ptr_list_t& header, const void* position, int line)
{
    header.line = static_cast<std::uint32_t>(line);
    if (line == 0)
    {
        std::memcpy(header.file, &position, sizeof position);
        return;
    }
    // A long path keeps its end, which names the file.
    const char* file = static_cast<const char*>(position);
    const std::size_t length = std::strlen(file);
    const std::size_t kept = length < FileLength ? length : FileLength - 1;
    std::memcpy(header.file, file + length - kept, kept);
    header.file[kept] = '\0';
}

// Memory for a header and a block of the size behind it, or null; a size that
// the header would make overflow fails like a failed malloc.
void* allocate_memory(std::size_t size, std::size_t alignment)
{
    const std::size_t offset = header_offset(alignment);
    if (size > SIZE_MAX - offset - alignment)
        return nullptr;
    if (alignment == 0)
        return std::malloc(offset + size);
    // aligned_alloc takes sizes in whole multiples of the alignment.
    return std::aligned_alloc(alignment, (offset + size + alignment - 1) & ~(alignment - 1));
}

void link_block(new_ptr_list_t& header)
{
    fast_mutex_autolock lock(listLock);
    header.next = &head;
    header.prev = head.prev;
    head.prev->next = &header;
    head.prev = &header;
    totalAllocated += header.size;
    if (totalAllocated > peakAllocated)
        peakAllocated = totalAllocated;
}

// An alignment of 0 allocates from malloc, any other (a power of two) from
// aligned_alloc.
void* alloc_mem(std::size_t size, const void* position, int line, bool isArray,
                std::size_t alignment = 0)
{
    assert(line >= 0);
    if (alignment > MaxAlignment || (alignment & (alignment - 1)) != 0)
        return nullptr;
    char* const memory = static_cast<char*>(allocate_memory(size, alignment));
    if (!memory)
        return nullptr;
    void* const block = memory + header_offset(alignment);
    new_ptr_list_t& header = *header_of(block);
    store_position(header, position, line);
    header.isArray = isArray;
    header.size = size;
    header.magic = Magic;
    header.alignment = static_cast<std::uint32_t>(alignment);
    header.keptByLibrary = false;
    link_block(header);
    if (verbose)
    {
        fast_mutex_autolock lock(outputLock);
        std::fprintf(report_stream(), "%s: allocated %p (size %zu, ", NewNames[form_of(header)],
                     block, size);
        print_position(header);
        std::fputs(")\n", report_stream());
    }
    return block;
}

// The alignment of an aligned block: at least that of malloc, never 0.
std::size_t aligned(std::align_val_t alignment)
{
    const std::size_t requested = static_cast<std::size_t>(alignment);
    return requested < alignof(std::max_align_t) ? alignof(std::max_align_t) : requested;
}

void* require(void* block)
{
    if (!block)
        throw std::bad_alloc();
    return block;
}

[[noreturn]] void close_output_and_abort()
{
    {
        fast_mutex_autolock lock(outputLock);
        if (output)
            std::fclose(output);
        output = nullptr;
    }
    std::abort();
}

[[noreturn]] void abort_on_invalid_pointer(void* pointer, const void* caller, unsigned form)
{
    {
        fast_mutex_autolock lock(outputLock);
        std::fprintf(report_stream(), "%s: invalid pointer %p (", DeleteNames[form], pointer);
        print_position(caller, 0);
        std::fputs(")\n", report_stream());
    }
    check_mem_corruption();
    close_output_and_abort();
}

[[noreturn]] void abort_on_wrong_form(const new_ptr_list_t& header, const void* caller,
                                      unsigned form)
{
    {
        fast_mutex_autolock lock(outputLock);
        std::FILE* const stream = report_stream();
        std::fprintf(stream, "%s after %s: pointer %p (size %zu)\n\tat ", DeleteNames[form],
                     NewNames[form_of(header)], block_of(&header), header.size);
        print_position(caller, 0);
        std::fputs("\n\toriginally allocated at ", stream);
        print_position(header);
        std::fputs("\n", stream);
    }
    close_output_and_abort();
}

enum class Release
{
    Done,
    Invalid,
    WrongForm,
};

// Checks the header under the lock and, when the release is right, takes the
// block out of the list; `remaining` receives the total left allocated.
Release unlink_block(new_ptr_list_t& header, unsigned form, std::size_t& remaining)
{
    fast_mutex_autolock lock(listLock);
    if (header.magic != Magic)
        return Release::Invalid;
    if (form_of(header) != form)
        return Release::WrongForm;
    totalAllocated -= header.size;
    remaining = totalAllocated;
    header.magic = 0;
    header.prev->next = header.next;
    header.next->prev = header.prev;
    return Release::Done;
}

void free_pointer(void* pointer, const void* caller, unsigned form)
{
    if (!pointer)
        return;
    new_ptr_list_t& header = *header_of(pointer);
    std::size_t remaining = 0;
    switch (unlink_block(header, form, remaining))
    {
    case Release::Invalid:
        abort_on_invalid_pointer(pointer, caller, form);
    case Release::WrongForm:
        abort_on_wrong_form(header, caller, form);
    case Release::Done:
        break;
    }
    if (verbose)
    {
        fast_mutex_autolock lock(outputLock);
        std::fprintf(report_stream(), "%s: freed %p (size %zu, %zu bytes still allocated)\n",
                     DeleteNames[form], pointer, header.size, remaining);
    }
    std::free(static_cast<char*>(pointer) - header_offset(header.alignment));
}

// The release by a new-expression whose constructor threw.
void free_after_throw(void* pointer, const void* position, int line, const void* caller,
                      unsigned form)
{
    if (verbose)
    {
        fast_mutex_autolock lock(outputLock);
        std::fprintf(report_stream(), "info: exception thrown on initializing %s at %p (",
                     form & ArrayForm ? "objects" : "object", pointer);
        print_position(position, static_cast<unsigned>(line));
        std::fputs(")\n", report_stream());
    }
    free_pointer(pointer, caller, form);
}

// Libraries keep blocks in their static storage until exit (singletons made by
// their static initialisers); they free them, if ever, after the report. So a
// block that a word of a library's data or bss points to is no leak of the
// program.
void mark_kept_blocks(const char* begin, const char* end, void*)
{
    fast_mutex_autolock lock(listLock);
    if (head.next == &head)
        return;
    const void* lowest = block_of(head.next);
    const void* highest = lowest;
    for (new_ptr_list_t* header = head.next; header != &head; header = header->next)
    {
        lowest = std::min<const void*>(lowest, block_of(header));
        highest = std::max<const void*>(highest, block_of(header));
    }
    const std::size_t step = alignof(void*);
    for (const char* at = begin + (step - reinterpret_cast<std::uintptr_t>(begin) % step) % step;
         at + sizeof(void*) <= end; at += step)
    {
        const void* const word = *reinterpret_cast<const void* const*>(at);
        if (word < lowest || word > highest)
            continue;
        for (new_ptr_list_t* header = head.next; header != &head; header = header->next)
        {
            if (block_of(header) == word)
                header->keptByLibrary = true;
        }
    }
}

void report_at_exit()
{
    if (autoCheck)
        Platform::ForEachLibraryStorage(mark_kept_blocks, nullptr);
    if (autoCheck && check_leaks() > 0)
    {
        verbose = true;
        if (!std::getenv("GLIBCPP_FORCE_NEW") && !std::getenv("GLIBCXX_FORCE_NEW"))
        {
            fast_mutex_autolock lock(outputLock);
            std::fputs(ForceNewWarning, report_stream());
        }
    }
    std::size_t peak;
    {
        fast_mutex_autolock lock(listLock);
        peak = peakAllocated;
    }
    fast_mutex_autolock lock(outputLock);
    std::fprintf(report_stream(), "Memory needed: %.2fMb\n", static_cast<double>(peak) / Megabyte);
    if (output)
        std::fclose(output);
    output = nullptr;
}

} // namespace

bool autoCheck = true;
int debug_new_counter::counterCount = 0;

// Constructed before and destroyed after every static object of the default
// priority, so that the report sees the program's own static objects gone.
debug_new_counter debugNewCounter __attribute__((init_priority(101)));

debug_new_counter::debug_new_counter()
{
    fast_mutex_autolock lock(outputLock);
    if (!output)
        output = std::fopen("stdout.txt", "a+");
    ++counterCount;
}

debug_new_counter::~debug_new_counter()
{
    if (--counterCount == 0)
        report_at_exit();
}

int check_mem_corruption()
{
    fast_mutex_autolock listGuard(listLock);
    fast_mutex_autolock outputGuard(outputLock);
    std::FILE* const stream = report_stream();
    std::fputs("*** Checking for memory corruption: START\n", stream);
    int count = 0;
    for (new_ptr_list_t* header = head.next; header != &head; header = header->next)
    {
        if (header->magic == Magic)
            continue;
        std::fprintf(stream, "Heap data corrupt near %p (size %zu, ", block_of(header),
                     header->size);
        print_position(*header);
        std::fputs(")\n", stream);
        ++count;
    }
    std::fprintf(stream, "*** Checking for memory corruption: %d FOUND\n", count);
    return count;
}

int check_leaks()
{
    fast_mutex_autolock listGuard(listLock);
    fast_mutex_autolock outputGuard(outputLock);
    std::FILE* const stream = report_stream();
    int count = 0;
    for (new_ptr_list_t* header = head.next; header != &head; header = header->next)
    {
        if (header->keptByLibrary)
            continue;
        if (header->magic != Magic)
            std::fprintf(stream, "warning: heap data corrupt near %p\n", block_of(header));
        std::fprintf(stream, "Leaked object at %p (size %zu, ", block_of(header), header->size);
        print_position(*header);
        std::fputs(")\n", stream);
        ++count;
    }
    if (verbose || count > 0)
        std::fprintf(stream, "*** %d leaks found\n", count);
    return count;
}

void* operator new(std::size_t size)
{
    return require(alloc_mem(size, DEBUG_NEW_CALLER, 0, false));
}

void* operator new[](std::size_t size)
{
    return require(alloc_mem(size, DEBUG_NEW_CALLER, 0, true));
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return alloc_mem(size, DEBUG_NEW_CALLER, 0, false);
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return alloc_mem(size, DEBUG_NEW_CALLER, 0, true);
}

void* operator new(std::size_t size, std::align_val_t alignment)
{
    return require(
        alloc_mem(size, DEBUG_NEW_CALLER, 0, false, aligned(alignment)));
}

void* operator new[](std::size_t size, std::align_val_t alignment)
{
    return require(
        alloc_mem(size, DEBUG_NEW_CALLER, 0, true, aligned(alignment)));
}

void* operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept
{
    return alloc_mem(size, DEBUG_NEW_CALLER, 0, false, aligned(alignment));
}

void* operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept
{
    return alloc_mem(size, DEBUG_NEW_CALLER, 0, true, aligned(alignment));
}

void* operator new(std::size_t size, const char* file, int line)
{
    return require(alloc_mem(size, file, line, false));
}

void* operator new[](std::size_t size, const char* file, int line)
{
    return require(alloc_mem(size, file, line, true));
}

void operator delete(void* pointer) noexcept
{
    free_pointer(pointer, DEBUG_NEW_CALLER, 0);
}

void operator delete[](void* pointer) noexcept
{
    free_pointer(pointer, DEBUG_NEW_CALLER, ArrayForm);
}

void operator delete(void* pointer, std::size_t) noexcept
{
    free_pointer(pointer, DEBUG_NEW_CALLER, 0);
}

void operator delete[](void* pointer, std::size_t) noexcept
{
    free_pointer(pointer, DEBUG_NEW_CALLER, ArrayForm);
}

void operator delete(void* pointer, std::align_val_t) noexcept
{
    free_pointer(pointer, DEBUG_NEW_CALLER, AlignedForm);
}

void operator delete[](void* pointer, std::align_val_t) noexcept
{
    free_pointer(pointer, DEBUG_NEW_CALLER, ArrayForm | AlignedForm);
}

void operator delete(void* pointer, std::size_t, std::align_val_t) noexcept
{
    free_pointer(pointer, DEBUG_NEW_CALLER, AlignedForm);
}

void operator delete[](void* pointer, std::size_t, std::align_val_t) noexcept
{
    free_pointer(pointer, DEBUG_NEW_CALLER, ArrayForm | AlignedForm);
}

void operator delete(void* pointer, const std::nothrow_t&) noexcept
{
    free_after_throw(pointer, DEBUG_NEW_CALLER, 0, DEBUG_NEW_CALLER, 0);
}

void operator delete[](void* pointer, const std::nothrow_t&) noexcept
{
    free_after_throw(pointer, DEBUG_NEW_CALLER, 0, DEBUG_NEW_CALLER, ArrayForm);
}

void operator delete(void* pointer, std::align_val_t, const std::nothrow_t&) noexcept
{
    free_after_throw(pointer, DEBUG_NEW_CALLER, 0, DEBUG_NEW_CALLER, AlignedForm);
}

void operator delete[](void* pointer, std::align_val_t, const std::nothrow_t&) noexcept
{
    free_after_throw(pointer, DEBUG_NEW_CALLER, 0, DEBUG_NEW_CALLER, ArrayForm | AlignedForm);
}

void operator delete(void* pointer, const char* file, int line) noexcept
{
    free_after_throw(pointer, file, line, DEBUG_NEW_CALLER, 0);
}

void operator delete[](void* pointer, const char* file, int line) noexcept
{
    free_after_throw(pointer, file, line, DEBUG_NEW_CALLER, ArrayForm);
}
