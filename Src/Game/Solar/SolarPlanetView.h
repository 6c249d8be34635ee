#pragma once

#include "Game/Objects/Object3DView.h"

class SolarPlanetModel;

// Draws a body of the solar system and, around the centre, its orbit.
class SolarPlanetView : public Object3DView
{
public:
    explicit SolarPlanetView(SolarPlanetModel* model);

    void Draw() override;

private:
    const SolarPlanetModel& planet;
};
