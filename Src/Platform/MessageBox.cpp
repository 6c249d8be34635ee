#include "Platform/MessageBox.h"

#include <cstdio>

namespace Platform
{

namespace
{

void WriteToStandardError(const std::string& caption, const std::string& text)
{
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    std::fflush(stderr);
}

MessageBoxHandler currentHandler = WriteToStandardError;

} // namespace

void ShowMessageBox(const std::string& caption, const std::string& text)
{
    currentHandler(caption, text);
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler)
{
    const MessageBoxHandler previous = currentHandler;
    currentHandler = handler ? handler : WriteToStandardError;
    return previous;
}

} // namespace Platform
