#pragma once

#include "Engine/Color.h"
#include "Ui/LuaSelf.h"

#include <string>

namespace Ui
{

// The colour and the blending of a widget. Its alpha is always the frame's:
// the colour's own alpha is replaced at every draw.
class Paint
{
public:
    // "ADD" selects additive blending, any other word normal blending.
    void SetMode(const std::string& mode);
    bool IsAdditive() const { return additive; }

    // Sets the colour with the alpha as the current colour, and additive
    // blending when chosen.
    void Begin(float alpha) const;
    // Back to normal blending after additive drawing.
    void End() const;

    // The arguments of the Lua method SetColor: red, green and blue (checks
    // 3), opaque.
    static Color ReadColor(lua_State* L);

    Color color = Color::White;

private:
    bool additive = false;
};

// The Lua method SetColor of the views with a paint.
template <class View>
int SetPaintColor(lua_State* L)
{
    const Color color = Paint::ReadColor(L);
    GetSelfView<View>(L)->paint.color = color;
    return 0;
}

// The Lua method SetAlphaMode: the view's own SetAlphaMode with the mode
// (checks 1).
template <class View>
int SetPaintMode(lua_State* L)
{
    LuaCheckArgs(L, 1);
    View* const view = GetSelfView<View>(L);
    view->SetAlphaMode(LuaCheckText(L, 2));
    return 0;
}

} // namespace Ui
