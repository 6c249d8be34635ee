#include "Game/Objects/Object3DView.h"
#include "WorldFixture.h"

#include <gtest/gtest.h>

namespace
{

using PositionViewTest = WorldTest;

TEST_F(PositionViewTest, InterpolatesBetweenTheLastTwoStepsAndAddsTheOffset)
{
    Probe body(Mesh("Asteroid"), 1, 1);
    body.SetPosition(10, 0);
    body.SetVelocity(100, 0);
    body.Update();
    Object3DView view(&body);

    view.Interpolate(0);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(body.GetPreviousTransform()[i], (*view.GetTransform())[i]) << i;
    view.Interpolate(0.999f);
    EXPECT_FLOAT_EQ(10 + 0.999f * 1.5f, (*view.GetTransform())[12]);
    view.Interpolate(0.5f);
    EXPECT_FLOAT_EQ(10.75f, (*view.GetTransform())[12]);

    // The offset moves the drawn transform from the interpolated one, however
    // often the view is drawn in between.
    view.offset.Set(400, -400, 1);
    view.ApplyOffset();
    EXPECT_FLOAT_EQ(410.75f, (*view.GetTransform())[12]);
    EXPECT_FLOAT_EQ(-400.0f, (*view.GetTransform())[13]);
    EXPECT_FLOAT_EQ(1.0f, (*view.GetTransform())[14]);
    view.ApplyOffset();
    EXPECT_FLOAT_EQ(410.75f, (*view.GetTransform())[12]);
    EXPECT_FLOAT_EQ(10.75f, view.GetInterpolated()[12]);
    EXPECT_EQ(&body, view.GetPositionModel());
}

} // namespace
