#include "Ui/KeyboardInputHandler.h"

#include "Engine/LuaState.h"
#include "Ui/FrameController.h"
#include "Ui/FrameModel.h"

namespace Ui
{

KeyboardInputHandler::KeyboardInputHandler(FrameController* frame)
    : ScriptedHandler(frame, HandlerType::Keyboard, {"OnKeyPress", "OnKeyRelease"})
{
    Listen(SDL_KEYDOWN, OnKey);
    Listen(SDL_KEYUP, OnKey);
}

bool KeyboardInputHandler::OnKey(const SDL_Event& event, Object* data)
{
    const KeyboardInputHandler* const handler = ShownHandler<KeyboardInputHandler>(data);
    if (!handler)
        return false;
    lua_State* const L = handler->GetFrame().GetFrameModel().GetLua()->GetState();
    lua_pushinteger(L, event.key.keysym.sym);
    lua_setglobal(L, "arg1");
    return handler->RunHook(event.type == SDL_KEYDOWN ? OnKeyPress : OnKeyRelease);
}

} // namespace Ui
