#include "Engine/Error.h"

#include "Engine/StartFailure.h"
#include "Support/Capture.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace
{

TEST(ErrorTest, PrintErrorNamesTheTypeAsTheSourceWritesIt)
{
    struct Case
    {
        const std::exception& failure;
        const char* printed;
    };
    const Error error("Missing resource: '", "Arial16", "'");
    const Engine::StartFailure startFailure("cannot decode");
    const std::out_of_range outOfRange("index");
    const Case cases[] = {
        {error, "Error: Missing resource: 'Arial16'\nTypeid: 'Error'\n"},
        {startFailure, "Error: cannot decode\nTypeid: 'Engine::StartFailure'\n"},
        {outOfRange, "Error: index\nTypeid: 'std::out_of_range'\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.printed, OutputOf([&] { PrintError(c.failure); }));
}

} // namespace
