#pragma once

#include "Engine/ModelInterface.h"
#include "Ui/FramePoint.h"

#include <initializer_list>
#include <lua.hpp>
#include <string>

class ControllerInterface;
class LuaState;

namespace Ui
{

// The data of one interface frame: its name, anchor, size, scale, alpha,
// visibility and four scripts. Every frame is also a global Lua table named
// after its full name; its controller binds itself and the frame methods to
// it.
class FrameModel : public ModelInterface
{
public:
    // Creates the frame's table and stores it as the global of the name,
    // replacing whatever the global held.
    FrameModel(const std::string& name, LuaState* lua);
    // The table loses "__this", and the name holds an empty table (unless a
    // later frame of the same name took it over).
    ~FrameModel() override;

    void Update() override {}

    // Runs a chunk with the global "self" set to the frame's table. False for
    // an empty code; otherwise true when the chunk returns nothing or a first
    // value whose integer is not 0. A failing chunk leaves as the Lua bridge's
    // script error; "self" and the stack are restored on every path.
    virtual bool RunScript(const std::string& code);

    // The script of one of the names "OnLoad", "OnUpdate", "OnHide" and
    // "OnShow", or null for any other name.
    std::string* FindScript(const std::string& scriptName);
    const std::string* FindScript(const std::string& scriptName) const;

    // Adds methods to the frame's table; widgets add theirs.
    void AddMethods(std::initializer_list<luaL_Reg> methods);
    // Pushes the frame's table.
    void PushTable() const;

    const std::string& GetName() const { return name; }
    LuaState* GetLua() const { return lua; }

    int id = 0;
    bool visible = true;
    // The layout uses scale 1 for the frame.
    bool ignoreScale = false;
    // The layout rounds the position to whole pixels.
    bool integerCoords = false;
    // In units of the relative frame, multiplied by its scale.
    float offsetX = 0.0f;
    float offsetY = 0.0f;
    // Unscaled pixels.
    int width = 0;
    int height = 0;
    // Percent of the relative frame's unscaled size; negative is off.
    float relativeWidth = -1.0f;
    float relativeHeight = -1.0f;
    FramePoint point = TOPLEFT;
    FramePoint relativePoint = TOPLEFT;
    // The frame the anchor is attached to; the controller sets its parent.
    ControllerInterface* relativeTo = nullptr;
    float scale = 1.0f;
    float alpha = 1.0f;
    std::string onLoad;
    std::string onUpdate;
    std::string onHide;
    std::string onShow;

private:
    const std::string name;
    LuaState* const lua;
    // The registry reference of the frame's table.
    int table;
};

} // namespace Ui
