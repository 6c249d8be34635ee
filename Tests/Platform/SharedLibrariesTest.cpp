#include "Platform/SharedLibraries.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <vector>

namespace
{

int programVariable = 0;

struct Range
{
    const char* begin;
    const char* end;
};

void Collect(const char* begin, const char* end, void* ranges)
{
    static_cast<std::vector<Range>*>(ranges)->push_back({begin, end});
}

bool Covers(const std::vector<Range>& ranges, const void* address)
{
    const char* const at = static_cast<const char*>(address);
    for (const Range& range : ranges)
    {
        if (range.begin <= at && at < range.end)
            return true;
    }
    return false;
}

} // namespace

TEST(SharedLibrariesTest, TheStorageOfTheLibrariesHoldsTheirVariablesButNotTheProgramsOwn)
{
    void* const mathematics = dlopen("libm.so.6", RTLD_LAZY);
    ASSERT_NE(nullptr, mathematics);
    std::vector<Range> ranges;
    ranges.reserve(1000);
    Platform::ForEachLibraryStorage(Collect, &ranges);
    // A variable of the mathematics library that the program does not use,
    // so that it has no copy in the program's own storage.
    EXPECT_TRUE(Covers(ranges, dlsym(mathematics, "signgam")));
    dlclose(mathematics);
    EXPECT_FALSE(Covers(ranges, &programVariable));
}
