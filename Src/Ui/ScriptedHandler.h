#pragma once

#include "Ui/EventHandlerInterface.h"

#include <initializer_list>
#include <string>
#include <vector>

namespace Ui
{

// A handler with named script hooks, all empty at first. Hook names are
// compared exactly.
class ScriptedHandler : public EventHandlerInterface
{
public:
    bool SetScript(const std::string& name, const char* code) override;
    const std::string* GetScript(const std::string& name) const override;

protected:
    ScriptedHandler(FrameController* frame, HandlerType type,
                    std::initializer_list<const char*> hookNames);

    // The hook of the index, counted in the order of the names.
    const std::string& Hook(int index) const { return hooks[index].code; }
    // Runs the hook of the index; an empty hook gives false.
    bool RunHook(int index) const { return Run(Hook(index)); }

private:
    struct NamedHook
    {
        const char* name;
        std::string code;
    };

    std::vector<NamedHook> hooks;
};

} // namespace Ui
