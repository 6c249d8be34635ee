#include "Support/Capture.h"

#include "Engine/Error.h"

#include <gtest/gtest.h>

std::string ErrorOf(const std::function<void()>& action)
{
    try
    {
        action();
    }
    catch (const Error& e)
    {
        return e.what();
    }
    return "no error";
}

std::string OutputOf(const std::function<void()>& action)
{
    testing::internal::CaptureStdout();
    action();
    return testing::internal::GetCapturedStdout();
}
