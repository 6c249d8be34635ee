#include "Game/Solar/SolarPlanetView.h"

#include "Engine/MathUtil.h"
#include "Game/Solar/SolarPlanetModel.h"

#include <GL/gl.h>
#include <cmath>

namespace
{

const int OrbitSegments = 32;

} // namespace

SolarPlanetView::SolarPlanetView(SolarPlanetModel* model) : Object3DView(model), planet(*model) {}

// The orbit is a plain line in the scene's coordinates, untextured and unlit.
void SolarPlanetView::Draw()
{
    Object3DView::Draw();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glColor3f(0.2f, 0.2f, 0.6f);
    glBegin(GL_LINE_STRIP);
    const double step = 2 * Math::Pi<double> / OrbitSegments;
    for (int i = 0; i <= OrbitSegments; ++i)
        glVertex3f(planet.orbitRadius * static_cast<float>(std::cos(step * i)),
                   planet.orbitRadius * static_cast<float>(std::sin(step * i)), 0.0f);
    glEnd();
    glEnable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
}
