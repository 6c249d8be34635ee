#include "Engine/LuaDebug.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace
{

// `open` holds the tables being printed, so that a table reached again from
// inside itself prints as its address instead of without end.
void PrintValue(lua_State* L, int index, std::vector<const void*>& open);

void PrintTable(lua_State* L, int index, std::vector<const void*>& open)
{
    open.push_back(lua_topointer(L, index));
    std::printf("{ ");
    lua_pushnil(L);
    while (lua_next(L, index))
    {
        std::printf("[");
        PrintValue(L, -2, open);
        std::printf("]=");
        PrintValue(L, -1, open);
        std::printf(", ");
        lua_pop(L, 1);
    }
    std::printf("};");
    open.pop_back();
}

bool CanPrintTable(lua_State* L, int index, const std::vector<const void*>& open)
{
    const bool isOpen = std::find(open.begin(), open.end(), lua_topointer(L, index)) != open.end();
    return !isOpen && lua_checkstack(L, 2);
}

void PrintValue(lua_State* L, int index, std::vector<const void*>& open)
{
    if (index < 0)
        index = lua_gettop(L) + index + 1;
    const int type = lua_type(L, index);
    switch (type)
    {
    case LUA_TNIL:
        std::printf("nil");
        return;
    case LUA_TNUMBER:
        if (LuaIsInteger(L, index))
            std::printf("%lld", static_cast<long long>(lua_tointeger(L, index)));
        else
            std::printf("%f", lua_tonumber(L, index));
        return;
    case LUA_TBOOLEAN:
        std::printf(lua_toboolean(L, index) ? "true" : "false");
        return;
    case LUA_TSTRING:
        std::printf("'%s'", lua_tostring(L, index));
        return;
    case LUA_TTABLE:
        if (CanPrintTable(L, index, open))
        {
            PrintTable(L, index, open);
            return;
        }
        break;
    }
    std::printf("%s:%p", lua_typename(L, type), lua_topointer(L, index));
}

} // namespace

bool LuaIsInteger(lua_State* L, int index)
{
    return lua_type(L, index) == LUA_TNUMBER &&
           static_cast<lua_Number>(lua_tointeger(L, index)) == lua_tonumber(L, index);
}

void LuaPrintValue(lua_State* L, int index)
{
    std::vector<const void*> open;
    PrintValue(L, index, open);
}

void LuaDumpStack(lua_State* L)
{
    const int top = lua_gettop(L);
    for (int index = 1; index <= top; ++index)
    {
        LuaPrintValue(L, index);
        std::printf("\n");
    }
}
