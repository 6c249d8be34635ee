#pragma once

#include <stdexcept>
#include <string>

// The one exception type of the system. Its message is the concatenation of
// the pieces given to the constructor.
class Error : public std::runtime_error
{
public:
    explicit Error(const std::string& a);
    Error(const std::string& a, const std::string& b);
    Error(const std::string& a, const std::string& b, const std::string& c);
    Error(const std::string& a, const std::string& b, const std::string& c, const std::string& d);
    Error(const std::string& a, const std::string& b, const std::string& c, const std::string& d,
          const std::string& e);
    Error(const std::string& a, const std::string& b, const std::string& c, const std::string& d,
          const std::string& e, const std::string& f);
};

// Prints "Error: " and the message, then "Typeid: '" with the exception's type
// name and "'", each on its own line of standard output, and flushes.
void PrintError(const std::exception& e);

// PrintError, then the message in the fatal error box titled "Error".
void ShowError(const std::exception& e);
