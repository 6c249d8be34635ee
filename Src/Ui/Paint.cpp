#include "Ui/Paint.h"

#include "Engine/LuaState.h"

#include <GL/gl.h>

namespace Ui
{

void Paint::SetMode(const std::string& mode)
{
    additive = mode == "ADD";
}

void Paint::Begin(float alpha) const
{
    if (additive)
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    Color(color.GetRed(), color.GetGreen(), color.GetBlue(), alpha).Apply();
}

void Paint::End() const
{
    if (additive)
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

Color Paint::ReadColor(lua_State* L)
{
    LuaCheckArgs(L, 3);
    return Color(static_cast<float>(lua_tonumber(L, 2)), static_cast<float>(lua_tonumber(L, 3)),
                 static_cast<float>(lua_tonumber(L, 4)));
}

} // namespace Ui
