#pragma once

#include "Engine/LuaState.h"
#include "Ui/FrameController.h"

// The look-ups of the frame and widget methods bound to Lua: each takes the
// frame from "__this" of argument 1 and raises "Invalid Lua object!" when it
// finds no frame, or not the model or view the method needs.
namespace Ui
{

FrameController* GetSelfController(lua_State* L);

template <class T>
T* GetSelfModel(lua_State* L)
{
    T* const model = dynamic_cast<T*>(GetSelfController(L)->GetModel());
    if (!model)
        LuaError(L, "Invalid Lua object!");
    return model;
}

// The frame's first view that is a T.
template <class T>
T* GetSelfView(lua_State* L)
{
    T* const view = GetSelfController(L)->GetView<T>();
    if (!view)
        LuaError(L, "Invalid Lua object!");
    return view;
}

} // namespace Ui
