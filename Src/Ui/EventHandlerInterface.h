#pragma once

#include "Engine/EventDispatcher.h"
#include "Engine/Object.h"

#include <string>
#include <utility>
#include <vector>

namespace Ui
{

class FrameController;

enum class HandlerType
{
    MouseButton = 0,
    MouseMotion = 1,
    Moving = 2,
    Keyboard = 3,
    UserEvent = 4
};

// An input handler of a frame. While it lives it is registered at the front
// of the state's dispatcher lists for its SDL event types, so interface
// frames see input before the states do; it runs the frame's script hooks.
// The frame owns its handlers.
class EventHandlerInterface : public Object
{
public:
    EventHandlerInterface(FrameController* frame, HandlerType type);
    // Removes the handler's registrations.
    ~EventHandlerInterface() override;
    EventHandlerInterface(const EventHandlerInterface&) = delete;
    EventHandlerInterface& operator=(const EventHandlerInterface&) = delete;

    // Stores the code when the handler has a hook of that name; answers
    // whether it did.
    virtual bool SetScript(const std::string& name, const char* code) = 0;
    // The hook of that name, or null.
    virtual const std::string* GetScript(const std::string& name) const = 0;

    // Whether the frame and every frame above it up to the root are visible.
    bool IsFrameVisible() const;

    HandlerType GetType() const { return type; }
    FrameController& GetFrame() const { return *frame; }

protected:
    // Registers the callback for the SDL event type with this handler as data.
    void Listen(int eventType, EventDispatcher::Callback callback);

    // Whether the pointer is strictly inside the frame's rectangle as laid
    // out in the last drawn frame; a point on the border is outside.
    bool IsInside(int pointerX, int pointerY) const;

    // Runs a script of the frame through its model.
    bool Run(const std::string& code) const;

    // The handler given as a callback's data when it is a T whose frame is
    // shown, else null.
    template <class T>
    static T* ShownHandler(Object* data)
    {
        T* const handler = dynamic_cast<T*>(data);
        return handler && handler->IsFrameVisible() ? handler : nullptr;
    }

private:
    const HandlerType type;
    FrameController* const frame;
    std::vector<std::pair<int, EventDispatcher::Callback>> registrations;
};

} // namespace Ui
