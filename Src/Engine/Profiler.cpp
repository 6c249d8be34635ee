#include "Engine/Profiler.h"

#include "Engine/LuaState.h"
#include "Engine/PreciseTime.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace
{
Profiler::Clock readClock = GetPreciseTime;
// The innermost running profiler; the running list goes on through `outer`.
Profiler* innermost = nullptr;

// Clears the entries of the table on top of the stack from the index on, up
// to the first empty one: a child that left the viewed node leaves its lists.
void EndList(lua_State* L, lua_Integer index)
{
    for (;; ++index)
    {
        lua_pushinteger(L, index);
        lua_rawget(L, -2);
        const bool empty = lua_isnil(L, -1);
        lua_pop(L, 1);
        if (empty)
            return;
        lua_pushinteger(L, index);
        lua_pushnil(L);
        lua_rawset(L, -3);
    }
}

} // namespace

Profiler::Profiler(const std::string& name) : name(name) {}

Profiler::~Profiler()
{
    for (Profiler* const child : children)
        child->parent = nullptr;
    children.clear();
    Detach();
    for (Profiler* const viewer : viewers)
    {
        viewer->viewed = viewer;
        viewer->namesDirty = true;
    }
    SetViewed(this);
}

void Profiler::AddChild(Profiler* child)
{
    child->Detach();
    children.push_back(child);
    child->parent = this;
    namesDirty = true;
}

void Profiler::Detach()
{
    if (!parent)
        return;
    parent->children.remove(this);
    parent->namesDirty = true;
    parent = nullptr;
}

void Profiler::Start()
{
    if (depth++ > 0)
        return;
    if (innermost && innermost != parent)
        innermost->AddChild(this);
    if (parent)
        parent->Start();
    startTime = readClock();
    outer = innermost;
    innermost = this;
}

void Profiler::Stop()
{
    if (depth == 0 || --depth > 0)
        return;
    innermost = innermost->outer;
    time += readClock() - startTime;
    if (parent)
        parent->Stop();
}

void Profiler::ResetTimes()
{
    lastTime = time;
    time = 0;
    for (Profiler* const child : children)
        child->ResetTimes();
}

void Profiler::RegisterLua(LuaState& lua)
{
    lua_State* const L = lua.GetState();
    lua_newtable(L);
    lua.SetThis(this);
    lua.SetField("LastTime", 0);
    lua.SetField("Open", LuaOpen);
    lua.SetField("Close", LuaClose);
    lua_setglobal(L, "Profiler");
    PublishNames(lua);
}

void Profiler::UpdateLua(LuaState& lua)
{
    if (hidden)
        return;
    lua_State* const L = lua.GetState();
    lua_getglobal(L, "Profiler");
    if (lua_istable(L, -1))
    {
        StoreTimes(lua);
        if (viewed->namesDirty)
        {
            // The view returns to this profiler when its node is destroyed.
            lua.SetField("Title", viewed->name);
            lua_getfield(L, -1, "Name");
            if (lua_istable(L, -1))
                PushChildNames(lua);
            lua_pop(L, 1);
            NamesPublished(lua);
        }
    }
    lua_pop(L, 1);
    Root()->ResetTimes();
}

void Profiler::PublishNames(LuaState& lua)
{
    lua_State* const L = lua.GetState();
    lua_getglobal(L, "Profiler");
    if (lua_istable(L, -1))
    {
        lua.SetField("Title", viewed->name);
        const int count = static_cast<int>(viewed->children.size());
        lua_createtable(L, count, 0);
        lua_setfield(L, -2, "Time");
        lua_createtable(L, count, 0);
        PushChildNames(lua);
        lua_setfield(L, -2, "Name");
    }
    lua_pop(L, 1);
    NamesPublished(lua);
}

void Profiler::PushChildNames(LuaState& lua)
{
    viewed->namesDirty = true;
    lua_State* const L = lua.GetState();
    lua_Integer index = 0;
    for (const Profiler* const child : viewed->children)
    {
        lua_pushinteger(L, index++);
        lua_pushlstring(L, child->name.data(), child->name.size());
        lua_rawset(L, -3);
    }
    EndList(L, index);
}

void Profiler::Print(int indent) const
{
    for (int i = 0; i < indent; ++i)
        std::putchar('\t');
    std::printf("%s: %f\n", name.c_str(), lastTime);
    for (const Profiler* const child : children)
        child->Print(indent + 1);
}

Profiler::Clock Profiler::SetClock(Clock newClock)
{
    return std::exchange(readClock, newClock);
}

Profiler* Profiler::Root()
{
    Profiler* root = this;
    while (root->parent)
        root = root->parent;
    return root;
}

void Profiler::SetViewed(Profiler* node)
{
    if (viewed != this)
    {
        std::vector<Profiler*>& list = viewed->viewers;
        list.erase(std::find(list.begin(), list.end(), this));
    }
    viewed = node;
    if (node != this)
        node->viewers.push_back(this);
}

void Profiler::View(Profiler* node, lua_State* L)
{
    SetViewed(node);
    LuaState lua(L);
    PublishNames(lua);
}

// The viewed node's last time and each child's share of it in per cent, in the
// table "Profiler" on top of the stack.
void Profiler::StoreTimes(LuaState& lua) const
{
    lua_State* const L = lua.GetState();
    lua_pushnumber(L, viewed->lastTime);
    lua_setfield(L, -2, "LastTime");
    lua_getfield(L, -1, "Time");
    if (lua_istable(L, -1))
    {
        lua_Integer index = 0;
        for (const Profiler* const child : viewed->children)
        {
            lua_pushinteger(L, index++);
            lua_pushnumber(L, child->lastTime * 100 / viewed->lastTime);
            lua_rawset(L, -3);
        }
        EndList(L, index);
    }
    lua_pop(L, 1);
}

void Profiler::NamesPublished(LuaState& lua)
{
    lua.TryDoString("Profiler_UpdateNames();");
    viewed->namesDirty = false;
}

int Profiler::LuaOpen(lua_State* L)
{
    LuaCheckArgs(L, 1);
    Profiler* const self = LuaState::GetThis<Profiler>(L);
    lua_Integer n = lua_tointeger(L, 2);
    for (Profiler* const child : self->viewed->children)
    {
        if (n-- == 0)
        {
            self->View(child, L);
            return 0;
        }
    }
    return LuaClose(L);
}

int Profiler::LuaClose(lua_State* L)
{
    Profiler* const self = LuaState::GetThis<Profiler>(L);
    Profiler* const parent = self->viewed->parent;
    self->View(parent ? parent : self->viewed, L);
    return 0;
}
