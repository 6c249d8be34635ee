#include "Ui/FrameView.h"

#include "Ui/UiFixture.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>

namespace
{

using Ui::FrameModel;
using Ui::FramePoint;

// A 20 by 10 frame under a 200 by 100 frame at (100, 50).
class FrameViewTest : public UiTest
{
protected:
    FrameViewTest() : parent(AddFrame("Parent")), child(AddFrame("Child", parent))
    {
        Model(parent).offsetX = 100.0f;
        Model(parent).offsetY = 50.0f;
        Model(parent).width = 200;
        Model(parent).height = 100;
        Model(child).width = 20;
        Model(child).height = 10;
    }

    Ui::FrameController* const parent;
    Ui::FrameController* const child;
};

struct Rectangle
{
    float x, y, width, height;
};

void ExpectRectangle(const Rectangle& expected, const Ui::FrameView& view)
{
    EXPECT_FLOAT_EQ(expected.x, view.x);
    EXPECT_FLOAT_EQ(expected.y, view.y);
    EXPECT_FLOAT_EQ(expected.width, view.width);
    EXPECT_FLOAT_EQ(expected.height, view.height);
}

} // namespace

TEST_F(FrameViewTest, EachPointMeetsTheSamePointOfTheRelativeFrame)
{
    const struct
    {
        FramePoint point;
        float x, y;
    } cases[] = {{Ui::TOPLEFT, 100, 50},      {Ui::TOPRIGHT, 280, 50}, {Ui::BOTTOMLEFT, 100, 140},
                 {Ui::BOTTOMRIGHT, 280, 140}, {Ui::TOP, 190, 50},      {Ui::LEFT, 100, 95},
                 {Ui::RIGHT, 280, 95},        {Ui::BOTTOM, 190, 140},  {Ui::CENTER, 190, 95}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.point);
        Model(child).point = c.point;
        Model(child).relativePoint = c.point;
        LayOut();
        ExpectRectangle({c.x, c.y, 20, 10}, View(child));
    }
}

TEST_F(FrameViewTest, BottomRightAtTopLeftLiesAboveAndLeftOfTheCorner)
{
    Model(child).point = Ui::BOTTOMRIGHT;
    Model(child).relativePoint = Ui::TOPLEFT;
    LayOut();
    ExpectRectangle({80, 40, 20, 10}, View(child));
}

TEST_F(FrameViewTest, ScaleOffsetSizeAndRounding)
{
    struct Case
    {
        const char* name;
        float parentScale;
        std::function<void(FrameModel&)> setUp;
        Rectangle expected;
    };
    const Case cases[] = {
        {"offset at scale 2",
         2,
         [](FrameModel& m) { m.offsetX = 10, m.offsetY = 5; },
         {120, 60, 40, 20}},
        {"ignoreScale keeps the scaled offset",
         2,
         [](FrameModel& m) { m.offsetX = 10, m.offsetY = 5, m.ignoreScale = true; },
         {120, 60, 20, 10}},
        {"own scale scales the size only",
         1,
         [](FrameModel& m) { m.scale = 3; },
         {100, 50, 60, 30}},
        {"relative width 50 of the unscaled parent",
         2,
         [](FrameModel& m) { m.relativeWidth = 50; },
         {100, 50, 200, 20}},
        {"relative height 0", 1, [](FrameModel& m) { m.relativeHeight = 0; }, {100, 50, 20, 0}},
        {"relative size off", 1, [](FrameModel& m) { m.relativeWidth = -1; }, {100, 50, 20, 10}},
        {"relative size under scale 0",
         0,
         [](FrameModel& m) { m.relativeWidth = 50, m.relativeHeight = 50; },
         {100, 50, 0, 0}},
        {"integerCoords 10.5",
         1,
         [](FrameModel& m) { m.offsetX = 10.5f, m.integerCoords = true; },
         {111, 50, 20, 10}},
        {"integerCoords 10.49",
         1,
         [](FrameModel& m) { m.offsetX = 10.49f, m.integerCoords = true; },
         {110, 50, 20, 10}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Model(parent).scale = c.parentScale;
        FrameModel& model = Model(child);
        model.offsetX = model.offsetY = 0;
        model.scale = 1;
        model.ignoreScale = model.integerCoords = false;
        model.relativeWidth = model.relativeHeight = -1;
        c.setUp(model);
        LayOut();
        ExpectRectangle(c.expected, View(child));
        EXPECT_FALSE(std::isnan(View(child).width));
    }
}

TEST_F(FrameViewTest, IntegerCoordsRoundHalvesUpAndTruncateTowardZero)
{
    Model(parent).offsetX = 0;
    const struct
    {
        float offset, x;
    } cases[] = {{10.5f, 11}, {10.49f, 10}, {-0.7f, 0}, {-1.7f, -1}};
    Model(child).integerCoords = true;
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.offset);
        Model(child).offsetX = c.offset;
        LayOut();
        EXPECT_EQ(c.x, View(child).x);
    }
}

TEST_F(FrameViewTest, ScaleAndAlphaMultiplyDownTheAnchors)
{
    Model(parent).scale = 2;
    Model(parent).alpha = 0.5f;
    Model(child).scale = 1.5f;
    Model(child).alpha = 0.5f;
    LayOut();
    EXPECT_FLOAT_EQ(3.0f, View(child).scale);
    EXPECT_FLOAT_EQ(0.25f, View(child).alpha);
}

TEST_F(FrameViewTest, AFrameAnchoredToALaterOrHiddenFrameUsesItsLastRectangle)
{
    Ui::FrameController* const later = AddFrame("Later");
    Model(child).relativeTo = later;
    Model(later).offsetX = 300;
    LayOut();
    // The later frame was still at the origin when the child was laid out.
    EXPECT_FLOAT_EQ(0, View(child).x);
    LayOut();
    EXPECT_FLOAT_EQ(300, View(child).x);

    Model(later).visible = false;
    Model(later).offsetX = 400;
    LayOut();
    EXPECT_FLOAT_EQ(300, View(child).x);
}

TEST_F(FrameViewTest, AFrameWithoutRelativeFrameSitsAtTheScreenCorner)
{
    Model(child).relativeTo = nullptr;
    Model(child).offsetX = 7;
    LayOut();
    ExpectRectangle({7, 0, 20, 10}, View(child));
}
