#include "Engine/Error.h"

#include "Platform/MessageBox.h"
#include "Platform/TypeName.h"

#include <cstdio>
#include <typeinfo>

Error::Error(const std::string& a) : std::runtime_error(a) {}

Error::Error(const std::string& a, const std::string& b) : std::runtime_error(a + b) {}

Error::Error(const std::string& a, const std::string& b, const std::string& c)
    : std::runtime_error(a + b + c)
{
}

Error::Error(const std::string& a, const std::string& b, const std::string& c, const std::string& d)
    : std::runtime_error(a + b + c + d)
{
}

Error::Error(const std::string& a, const std::string& b, const std::string& c, const std::string& d,
             const std::string& e)
    : std::runtime_error(a + b + c + d + e)
{
}

Error::Error(const std::string& a, const std::string& b, const std::string& c, const std::string& d,
             const std::string& e, const std::string& f)
    : std::runtime_error(a + b + c + d + e + f)
{
}

void PrintError(const std::exception& e)
{
    std::printf("Error: %s\n", e.what());
    std::fflush(stdout);
    std::printf("Typeid: '%s'\n", Platform::TypeName(typeid(e)).c_str());
    std::fflush(stdout);
    std::fflush(stderr);
}

void ShowError(const std::exception& e)
{
    PrintError(e);
    Platform::ShowMessageBox("Error", e.what());
}
