#pragma once

#include "Support/ChildProcess.h"

#include <chrono>
#include <memory>
#include <string>

// An X server of our own (Xvfb) on a display number that it picks free, for
// the lifetime of the object. Xvfb has no window manager, no vertical retrace
// and no alpha channel in the frame buffer.
class VirtualDisplay
{
public:
    // The screen as Xvfb takes it: width x height x depth. Throws
    // std::runtime_error when the server does not come up.
    explicit VirtualDisplay(const std::string& screen = "1024x768x24");
    ~VirtualDisplay();
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    // The value of DISPLAY, such as ":3".
    const std::string& Name() const { return name; }

    // The first window whose title matches the regular expression, found with
    // xdotool; 0 when none appeared in time.
    unsigned long FindWindow(const std::string& title, std::chrono::milliseconds timeout) const;
    // Asks the window to close the way a window manager does (WM_DELETE_WINDOW).
    void CloseWindow(unsigned long window) const;

private:
    std::unique_ptr<ChildProcess> server;
    std::string name;
};
