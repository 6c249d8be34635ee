#pragma once

#include "Ui/ScriptedHandler.h"

#include <SDL.h>
#include <string>
#include <vector>

struct lua_State;

namespace Ui
{

// Runs "OnEvent" for the game events whose names the frame's scripts
// registered, with "arg1" holding the name and "arg2" the event's fields.
// Adds "RegisterEvent" and "UnregisterEvent" to the frame's table.
class UserEventHandler : public ScriptedHandler
{
public:
    explicit UserEventHandler(FrameController* frame);

    static bool OnUserEvent(const SDL_Event& event, Object* data);

    // The event handler of the method's frame; raises "Invalid Lua object!"
    // when the frame has none.
    static UserEventHandler* FromLua(lua_State* L);

private:
    enum Hooks
    {
        OnEvent
    };

    bool IsRegistered(const std::string& name) const;
    static int RegisterEvent(lua_State* L);
    static int UnregisterEvent(lua_State* L);

    // A name registered twice is listed twice.
    std::vector<std::string> names;
};

} // namespace Ui
