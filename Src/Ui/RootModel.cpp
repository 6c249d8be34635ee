#include "Ui/RootModel.h"

#include "Engine/LuaState.h"

namespace Ui
{

RootModel::RootModel(int screenWidth, int screenHeight, LuaState* lua) : FrameModel("UiRoot", lua)
{
    width = screenWidth;
    height = screenHeight;
}

void RootModel::SetArg1(float value)
{
    lua_pushnumber(GetLua()->GetState(), value);
    lua_setglobal(GetLua()->GetState(), "arg1");
}

} // namespace Ui
