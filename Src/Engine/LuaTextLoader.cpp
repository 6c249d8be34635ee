#include "Engine/LuaTextLoader.h"

#include "Engine/DataFile.h"
#include "Engine/LuaState.h"
#include "Engine/StringUtil.h"

#include <cstring>
#include <memory>

namespace
{

// Passes the pieces of another reader on, unless the first one begins with
// the mark of a precompiled chunk: then the chunk ends before it starts.
struct TextReader
{
    lua_Reader reader;
    void* data;
    bool started;
    bool precompiled;
};

const char* ReadText(lua_State* L, void* data, std::size_t* size)
{
    TextReader& text = *static_cast<TextReader*>(data);
    const char* const piece = text.reader(L, text.data, size);
    if (text.started || !piece || *size == 0)
        return piece;
    text.started = true;
    text.precompiled = piece[0] == LUA_SIGNATURE[0];
    if (!text.precompiled)
        return piece;
    *size = 0;
    return nullptr;
}

struct Buffer
{
    const char* text;
    std::size_t size;
};

const char* ReadBuffer(lua_State*, void* data, std::size_t* size)
{
    Buffer& buffer = *static_cast<Buffer*>(data);
    const char* const text = buffer.text;
    *size = buffer.size;
    buffer.text = nullptr;
    buffer.size = 0;
    return text;
}

// Replaces the empty chunk that the refused one became with the error.
int RefusePrecompiled(lua_State* L)
{
    lua_Debug chunk;
    lua_getinfo(L, ">S", &chunk);
    // The name of a chunk loaded from a string is its text: no control bytes.
    for (char* c = chunk.short_src; *c; ++c)
    {
        if (static_cast<unsigned char>(*c) < ' ')
            *c = '?';
    }
    lua_pushfstring(L, "%s: can't load a precompiled chunk", chunk.short_src);
    return LUA_ERRSYNTAX;
}

// The results of the base library's loaders: the function, or nil and the
// message.
int LoadResults(lua_State* L, int status)
{
    if (status == 0)
        return 1;
    lua_pushnil(L);
    lua_insert(L, -2);
    return 2;
}

// load (function [, chunkname]): the pieces come from the function until it
// returns nil or an empty string. Slot 3 holds the last piece, so it stays
// alive while Lua reads it.
const char* ReadFromFunction(lua_State* L, void*, std::size_t* size)
{
    luaL_checkstack(L, 2, "too many nested functions");
    lua_pushvalue(L, 1);
    lua_call(L, 0, 1);
    if (lua_isnil(L, -1))
    {
        *size = 0;
        return nullptr;
    }
    if (!lua_isstring(L, -1))
        luaL_error(L, "reader function must return a string");
    lua_replace(L, 3);
    return lua_tolstring(L, 3, size);
}

int LuaLoad(lua_State* L)
{
    luaL_checktype(L, 1, LUA_TFUNCTION);
    const char* const name = luaL_optstring(L, 2, "=(load)");
    lua_settop(L, 3);
    return LoadResults(L, LuaLoadText(L, ReadFromFunction, nullptr, name));
}

int LuaLoadString(lua_State* L)
{
    std::size_t size = 0;
    const char* const text = luaL_checklstring(L, 1, &size);
    const char* const name = luaL_optstring(L, 2, text);
    return LoadResults(L, LuaLoadText(L, text, size, name));
}

// The file on the disk; null, with the message pushed, when it is missing or
// refused (outside the data folder, or too large).
std::unique_ptr<char[]> ReadScript(lua_State* L, const char* file, std::size_t& size)
{
    try
    {
        std::unique_ptr<char[]> buffer(ReadFromDisk(DataPath(file).c_str(), &size));
        if (!buffer)
            lua_pushfstring(L, "cannot open %s", file);
        return buffer;
    }
    catch (const std::exception& e)
    {
        lua_pushstring(L, e.what());
        return nullptr;
    }
}

// Pushes the chunk of the file on the disk, or the message. A first line
// that starts with "#" is passed over, its line end kept, as Lua does.
int LoadFile(lua_State* L, const char* file)
{
    std::size_t size = 0;
    const std::unique_ptr<char[]> buffer = ReadScript(L, file, size);
    if (!buffer)
        return LUA_ERRFILE;
    const char* text = buffer.get();
    if (size > 0 && text[0] == '#')
    {
        const char* const lineEnd = static_cast<const char*>(std::memchr(text, '\n', size));
        const std::size_t skipped = lineEnd ? lineEnd - text : size;
        text += skipped;
        size -= skipped;
    }
    lua_pushfstring(L, "@%s", file);
    const int status = LuaLoadText(L, text, size, lua_tostring(L, -1));
    lua_remove(L, -2);
    return status;
}

int LuaLoadFile(lua_State* L)
{
    return LoadResults(L, LoadFile(L, luaL_checkstring(L, 1)));
}

int LuaDoFile(lua_State* L)
{
    const char* const file = luaL_checkstring(L, 1);
    const int height = lua_gettop(L);
    if (LoadFile(L, file) != 0)
        lua_error(L);
    lua_call(L, 0, LUA_MULTRET);
    return lua_gettop(L) - height;
}

} // namespace

int LuaLoadText(lua_State* L, lua_Reader reader, void* data, const char* chunkName)
{
    TextReader text = {reader, data, false, false};
    const int status = lua_load(L, ReadText, &text, chunkName);
    return status == 0 && text.precompiled ? RefusePrecompiled(L) : status;
}

int LuaLoadText(lua_State* L, const char* text, std::size_t size, const char* chunkName)
{
    Buffer buffer = {text, size};
    return LuaLoadText(L, ReadBuffer, &buffer, chunkName);
}

void LuaOpenTextLoaders(lua_State* L)
{
    const luaL_Reg loaders[] = {{"load", LuaLoad},
                                {"loadstring", LuaLoadString},
                                {"loadfile", LuaLoadFile},
                                {"dofile", LuaDoFile}};
    for (const luaL_Reg& loader : loaders)
    {
        LuaPushFunction(L, loader.func);
        lua_setfield(L, LUA_GLOBALSINDEX, loader.name);
    }
}
