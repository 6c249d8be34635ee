#include "Ui/FrameMethods.h"

#include "Engine/LuaState.h"
#include "Ui/FrameModel.h"
#include "Ui/LuaSelf.h"
#include "Ui/MovingHandler.h"
#include "Ui/Root.h"

namespace Ui
{

namespace
{

FrameModel& Self(lua_State* L)
{
    return *GetSelfModel<FrameModel>(L);
}

int GetName(lua_State* L)
{
    const std::string& name = Self(L).GetName();
    lua_pushlstring(L, name.data(), name.size());
    return 1;
}

int GetParent(lua_State* L)
{
    const FrameController* const parent = GetSelfController(L)->GetParent();
    if (parent)
        lua_getglobal(L, parent->GetFrameModel().GetName().c_str());
    else
        lua_pushnil(L);
    return 1;
}

int GetId(lua_State* L)
{
    lua_pushinteger(L, Self(L).id);
    return 1;
}

int SetId(lua_State* L)
{
    LuaCheckArgs(L, 1);
    Self(L).id = static_cast<int>(lua_tointeger(L, 2));
    return 0;
}

int SetPos(lua_State* L)
{
    LuaCheckArgs(L, 2);
    FrameModel& frame = Self(L);
    frame.offsetX = static_cast<float>(lua_tonumber(L, 2));
    frame.offsetY = static_cast<float>(lua_tonumber(L, 3));
    return 0;
}

int GetPos(lua_State* L)
{
    const FrameModel& frame = Self(L);
    lua_pushnumber(L, frame.offsetX);
    lua_pushnumber(L, frame.offsetY);
    return 2;
}

int SetWidth(lua_State* L)
{
    LuaCheckArgs(L, 1);
    Self(L).width = static_cast<int>(lua_tointeger(L, 2));
    return 0;
}

int GetWidth(lua_State* L)
{
    lua_pushinteger(L, Self(L).width);
    return 1;
}

int SetHeight(lua_State* L)
{
    LuaCheckArgs(L, 1);
    Self(L).height = static_cast<int>(lua_tointeger(L, 2));
    return 0;
}

int GetHeight(lua_State* L)
{
    lua_pushinteger(L, Self(L).height);
    return 1;
}

int SetSize(lua_State* L)
{
    LuaCheckArgs(L, 2);
    FrameModel& frame = Self(L);
    frame.width = static_cast<int>(lua_tointeger(L, 2));
    frame.height = static_cast<int>(lua_tointeger(L, 3));
    return 0;
}

int GetSize(lua_State* L)
{
    const FrameModel& frame = Self(L);
    lua_pushinteger(L, frame.width);
    lua_pushinteger(L, frame.height);
    return 2;
}

int SetRelativeSize(lua_State* L)
{
    LuaCheckArgs(L, 2);
    FrameModel& frame = Self(L);
    frame.relativeWidth = static_cast<float>(lua_tonumber(L, 2));
    frame.relativeHeight = static_cast<float>(lua_tonumber(L, 3));
    return 0;
}

int GetRelativeSize(lua_State* L)
{
    const FrameModel& frame = Self(L);
    lua_pushnumber(L, frame.relativeWidth);
    lua_pushnumber(L, frame.relativeHeight);
    return 2;
}

int SetPoint(lua_State* L)
{
    LuaCheckArgs(L, 3);
    FrameModel& frame = Self(L);
    const std::string point = LuaCheckText(L, 2);
    const std::string relativeName = LuaCheckText(L, 3);
    const std::string relativePoint = LuaCheckText(L, 4);
    FrameController* const relativeTo = GetRoot(L)->FindFrame(relativeName);
    if (!relativeTo)
        LuaError(L, "Unknown parent frame " + relativeName);
    frame.point = ParsePoint(point);
    frame.relativeTo = relativeTo;
    frame.relativePoint = ParsePoint(relativePoint);
    return 0;
}

int Show(lua_State* L)
{
    FrameModel& frame = Self(L);
    if (!frame.visible)
    {
        frame.RunScript(frame.onShow);
        frame.visible = true;
    }
    return 0;
}

int Hide(lua_State* L)
{
    FrameModel& frame = Self(L);
    if (frame.visible)
    {
        frame.RunScript(frame.onHide);
        frame.visible = false;
    }
    return 0;
}

int IsVisible(lua_State* L)
{
    lua_pushboolean(L, Self(L).visible);
    return 1;
}

int SetAlpha(lua_State* L)
{
    LuaCheckArgs(L, 1);
    Self(L).alpha = static_cast<float>(lua_tonumber(L, 2));
    return 0;
}

int GetAlpha(lua_State* L)
{
    lua_pushnumber(L, Self(L).alpha);
    return 1;
}

int SetScale(lua_State* L)
{
    LuaCheckArgs(L, 1);
    Self(L).scale = static_cast<float>(lua_tonumber(L, 2));
    return 0;
}

int GetScale(lua_State* L)
{
    lua_pushnumber(L, Self(L).scale);
    return 1;
}

// The script name of argument 2; a value without text is no name.
std::string ScriptName(lua_State* L)
{
    if (!lua_isstring(L, 2))
        LuaError(L, "Unknown script: nil");
    return lua_tostring(L, 2);
}

int SetScript(lua_State* L)
{
    LuaCheckArgs(L, 2);
    FrameController* const frame = GetSelfController(L);
    const std::string name = ScriptName(L);
    const std::string code = lua_isnil(L, 3) ? std::string() : LuaCheckText(L, 3);
    if (!frame->SetScript(name, code.c_str()))
        LuaError(L, "Unknown script: " + name);
    return 0;
}

int GetScript(lua_State* L)
{
    LuaCheckArgs(L, 1);
    const FrameController* const frame = GetSelfController(L);
    const std::string name = ScriptName(L);
    const std::string* const script = frame->GetScript(name);
    if (!script)
        LuaError(L, "Unknown script: " + name);
    lua_pushlstring(L, script->data(), script->size());
    return 1;
}

int StartMoving(lua_State* L)
{
    FrameController* const frame = GetSelfController(L);
    frame->AddHandler(new MovingHandler(frame));
    return 0;
}

int StopMoving(lua_State* L)
{
    GetSelfController(L)->RemoveHandlers(HandlerType::Moving);
    return 0;
}

} // namespace

void AddFrameMethods(FrameModel& model)
{
    model.AddMethods({{"GetName", Ui::GetName},
                      {"GetParent", Ui::GetParent},
                      {"GetId", GetId},
                      {"SetId", SetId},
                      {"SetPos", SetPos},
                      {"GetPos", GetPos},
                      {"SetWidth", SetWidth},
                      {"GetWidth", GetWidth},
                      {"SetHeight", SetHeight},
                      {"GetHeight", GetHeight},
                      {"SetSize", SetSize},
                      {"GetSize", GetSize},
                      {"SetRelativeSize", SetRelativeSize},
                      {"GetRelativeSize", GetRelativeSize},
                      {"SetPoint", SetPoint},
                      {"Show", Show},
                      {"Hide", Hide},
                      {"IsVisible", IsVisible},
                      {"SetAlpha", SetAlpha},
                      {"GetAlpha", GetAlpha},
                      {"SetScale", SetScale},
                      {"GetScale", GetScale},
                      {"SetScript", Ui::SetScript},
                      {"GetScript", Ui::GetScript},
                      {"StartMoving", StartMoving},
                      {"StopMoving", StopMoving}});
}

} // namespace Ui
