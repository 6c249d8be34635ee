#include "Support/VirtualDisplay.h"

#include <X11/Xlib.h>
#include <csignal>
#include <stdexcept>

namespace
{

constexpr std::chrono::seconds ServerStartTimeout(30);
constexpr std::chrono::seconds ServerStopTimeout(10);
constexpr std::chrono::seconds ToolTimeout(30);

} // namespace

VirtualDisplay::VirtualDisplay(const std::string& screen)
{
    // With -displayfd Xvfb picks a free display and writes its number to the
    // descriptor once it accepts clients. Without -noreset it would refuse
    // connections for a moment after each last client has gone.
    server = std::make_unique<ChildProcess>(
        std::vector<std::string>{"Xvfb", "-displayfd", "1", "-screen", "0", screen, "-nolisten",
                                 "tcp", "-noreset"},
        "", ChildProcess::Environment{});
    if (!server->WaitForOutput("\n", ServerStartTimeout))
        throw std::runtime_error("Xvfb did not start: " + server->Errors());
    const std::string number = server->Output();
    name = ":" + number.substr(0, number.find('\n'));
}

VirtualDisplay::~VirtualDisplay()
{
    server->Signal(SIGTERM);
    server->WaitForExit(ServerStopTimeout);
}

unsigned long VirtualDisplay::FindWindow(const std::string& title,
                                         std::chrono::milliseconds timeout) const
{
    std::string found;
    if (!RunTool({"xdotool", "search", "--sync", "--name", title}, {{"DISPLAY", name}}, timeout,
                 &found))
        return 0;
    return std::stoul(found);
}

void VirtualDisplay::CloseWindow(unsigned long window) const
{
    Display* const display = XOpenDisplay(name.c_str());
    if (!display)
        throw std::runtime_error("Cannot open display " + name);
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XCloseDisplay(display);
}

void VirtualDisplay::MovePointer(unsigned long window, int x, int y) const
{
    if (!RunTool({"xdotool", "mousemove", "--sync", "--window", std::to_string(window),
                  std::to_string(x), std::to_string(y)},
                 {{"DISPLAY", name}}, ToolTimeout))
        throw std::runtime_error("xdotool could not move the pointer");
}

void VirtualDisplay::Click(unsigned long window, int x, int y) const
{
    MovePointer(window, x, y);
    if (!RunTool({"xdotool", "click", "1"}, {{"DISPLAY", name}}, ToolTimeout))
        throw std::runtime_error("xdotool could not click");
}
