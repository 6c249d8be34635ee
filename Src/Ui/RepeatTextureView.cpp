#include "Ui/RepeatTextureView.h"

#include "Engine/LuaState.h"
#include "Ui/FrameModel.h"
#include "Ui/LuaSelf.h"
#include "Ui/TexturedQuad.h"

#include <GL/gl.h>

namespace Ui
{

namespace
{

RepeatTextureView& Self(lua_State* L)
{
    return *GetSelfView<RepeatTextureView>(L);
}

int SetTexWidth(lua_State* L)
{
    LuaCheckArgs(L, 1);
    Self(L).tileWidth = static_cast<int>(lua_tointeger(L, 2));
    return 0;
}

int GetTexWidth(lua_State* L)
{
    lua_pushinteger(L, Self(L).tileWidth);
    return 1;
}

int SetTexHeight(lua_State* L)
{
    LuaCheckArgs(L, 1);
    Self(L).tileHeight = static_cast<int>(lua_tointeger(L, 2));
    return 0;
}

int GetTexHeight(lua_State* L)
{
    lua_pushinteger(L, Self(L).tileHeight);
    return 1;
}

int SetTexSize(lua_State* L)
{
    LuaCheckArgs(L, 2);
    RepeatTextureView& view = Self(L);
    view.tileWidth = static_cast<int>(lua_tointeger(L, 2));
    view.tileHeight = static_cast<int>(lua_tointeger(L, 3));
    return 0;
}

int GetTexSize(lua_State* L)
{
    const RepeatTextureView& view = Self(L);
    lua_pushinteger(L, view.tileWidth);
    lua_pushinteger(L, view.tileHeight);
    return 2;
}

} // namespace

RepeatTextureView::RepeatTextureView(FrameModel* model, Texture* texture)
    : TextureView(model, texture)
{
    model->AddMethods({{"SetTexWidth", SetTexWidth},
                       {"GetTexWidth", GetTexWidth},
                       {"SetTexHeight", SetTexHeight},
                       {"GetTexHeight", GetTexHeight},
                       {"SetTexSize", SetTexSize},
                       {"GetTexSize", GetTexSize}});
}

bool RepeatTextureView::GetRepeats(float& across, float& down) const
{
    const float tileScreenWidth = tileWidth * scale;
    const float tileScreenHeight = tileHeight * scale;
    if (tileScreenWidth <= 0.0f || tileScreenHeight <= 0.0f)
        return false;
    across = width / tileScreenWidth;
    down = height / tileScreenHeight;
    return true;
}

void RepeatTextureView::DrawQuad()
{
    float across = 0.0f;
    float down = 0.0f;
    if (GetRepeats(across, down))
        DrawTexturedQuad({x, y, x + width, y + height}, {0.0f, 0.0f, across, down});
}

void RepeatTextureView::SetTextureParameters()
{
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
}

} // namespace Ui
