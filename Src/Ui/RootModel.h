#pragma once

#include "Ui/FrameModel.h"

namespace Ui
{

// The model of the interface root, the frame "UiRoot" that covers the screen.
class RootModel : public FrameModel
{
public:
    RootModel(int screenWidth, int screenHeight, LuaState* lua);

    // Sets the Lua global "arg1".
    void SetArg1(float value);
};

} // namespace Ui
