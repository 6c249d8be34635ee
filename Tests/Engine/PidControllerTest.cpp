#include "Engine/PidController.h"

#include <cmath>
#include <gtest/gtest.h>

namespace
{

PidController StepAway(float kp, float ki, float kd)
{
    PidController controller(kp, ki, kd);
    controller.target = 1;
    return controller;
}

} // namespace

TEST(PidControllerTest, FirstStepWeighsTheErrorByEachGain)
{
    const struct
    {
        float kp, ki, kd, dt, expected;
    } cases[] = {
        {1, 0, 0, 0.015f, 1},
        {0, 0, 1, 0.015f, 1 / 0.015f},
        {0, 2, 0, 0.5f, 1},
        {2, 1, 0.5f, 0.25f, 2 + 0.25f + 2},
    };
    for (const auto& c : cases)
    {
        PidController controller = StepAway(c.kp, c.ki, c.kd);
        EXPECT_FLOAT_EQ(c.expected, controller.Update(c.dt));
    }
}

TEST(PidControllerTest, IntegralAccumulatesAndDerivativeFollowsTheChangeOfError)
{
    PidController integral = StepAway(0, 1, 0);
    integral.Update(0.5f);
    EXPECT_FLOAT_EQ(1, integral.Update(0.5f));

    PidController derivative = StepAway(0, 0, 1);
    derivative.Update(0.5f);
    EXPECT_FLOAT_EQ(0, derivative.Update(0.5f));
    derivative.Value() = 0.5f;
    EXPECT_FLOAT_EQ(-1, derivative.Update(0.5f));
}

TEST(PidControllerTest, StepOfZeroLengthSkipsTheDerivative)
{
    for (const float dt : {0.0f, -0.015f})
    {
        PidController controller = StepAway(1, 0, 1);
        const float output = controller.Update(dt);
        EXPECT_TRUE(std::isfinite(output));
        EXPECT_FLOAT_EQ(1, output);
    }
}

TEST(PidControllerTest, OwnerMovesTheValueAndTheControllerNever)
{
    PidController controller = StepAway(1, 1, 1);
    controller.Update(0.015f);
    EXPECT_EQ(0, controller.current);
    controller += 0.25f;
    controller += 0.25f;
    EXPECT_FLOAT_EQ(0.5f, controller.Value());
}

TEST(PidControllerTest, CopyKeepsTheGainsAndStartsFromRest)
{
    PidController original = StepAway(0, 1, 1);
    original.Update(0.5f);
    original += 0.5f;

    PidController copy(original);
    EXPECT_EQ(0, copy.current);
    EXPECT_EQ(0, copy.target);
    copy.target = 1;
    EXPECT_FLOAT_EQ(StepAway(0, 1, 1).Update(0.5f), copy.Update(0.5f));
}
