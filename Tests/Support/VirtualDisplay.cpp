#include "Support/VirtualDisplay.h"

#include "Support/Deadline.h"

#include <X11/Xlib.h>
#include <csignal>
#include <stdexcept>

namespace
{

constexpr std::chrono::seconds ServerStartTimeout(60);
constexpr std::chrono::seconds ServerStopTimeout(10);
constexpr std::chrono::seconds ToolTimeout(30);
constexpr std::chrono::milliseconds SearchInterval(100);

int xErrors = 0;

// Xlib's own handler ends the whole process on an error, such as BadWindow for
// a window that is gone; this one only counts them.
int CountXError(Display*, XErrorEvent*)
{
    ++xErrors;
    return 0;
}

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
    // A search that fails, as one may when a window vanishes under it, is
    // made again.
    const Deadline deadline(timeout);
    unsigned long window = 0;
    PollUntil(
        deadline,
        [&]
        {
            const ToolRun search =
                RunTool({"xdotool", "search", "--sync", "--onlyvisible", "--name", title},
                        {{"DISPLAY", name}}, deadline.Left());
            if (search.succeeded && !search.output.empty())
                window = std::stoul(search.output);
            return window != 0;
        },
        SearchInterval);
    return window;
}

void VirtualDisplay::CloseWindow(unsigned long window) const
{
    Display* const display = XOpenDisplay(name.c_str());
    if (!display)
        throw std::runtime_error("Cannot open display " + name);
    xErrors = 0;
    const XErrorHandler previous = XSetErrorHandler(CountXError);
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
    XSetErrorHandler(previous);
    XCloseDisplay(display);
    if (xErrors > 0)
        throw std::runtime_error("Cannot send WM_DELETE_WINDOW to window " +
                                 std::to_string(window));
}

void VirtualDisplay::MovePointer(unsigned long window, int x, int y) const
{
    const ToolRun move = RunTool({"xdotool", "mousemove", "--sync", "--window",
                                  std::to_string(window), std::to_string(x), std::to_string(y)},
                                 {{"DISPLAY", name}}, ToolTimeout);
    if (!move.succeeded)
        throw std::runtime_error("xdotool could not move the pointer: " + move.errors);
}

void VirtualDisplay::Click(unsigned long window, int x, int y) const
{
    MovePointer(window, x, y);
    const ToolRun click = RunTool({"xdotool", "click", "1"}, {{"DISPLAY", name}}, ToolTimeout);
    if (!click.succeeded)
        throw std::runtime_error("xdotool could not click: " + click.errors);
}

void VirtualDisplay::Key(unsigned long window, const std::string& key, bool down) const
{
    const ToolRun press = RunTool(
        {"xdotool", down ? "keydown" : "keyup", "--window", std::to_string(window), key},
        {{"DISPLAY", name}}, ToolTimeout);
    if (!press.succeeded)
        throw std::runtime_error("xdotool could not press " + key + ": " + press.errors);
}
