#include "Ui/FrameModel.h"

#include "Engine/LuaState.h"

#include <exception>
#include <utility>

namespace Ui
{

namespace
{

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
