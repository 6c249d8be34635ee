#include "Engine/Timer.h"

#include <gtest/gtest.h>

namespace
{

TEST(TimerTest, AFrameBecomesWholeStepsAndTheFractionLeftOver)
{
    struct Case
    {
        unsigned stepMs;
        Uint32 carried;
        Uint32 elapsed;
        Uint32 steps;
        Uint32 kept;
        float alpha;
    };
    const Case cases[] = {
        {15, 3, 40, 2, 13, 13.0f / 15},
        {15, 0, 15, 1, 0, 0.0f},
        {15, 14, 1, 1, 0, 0.0f},
        {15, 0, 1000, 66, 10, 10.0f / 15},
        // A step of 0 ms is taken as 1 ms.
        {0, 0, 7, 7, 0, 0.0f},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message()
                     << c.stepMs << " ms steps, " << c.carried << " + " << c.elapsed << " ms");
        Timer timer(c.stepMs);
        timer.accumulator = c.carried;
        timer.Advance(c.elapsed);
        EXPECT_EQ(c.elapsed, timer.frameMs);
        EXPECT_FLOAT_EQ(c.elapsed / 1000.0f, timer.frameSeconds);
        EXPECT_EQ(c.steps, timer.steps);
        EXPECT_EQ(c.kept, timer.accumulator);
        EXPECT_FLOAT_EQ(c.alpha, timer.alpha);
    }
}

TEST(TimerTest, AFrameOfNoTimeRunsNoStepAndKeepsTheRate)
{
    Timer timer(15);
    timer.Advance(20);
    const float fps = timer.fps;
    const float alpha = timer.alpha;
    EXPECT_FLOAT_EQ(50.0f / 4, fps);

    timer.Advance(0);
    EXPECT_EQ(0u, timer.frameMs);
    EXPECT_EQ(0u, timer.steps);
    EXPECT_FLOAT_EQ(alpha, timer.alpha);
    EXPECT_FLOAT_EQ(fps, timer.fps);
    EXPECT_EQ(2u, timer.frameCount);
}

TEST(TimerTest, TheSpeedScalesTheMeasuredTime)
{
    Timer timer(15);
    timer.SetSpeed(0.5f);
    timer.Advance(45);
    EXPECT_EQ(22u, timer.frameMs);
    EXPECT_FLOAT_EQ(0.0225f, timer.frameSeconds);
    EXPECT_EQ(1u, timer.steps);
}

TEST(TimerTest, ThePausedSpanIsNotFrameTime)
{
    Timer timer(15);
    timer.lastTicks = 100;
    timer.Pause(false); // not paused: nothing to resume
    EXPECT_EQ(100u, timer.lastTicks);

    timer.Pause(true);
    EXPECT_TRUE(timer.IsPaused());
    timer.pauseTicks -= 500; // as if paused 500 ms ago
    timer.Pause(false);
    EXPECT_FALSE(timer.IsPaused());
    EXPECT_LE(600u, timer.lastTicks);
}

} // namespace
