#include "Engine/StringUtil.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <locale>
#include <sstream>

namespace
{

bool EqualsIgnoringCase(const char* text, const char* word)
{
    for (; *text && *word; ++text, ++word)
    {
        if (std::tolower(static_cast<unsigned char>(*text)) != *word)
            return false;
    }
    return *text == *word;
}

} // namespace

const char* BoolToString(bool value)
{
    return value ? "true" : "false";
}

void StringToBool(const std::string& text, bool& value)
{
    StringToBool(text.c_str(), value);
}

void StringToBool(const char* text, bool& value)
{
    if (!text)
        return;
    if (EqualsIgnoringCase(text, "false"))
        value = false;
    else if (EqualsIgnoringCase(text, "true"))
        value = true;
}

bool ParseBool(const char* text)
{
    bool value = false;
    StringToBool(text, value);
    return value;
}

bool ParseBool(const std::string& text)
{
    return ParseBool(text.c_str());
}

bool StringToInt(const char* text, int& value)
{
    char* end = nullptr;
    errno = 0;
    const long number = std::strtol(text, &end, 10);
    if (end == text || errno == ERANGE || number < INT_MIN || number > INT_MAX)
        return false;
    value = static_cast<int>(number);
    return true;
}

bool StringToDouble(const char* text, double& value)
{
    char* end = nullptr;
    const double number = std::strtod(text, &end);
    if (end == text || !std::isfinite(number))
        return false;
    value = number;
    return true;
}

bool StringToFloat(const char* text, float& value)
{
    double number = 0;
    if (!StringToDouble(text, number) || std::fabs(number) > FLT_MAX)
        return false;
    value = static_cast<float>(number);
    return true;
}

void ToLower(std::string& text)
{
    const std::locale locale;
    for (char& c : text)
        c = std::tolower(c, locale);
}

std::string NormalizePath(const std::string& path)
{
    std::string result = path;
    std::replace(result.begin(), result.end(), '\\', '/');
    for (;;)
    {
        const std::size_t up = result.find("/..");
        if (up == std::string::npos || up == 0)
            return result;
        const std::size_t slash = result.rfind('/', up - 1);
        if (slash == std::string::npos)
            return result;
        result.erase(slash, up + 3 - slash);
    }
}

std::string GetDirectory(const std::string& path)
{
    const std::string normalized = NormalizePath(path);
    const std::size_t slash = normalized.rfind('/');
    return slash == std::string::npos ? std::string() : normalized.substr(0, slash + 1);
}

std::string GetExtension(const std::string& path)
{
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos)
        return std::string();
    std::string extension = path.substr(dot + 1);
    ToLower(extension);
    return extension;
}

std::string ToString(int value)
{
    std::ostringstream text;
    text << value;
    return text.str();
}
