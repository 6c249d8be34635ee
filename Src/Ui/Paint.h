#pragma once

#include "Engine/Color.h"

#include <string>

struct lua_State;

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

} // namespace Ui
