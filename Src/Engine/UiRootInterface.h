#pragma once

#include <string>

class Object;

// What a game state of the engine core needs of its interface root: one update
// per fixed step, one draw per frame, and the frames that show its errors.
class UiRootInterface
{
public:
    virtual ~UiRootInterface() = default;

    virtual void Update(float stepSeconds) = 0;
    virtual void Draw() = 0;
    // Sets the text of the named text frame; false when there is no such frame.
    virtual bool SetFrameText(const std::string& frame, const std::string& text) = 0;
    // Shows or hides the named frame without running its scripts; false when
    // there is no such frame.
    virtual bool SetFrameVisible(const std::string& frame, bool visible) = 0;
    // The root as the parent object under which interface definitions are built.
    virtual Object* AsParent() = 0;
};
