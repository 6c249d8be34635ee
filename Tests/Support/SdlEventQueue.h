#pragma once

#include <gtest/gtest.h>

// Starts SDL's video (the dummy driver in headless tests) so that its event
// queue takes events, and leaves the queue empty before and after each test.
class SdlEventQueueTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;
};
