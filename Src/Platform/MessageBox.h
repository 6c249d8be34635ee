#pragma once

#include <string>

namespace Platform
{

// Shows a fatal message to the player. The default writes the caption and the
// text to standard error; a test may install its own handler to record calls.
using MessageBoxHandler = void (*)(const std::string& caption, const std::string& text);

void ShowMessageBox(const std::string& caption, const std::string& text);

// Installs a handler (null restores the default) and returns the previous one.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

} // namespace Platform
