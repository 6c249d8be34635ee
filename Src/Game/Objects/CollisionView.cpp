#include "Game/Objects/CollisionView.h"

#include "Engine/Color.h"
#include "Engine/Timer.h"
#include "Game/Objects/Angles.h"
#include "Game/Objects/EntityModel.h"

#include <GL/gl.h>
#include <cmath>

namespace
{

constexpr int OutlineStepDegrees = 20;

} // namespace

CollisionView::CollisionView(EntityModel* model, const Timer* timer)
    : PositionView(model, &matrix), entity(model), timer(timer)
{
}

void CollisionView::Draw()
{
    Interpolate(timer->alpha);
    ApplyOffset();
    const float radius = entity->GetRadius();
    glPushMatrix();
    glTranslatef(matrix[12], matrix[13], matrix[14]);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    Color::Green.Apply();
    glBegin(GL_LINE_STRIP);
    for (int degrees = 0; degrees < 360; degrees += OutlineStepDegrees)
    {
        const float a = degrees * RadiansPerDegree;
        glVertex3f(radius * std::sin(a), radius * std::cos(a), 0);
    }
    glVertex3f(0, radius, 0);
    glEnd();
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
    Color::White.Apply();
    glPopMatrix();
}
