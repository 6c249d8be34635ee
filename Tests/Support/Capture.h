#pragma once

#include <functional>
#include <string>

// The message of the Error the action throws, or "no error".
std::string ErrorOf(const std::function<void()>& action);

// What the action prints on standard output.
std::string OutputOf(const std::function<void()>& action);
