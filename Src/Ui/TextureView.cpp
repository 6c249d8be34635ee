#include "Ui/TextureView.h"

#include "Engine/LuaState.h"
#include "Graphics/Texture.h"
#include "Ui/FrameModel.h"
#include "Ui/LuaSelf.h"
#include "Ui/UiDataReader.h"

#include <GL/gl.h>

namespace Ui
{

namespace
{

TextureView& Self(lua_State* L)
{
    return *GetSelfView<TextureView>(L);
}

// A corner takes u and v; an edge moves the one coordinate of its two corners.
int SetTextureCoordinate(lua_State* L)
{
    LuaCheckArgs(L, 2);
    TextureView& view = Self(L);
    const FramePoint point = UiDataReader::ParsePoint(LuaCheckText(L, 2));
    const float first = static_cast<float>(lua_tonumber(L, 3));
    switch (point)
    {
    case TOPLEFT:
    case TOPRIGHT:
    case BOTTOMLEFT:
    case BOTTOMRIGHT:
        LuaCheckArgs(L, 3);
        view.Corner(point) = {first, static_cast<float>(lua_tonumber(L, 4))};
        break;
    case TOP:
        view.Corner(TOPLEFT).v = view.Corner(TOPRIGHT).v = first;
        break;
    case BOTTOM:
        view.Corner(BOTTOMLEFT).v = view.Corner(BOTTOMRIGHT).v = first;
        break;
    case LEFT:
        view.Corner(TOPLEFT).u = view.Corner(BOTTOMLEFT).u = first;
        break;
    case RIGHT:
        view.Corner(TOPRIGHT).u = view.Corner(BOTTOMRIGHT).u = first;
        break;
    case CENTER:
        break;
    }
    return 0;
}

} // namespace

TextureView::TextureView(FrameModel* model, Texture* texture) : FrameView(model), texture(texture)
{
    model->AddMethods({{"SetColor", SetPaintColor<TextureView>},
                       {"SetTextureCoordinate", SetTextureCoordinate},
                       {"SetAlphaMode", SetPaintMode<TextureView>}});
}

void TextureView::Draw()
{
    FrameView::Draw();
    if (!texture || !texture->IsReady())
        return;
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture->textureId);
    if (!wrapModeSet)
    {
        SetTextureParameters();
        wrapModeSet = true;
    }
    paint.Begin(alpha);
    DrawQuad();
    paint.End();
}

void TextureView::SetAlphaMode(const std::string& mode)
{
    if (!mode.empty())
        paint.SetMode(mode);
}

void TextureView::DrawQuad()
{
    const struct
    {
        FramePoint corner;
        float x, y;
    } vertices[] = {{TOPLEFT, x, y},
                    {BOTTOMLEFT, x, y + height},
                    {BOTTOMRIGHT, x + width, y + height},
                    {TOPRIGHT, x + width, y}};
    glBegin(GL_QUADS);
    for (const auto& vertex : vertices)
    {
        glTexCoord2f(Corner(vertex.corner).u, Corner(vertex.corner).v);
        glVertex2f(vertex.x, vertex.y);
    }
    glEnd();
}

void TextureView::SetTextureParameters()
{
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
}

} // namespace Ui
