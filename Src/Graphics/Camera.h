#pragma once

#include "Engine/Matrix.h"
#include "Engine/Object.h"
#include "Engine/Vector.h"

#include <memory>

class CameraMouseController;
class EventDispatcher;
class Timer;

// The axes of the view last applied, in world coordinates, for the quads that
// face the viewer. CameraBack points from the scene toward the viewer.
extern Math::Vector CameraRight;
extern Math::Vector CameraUp;
extern Math::Vector CameraBack;

// The orbit camera of the scenes. It looks at a point that follows a
// transform, from a distance and under a yaw and a pitch that the game sets,
// and eases its actual view toward those values frame by frame, so that
// changes of view glide.
class Camera : public Object
{
public:
    Camera(EventDispatcher* events, const Timer* timer);
    ~Camera() override;
    Camera(const Camera&) = delete;
    Camera& operator=(const Camera&) = delete;

    // The transform to follow; it must outlive the camera or be replaced. Without
    // one the camera sits at the world origin, and the distance is not used.
    void SetTarget(const Math::Matrix* newTarget) { target = newTarget; }

    // Once per frame, before drawing: eases toward the set values by the frame's
    // time and takes the target's current transform.
    void Update();
    // Makes the eased values equal to the set ones at once.
    void Snap();

    // Loads the view into the current (modelview) matrix, keeps its product
    // with OpenGL's projection and publishes the axes.
    void Apply();
    // What Apply computes, from a given projection and without OpenGL.
    void BuildView(const Math::MemMatrix& projection);
    // Loads the view without its translation, so that what is drawn stays
    // centred on the viewer.
    void LoadRotation() const;
    // The up, right and back axes of the view, or of OpenGL's current modelview
    // matrix.
    void GetAxes(Math::Vector& up, Math::Vector& right, Math::Vector& back, bool fromOpenGL) const;
    // Window coordinates of a world point: through GLU with OpenGL's current
    // matrices and viewport, or through the product kept by the last Apply and
    // the viewport read by UpdateViewport. False when the point has no image.
    bool Project(const Math::Vector& point, double& winX, double& winY, double& winZ,
                 bool fromOpenGL) const;

    // Lets the mouse turn and zoom the camera, or stops it.
    void SetMouseControl(bool on);
    // Reads OpenGL's viewport for Project.
    void UpdateViewport();

    const Math::Matrix& GetViewMatrix() const { return viewMatrix; }
    const Math::Matrix& GetViewProjectionMatrix() const { return viewProjectionMatrix; }
    float GetCurrentYaw() const { return currentYaw; }
    float GetCurrentPitch() const { return currentPitch; }
    float GetCurrentDistance() const { return currentDistance; }

    // Applied to the world before the inverse of the target's transform.
    Math::Matrix offset = Math::Matrix::Identity;
    // The values the view eases toward: degrees about z and x, world units.
    float yaw = 0;
    float pitch = 0;
    float distance = 0;

private:
    void BuildViewMatrix();
    void CopyViewToController();
    float SmoothingFactor(float rate) const;
    static float Lerp(float a, float b, float t);

    Math::Matrix targetMatrix = Math::Matrix::Identity;
    int viewport[4] = {};
    std::unique_ptr<CameraMouseController> mouseController;
    EventDispatcher* const events;
    const Timer* const timer;
    Math::Matrix viewMatrix = Math::Matrix::Identity;
    Math::Matrix viewProjectionMatrix = Math::Matrix::Identity;
    const Math::Matrix* target = nullptr;
    float currentYaw = 0;
    float currentPitch = 0;
    float currentDistance = 0;
};
