#pragma once

#include <string>

// "true" or "false".
const char* BoolToString(bool value);

// "true" or "false" in any case sets the value; any other text leaves it as it
// is. A null text leaves it as well.
void StringToBool(const std::string& text, bool& value);
void StringToBool(const char* text, bool& value);

// True for "true" in any case, false for anything else.
bool ParseBool(const char* text);
bool ParseBool(const std::string& text);

// The decimal number at the start of the text (white space before it is
// skipped, anything after it ignored: "12px" gives 12). A text that does not
// begin with a number, or whose number does not fit the type or is not finite,
// leaves the value as it is and returns false.
bool StringToInt(const char* text, int& value);
bool StringToDouble(const char* text, double& value);
bool StringToFloat(const char* text, float& value);

// Lower-cases the text in place with the global locale.
void ToLower(std::string& text);

// Backslashes become slashes and every "/.." removes the component before it:
// Data/Ui/../Fonts/a.png is Data/Fonts/a.png. A "/.." with no component
// before it to remove (Data/../x, /../x) stays, and so does everything after
// it; a leading "../" stays too.
std::string NormalizePath(const std::string& path);

// The normalised path up to and including its last "/"; "" when it has none.
std::string GetDirectory(const std::string& path);

// The lower-cased text after the last "."; "" when there is none.
std::string GetExtension(const std::string& path);

std::string ToString(int value);
