#include "Ui/ScriptedHandler.h"

namespace Ui
{

ScriptedHandler::ScriptedHandler(FrameController* frame, HandlerType type,
                                 std::initializer_list<const char*> hookNames)
    : EventHandlerInterface(frame, type)
{
    for (const char* name : hookNames)
        hooks.push_back({name, std::string()});
}

bool ScriptedHandler::SetScript(const std::string& name, const char* code)
{
    for (NamedHook& hook : hooks)
    {
        if (name == hook.name)
        {
            hook.code = code;
            return true;
        }
    }
    return false;
}

const std::string* ScriptedHandler::GetScript(const std::string& name) const
{
    for (const NamedHook& hook : hooks)
    {
        if (name == hook.name)
            return &hook.code;
    }
    return nullptr;
}

} // namespace Ui
