#include "Ui/FrameModel.h"

#include "Engine/LuaState.h"
#include "Ui/LuaSelf.h"
#include "Ui/MovingHandler.h"
#include "Ui/Root.h"
#include "Ui/UiDataReader.h"

#include <exception>
#include <utility>

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
    frame.point = UiDataReader::ParsePoint(point);
    frame.relativeTo = relativeTo;
    frame.relativePoint = UiDataReader::ParsePoint(relativePoint);
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

// Puts the previous "self", kept at the stack index, back; leaves the stack
// as it is.
void RestoreSelf(lua_State* L, int previous)
{
    lua_pushvalue(L, previous);
    lua_setglobal(L, "self");
}

} // namespace

FrameModel::FrameModel(const std::string& name, LuaState* lua) : name(name), lua(lua)
{
    lua_State* const L = lua->GetState();
    lua_newtable(L);
    table = luaL_ref(L, LUA_REGISTRYINDEX);
    AddMethods({{"GetName", Ui::GetName},
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
    PushTable();
    lua_setglobal(L, name.c_str());
}

FrameModel::~FrameModel()
{
    lua_State* const L = lua->GetState();
    PushTable();
    lua_pushnil(L);
    lua_setfield(L, -2, "__this");
    lua_getglobal(L, name.c_str());
    const bool ownsName = lua_rawequal(L, -1, -2);
    lua_pop(L, 2);
    if (ownsName)
    {
        lua_newtable(L);
        lua_setglobal(L, name.c_str());
    }
    luaL_unref(L, LUA_REGISTRYINDEX, table);
}

bool FrameModel::RunScript(const std::string& code)
{
    if (code.empty())
        return false;
    lua_State* const L = lua->GetState();
    const int height = lua_gettop(L);
    lua_getglobal(L, "self");
    lua_getglobal(L, name.c_str());
    lua_setglobal(L, "self");
    int results = 0;
    try
    {
        results = lua->DoString(code, LUA_MULTRET);
    }
    catch (const std::exception&)
    {
        // Thrown outside every protected call: the message is off the stack.
        RestoreSelf(L, height + 1);
        lua_settop(L, height);
        throw;
    }
    catch (...)
    {
        // A Lua error of the script that runs this one: its message stays on
        // top for the protected call it unwinds to, which resets the stack.
        RestoreSelf(L, height + 1);
        throw;
    }
    const bool result = results == 0 || lua_tointeger(L, height + 2) != 0;
    RestoreSelf(L, height + 1);
    lua_settop(L, height);
    return result;
}

std::string* FrameModel::FindScript(const std::string& scriptName)
{
    return const_cast<std::string*>(std::as_const(*this).FindScript(scriptName));
}

const std::string* FrameModel::FindScript(const std::string& scriptName) const
{
    if (scriptName == "OnLoad")
        return &onLoad;
    if (scriptName == "OnUpdate")
        return &onUpdate;
    if (scriptName == "OnHide")
        return &onHide;
    if (scriptName == "OnShow")
        return &onShow;
    return nullptr;
}

void FrameModel::AddMethods(std::initializer_list<luaL_Reg> methods)
{
    PushTable();
    for (const luaL_Reg& method : methods)
        lua->SetField(method.name, method.func);
    lua_pop(lua->GetState(), 1);
}

void FrameModel::PushTable() const
{
    lua_rawgeti(lua->GetState(), LUA_REGISTRYINDEX, table);
}

} // namespace Ui
