#pragma once

#include "Engine/ControllerInterface.h"
#include "Engine/LuaState.h"
#include "Engine/LuaValue.h"
#include "Engine/ModelInterface.h"

#include <type_traits>

// The look-ups of the frame and widget methods bound to Lua: each takes the
// frame from "__this" of argument 1 and raises "Invalid Lua object!" when it
// finds no frame, or not the model or view the method needs.
namespace Ui
{

class FrameController;

FrameController* GetSelfController(lua_State* L);
// The same frame as the engine's controller, which is all the templates need.
ControllerInterface& GetSelfFrame(lua_State* L);

template <class T>
T* GetSelfModel(lua_State* L)
{
    T* const model = dynamic_cast<T*>(GetSelfFrame(L).GetModel());
    if (!model)
        LuaError(L, "Invalid Lua object!");
    return model;
}

// The frame's first view that is a T.
template <class T>
T* GetSelfView(lua_State* L)
{
    T* const view = GetSelfFrame(L).GetView<T>();
    if (!view)
        LuaError(L, "Invalid Lua object!");
    return view;
}

// The frame's model or first view of the type T.
template <class T>
T& GetSelf(lua_State* L)
{
    if constexpr (std::is_base_of_v<ModelInterface, T>)
        return *GetSelfModel<T>(L);
    else
        return *GetSelfView<T>(L);
}

template <class Member>
struct MemberClass;

template <class T, class Type>
struct MemberClass<Type T::*>
{
    using Class = T;
};

// The owner of a field or method: the model or the view the method works on.
template <auto member>
using SelfOf = typename MemberClass<decltype(member)>::Class;

// A getter method: pushes the fields of the frame's model or view, in order.
template <auto first, auto... rest>
int GetFields(lua_State* L)
{
    const SelfOf<first>& self = GetSelf<SelfOf<first>>(L);
    LuaPush(L, self.*first);
    (LuaPush(L, self.*rest), ...);
    return 1 + sizeof...(rest);
}

// A setter method: checks one argument per field and reads them in order.
template <auto first, auto... rest>
int SetFields(lua_State* L)
{
    LuaCheckArgs(L, 1 + sizeof...(rest));
    SelfOf<first>& self = GetSelf<SelfOf<first>>(L);
    int index = 2;
    LuaRead(L, index++, self.*first);
    (LuaRead(L, index++, self.*rest), ...);
    return 0;
}

// A method without arguments: calls it and pushes its result, if any.
template <auto method>
int CallMethod(lua_State* L)
{
    SelfOf<method>& self = GetSelf<SelfOf<method>>(L);
    if constexpr (std::is_void_v<decltype((self.*method)())>)
    {
        (self.*method)();
        return 0;
    }
    else
    {
        LuaPush(L, (self.*method)());
        return 1;
    }
}

} // namespace Ui
