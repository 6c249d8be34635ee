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

    // The viewable window whose title matches the regular expression, found
    // with xdotool; 0 when none appeared in time. A program may make windows
    // with its title that it never maps: the game makes one on a fresh
    // display and destroys it soon after.
    unsigned long FindWindow(const std::string& title, std::chrono::milliseconds timeout) const;
    // Asks the window to close the way a window manager does (WM_DELETE_WINDOW).
    // Throws std::runtime_error when the window is gone.
    void CloseWindow(unsigned long window) const;

    // Moves the pointer to a position in the window, from its top-left corner.
    // The pointer and the click throw std::runtime_error when xdotool fails.
    void MovePointer(unsigned long window, int x, int y) const;
    // Moves the pointer there and presses and releases the left button, as a
    // user does (through XTEST, not as events sent to the window).
    void Click(unsigned long window, int x, int y) const;
    // Presses or releases the key (an X key name such as "Up" or "z") in the
    // window, which keeps it held until released.
    void Key(unsigned long window, const std::string& key, bool down) const;

private:
    std::unique_ptr<ChildProcess> server;
    std::string name;
};
