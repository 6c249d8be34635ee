#pragma once

#include "Engine/Object.h"

#include <SDL.h>

class EventDispatcher;

// Mouse look for the camera: while the right button is held the pointer is
// grabbed and its motion turns the view; the wheel moves the view nearer or
// farther. The camera takes the values after each Update.
class CameraMouseController : public Object
{
public:
    // Registers for the mouse-button events of the dispatcher, which must
    // outlive the controller.
    explicit CameraMouseController(EventDispatcher* events);
    ~CameraMouseController() override;
    CameraMouseController(const CameraMouseController&) = delete;
    CameraMouseController& operator=(const CameraMouseController&) = delete;

    // Grabs or releases the pointer as the rotate button demands and turns the
    // view by the pointer's motion since the last call.
    void Update();

    bool IsRotating() const { return rotating; }
    bool IsGrabbed() const { return grabbed; }

    float yaw = 0;
    float pitch = 0;
    float distance = 0;
    float maxDistance = 100.0f;
    bool invertX = false;
    bool invertY = false;
    // Pointer units per degree.
    float sensitivityX = 3.0f;
    float sensitivityY = 3.0f;
    // Motions ignored on each axis after the grab, while the pointer settles.
    int skipMotions = 5;

private:
    static bool OnMouseButton(const SDL_Event& event, Object* data);
    bool HandleButton(const SDL_Event& event);
    void Grab();
    void Release();
    void Turn();
    // The motion on one axis, or 0 while that axis still skips motions.
    static int TakeMotion(int motion, int& toSkip, bool invert);

    EventDispatcher* const events;
    // A mask bit is 1 << (button number - 1).
    const int zoomOutMask = 1 << (SDL_BUTTON_WHEELDOWN - 1);
    const int zoomInMask = 1 << (SDL_BUTTON_WHEELUP - 1);
    const int rotateMask = 1 << (SDL_BUTTON_RIGHT - 1);
    bool rotating = false;
    bool grabbed = false;
    int savedX = 0;
    int savedY = 0;
    int skipX = 0;
    int skipY = 0;
};
