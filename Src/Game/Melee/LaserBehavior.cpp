#include "Game/Melee/LaserBehavior.h"

#include "Engine/Settings.h"
#include "Game/Melee/LaserWeaponData.h"
#include "Game/Objects/PositionView.h"
#include "Graphics/Camera.h"
#include "Graphics/Texture.h"

#include <GL/gl.h>

namespace Melee
{

namespace
{

const int BeamTimeMs = 83;

void Vertex(const Math::Vector& at)
{
    glVertex3f(at[0], at[1], at[2]);
}

} // namespace

LaserBehavior::LaserBehavior(Texture* texture, const LaserWeapon::Data& data,
                             const WeaponMount& mount)
    : BehaviorInterface(nullptr), texture(texture), data(data), mount(mount)
{
}

void LaserBehavior::Start()
{
    SetEnabled(true);
    timeLeftMs = BeamTimeMs;
}

void LaserBehavior::Update()
{
    timeLeftMs -= Settings::timeStep;
    if (timeLeftMs <= 0)
        Finish();
}

// Under the battle's camera, which looks straight down, the camera's right
// axis runs along the mount's x axis, the way the mount fires.
void LaserBehavior::Draw()
{
    if (!view || !texture || !texture->IsReady())
        return;
    glPushAttrib(GL_ENABLE_BIT);
    glDisable(GL_CULL_FACE);
    glDisable(GL_LIGHTING);
    glEnable(GL_ALPHA_TEST);
    glEnable(GL_BLEND);
    glAlphaFunc(GL_GREATER, 0.0625f);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture->textureId);
    // The shadows leave the current colour black.
    glColor4f(1, 1, 1, 1);
    glPushMatrix();
    glMultMatrixf(view->GetTransform()->Data());
    glTranslatef(mount.offset[0], mount.offset[1], mount.offset[2]);
    glRotatef(mount.angle, 0, 0, 1);
    const Math::Vector length = CameraRight * data.range;
    const Math::Vector halfWidth = CameraUp * (data.width / 2);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    Vertex(halfWidth);
    glTexCoord2f(0, 1);
    Vertex(halfWidth + length);
    glTexCoord2f(1, 1);
    Vertex(length - halfWidth);
    glTexCoord2f(1, 0);
    Vertex(-halfWidth);
    glEnd();
    glPopMatrix();
    glPopAttrib();
}

} // namespace Melee
