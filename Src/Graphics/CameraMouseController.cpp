#include "Graphics/CameraMouseController.h"

#include "Engine/EventDispatcher.h"

#include <algorithm>

namespace
{

// Buttons beyond this have no mask bit.
constexpr int MaxButton = 31;

} // namespace

CameraMouseController::CameraMouseController(EventDispatcher* events) : events(events)
{
    events->AddHandler(SDL_MOUSEBUTTONDOWN, OnMouseButton, this, false);
    events->AddHandler(SDL_MOUSEBUTTONUP, OnMouseButton, this, false);
}

CameraMouseController::~CameraMouseController()
{
    events->RemoveHandler(SDL_MOUSEBUTTONDOWN, OnMouseButton, this);
    events->RemoveHandler(SDL_MOUSEBUTTONUP, OnMouseButton, this);
}

void CameraMouseController::Update()
{
    if (rotating)
    {
        if (!grabbed && SDL_ShowCursor(SDL_QUERY) == SDL_ENABLE)
            Grab();
        if (grabbed)
            Turn();
    }
    else if (grabbed)
    {
        Release();
    }
}

bool CameraMouseController::OnMouseButton(const SDL_Event& event, Object* data)
{
    return static_cast<CameraMouseController*>(data)->HandleButton(event);
}

// SDL reports a wheel notch as a press and a release, so one notch moves the
// view by 2.
bool CameraMouseController::HandleButton(const SDL_Event& event)
{
    const int button = event.button.button;
    if (button < 1 || button > MaxButton)
        return false;
    const int mask = 1 << (button - 1);
    if (mask & rotateMask)
    {
        rotating = event.type == SDL_MOUSEBUTTONDOWN;
        return true;
    }
    if (mask & (zoomOutMask | zoomInMask))
    {
        distance += (mask & zoomOutMask) ? 1.0f : -1.0f;
        distance = std::clamp(distance, 0.0f, maxDistance);
    }
    return false;
}

void CameraMouseController::Grab()
{
    SDL_GetMouseState(&savedX, &savedY);
    SDL_WM_GrabInput(SDL_GRAB_ON);
    SDL_ShowCursor(SDL_DISABLE);
    grabbed = true;
    skipX = skipMotions;
    skipY = skipMotions;
}

void CameraMouseController::Release()
{
    SDL_WM_GrabInput(SDL_GRAB_OFF);
    SDL_ShowCursor(SDL_ENABLE);
    SDL_WarpMouse(static_cast<Uint16>(savedX), static_cast<Uint16>(savedY));
    grabbed = false;
}

void CameraMouseController::Turn()
{
    int dx = 0;
    int dy = 0;
    SDL_GetRelativeMouseState(&dx, &dy);
    yaw += TakeMotion(dx, skipX, invertX) / sensitivityX;
    pitch += TakeMotion(dy, skipY, invertY) / sensitivityY;
}

int CameraMouseController::TakeMotion(int motion, int& toSkip, bool invert)
{
    if (motion != 0 && toSkip > 0)
    {
        --toSkip;
        return 0;
    }
    return invert ? -motion : motion;
}
