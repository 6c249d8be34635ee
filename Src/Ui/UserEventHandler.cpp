#include "Ui/UserEventHandler.h"

#include "Engine/EventBase.h"
#include "Engine/GameEvents.h"
#include "Engine/LuaState.h"
#include "Ui/FrameController.h"
#include "Ui/FrameModel.h"
#include "Ui/LuaSelf.h"

#include <algorithm>

namespace Ui
{

UserEventHandler::UserEventHandler(FrameController* frame)
    : ScriptedHandler(frame, HandlerType::UserEvent, {"OnEvent"})
{
    frame->GetFrameModel().AddMethods(
        {{"RegisterEvent", RegisterEvent}, {"UnregisterEvent", UnregisterEvent}});
    Listen(SDL_USEREVENT, OnUserEvent);
}

bool UserEventHandler::OnUserEvent(const SDL_Event& event, Object* data)
{
    const UserEventHandler* const handler = ShownHandler<UserEventHandler>(data);
    if (!handler || handler->Hook(OnEvent).empty())
        return false;
    const Event::EventBase* const gameEvent = Event::FromUserEvent(event);
    if (!gameEvent || !handler->IsRegistered(gameEvent->name))
        return false;
    gameEvent->SetLuaArgs(*handler->GetFrame().GetFrameModel().GetLua());
    return handler->RunHook(OnEvent);
}

bool UserEventHandler::IsRegistered(const std::string& name) const
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

UserEventHandler* UserEventHandler::FromLua(lua_State* L)
{
    UserEventHandler* const handler =
        dynamic_cast<UserEventHandler*>(GetSelfController(L)->GetHandler(HandlerType::UserEvent));
    if (!handler)
        LuaError(L, "Invalid Lua object!");
    return handler;
}

int UserEventHandler::RegisterEvent(lua_State* L)
{
    LuaCheckArgs(L, 1);
    UserEventHandler* const handler = FromLua(L);
    handler->names.push_back(LuaCheckText(L, 2));
    return 0;
}

int UserEventHandler::UnregisterEvent(lua_State* L)
{
    LuaCheckArgs(L, 1);
    UserEventHandler* const handler = FromLua(L);
    const std::vector<std::string>::iterator found =
        std::find(handler->names.begin(), handler->names.end(), LuaCheckText(L, 2));
    if (found != handler->names.end())
        handler->names.erase(found);
    return 0;
}

} // namespace Ui
