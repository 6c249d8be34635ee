#include "Graphics/Camera.h"

#include "Engine/Point.h"
#include "Engine/Timer.h"
#include "Graphics/CameraMouseController.h"

#include <GL/gl.h>
#include <GL/glu.h>

Math::Vector CameraRight;
Math::Vector CameraUp;
Math::Vector CameraBack;

namespace
{

constexpr float EasingRate = 5.0f;

} // namespace

Camera::Camera(EventDispatcher* events, const Timer* timer) : events(events), timer(timer)
{
    UpdateViewport();
}

Camera::~Camera() = default;

void Camera::Update()
{
    const float t = SmoothingFactor(EasingRate);
    if (mouseController)
    {
        mouseController->Update();
        distance = mouseController->distance;
        yaw = mouseController->yaw;
        pitch = mouseController->pitch;
    }
    // Angles ease as plain numbers: from 350 to 10 degrees the view turns back
    // through 180.
    if (currentDistance != distance)
        currentDistance = Lerp(currentDistance, distance, t);
    if (currentYaw != yaw)
        currentYaw = Lerp(currentYaw, yaw, t);
    if (currentPitch != pitch)
        currentPitch = Lerp(currentPitch, pitch, t);
    if (target)
        targetMatrix = *target;
}

void Camera::Snap()
{
    if (mouseController)
        CopyViewToController();
    currentYaw = yaw;
    currentPitch = pitch;
    currentDistance = distance;
    if (target)
        targetMatrix = *target;
}

void Camera::Apply()
{
    GLfloat projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    BuildView(Math::MemMatrix(projection));
    glLoadMatrixf(viewMatrix.Data());
}

void Camera::BuildView(const Math::MemMatrix& projection)
{
    BuildViewMatrix();
    viewProjectionMatrix = projection * viewMatrix;
    GetAxes(CameraUp, CameraRight, CameraBack, false);
}

void Camera::LoadRotation() const
{
    Math::Matrix rotation(viewMatrix);
    rotation[12] = 0;
    rotation[13] = 0;
    rotation[14] = 0;
    glLoadMatrixf(rotation.Data());
}

// The rows of the matrix's rotation part are the view's axes in world
// coordinates.
void Camera::GetAxes(Math::Vector& up, Math::Vector& right, Math::Vector& back,
                     bool fromOpenGL) const
{
    GLfloat modelview[16];
    const float* m = viewMatrix.Data();
    if (fromOpenGL)
    {
        glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
        m = modelview;
    }
    up.Set(m[1], m[5], m[9]);
    right.Set(m[0], m[4], m[8]);
    back.Set(m[2], m[6], m[10]);
}

bool Camera::Project(const Math::Vector& point, double& winX, double& winY, double& winZ,
                     bool fromOpenGL) const
{
    if (fromOpenGL)
    {
        GLdouble modelview[16];
        GLdouble projection[16];
        GLint liveViewport[4];
        glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
        glGetDoublev(GL_PROJECTION_MATRIX, projection);
        glGetIntegerv(GL_VIEWPORT, liveViewport);
        return gluProject(point[0], point[1], point[2], modelview, projection, liveViewport, &winX,
                          &winY, &winZ) == GL_TRUE;
    }
    const Math::Point clip = Math::Point(point) * viewProjectionMatrix;
    if (clip[3] == 0)
        return false;
    const double f = 0.5 / clip[3];
    winX = viewport[0] + (clip[0] * f + 0.5) * viewport[2];
    winY = viewport[1] + (clip[1] * f + 0.5) * viewport[3];
    winZ = clip[2] * f + 0.5;
    return true;
}

void Camera::SetMouseControl(bool on)
{
    if (on && !mouseController)
    {
        mouseController = std::make_unique<CameraMouseController>(events);
        CopyViewToController();
    }
    else if (!on)
    {
        mouseController.reset();
    }
}

void Camera::UpdateViewport()
{
    glGetIntegerv(GL_VIEWPORT, viewport);
}

// A point p of the world is seen at
// T(0, 0, -distance) Rx(pitch) Rz(yaw) inverse(target) offset p.
void Camera::BuildViewMatrix()
{
    viewMatrix = Math::Matrix::Identity;
    if (target)
        viewMatrix *= Math::Matrix::Translate(0, 0, -currentDistance);
    viewMatrix *= Math::Matrix::Rotate(currentPitch, Math::Vector::AxisX);
    viewMatrix *= Math::Matrix::Rotate(currentYaw, Math::Vector::AxisZ);
    Math::Matrix inverseTarget(targetMatrix);
    inverseTarget.InvertRigid();
    viewMatrix *= inverseTarget;
    viewMatrix *= offset;
}

void Camera::CopyViewToController()
{
    mouseController->yaw = yaw;
    mouseController->pitch = pitch;
    mouseController->distance = distance;
}

float Camera::SmoothingFactor(float rate) const
{
    const float t = rate * timer->frameSeconds;
    return t <= 1.0f ? t : 1.0f;
}

float Camera::Lerp(float a, float b, float t)
{
    return (1 - t) * a + b * t;
}
