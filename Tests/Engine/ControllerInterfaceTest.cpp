#include "Engine/ControllerInterface.h"

#include "Engine/BehaviorListener.h"
#include "Support/FakeObjects.h"

#include <gtest/gtest.h>

namespace
{

class DerivedView : public FakeView
{
public:
    using FakeView::FakeView;
};

class Listener : public BehaviorListener
{
public:
    void OnBehaviorFinished(BehaviorInterface* behavior) override { finished.push_back(behavior); }

    std::vector<BehaviorInterface*> finished;
};

} // namespace

TEST(ControllerInterfaceTest, RunsItsModelViewsAndEnabledBehaviours)
{
    EventLog log;
    auto* model = new FakeModel("model", log);
    auto* view = new FakeView(model, "view", log);
    FakeBehavior enabled(0, nullptr, "enabled", log);
    FakeBehavior disabled(1, nullptr, "disabled", log);
    enabled.SetEnabled(true);
    {
        ControllerInterface controller(model, view);
        EXPECT_EQ(&controller, model->controller);
        EXPECT_EQ(&controller, view->controller);
        EXPECT_EQ(model, view->GetModel());
        controller.AddBehavior(&disabled);
        controller.AddBehavior(&enabled);

        controller.Update();
        controller.Draw();
        Light* const light = reinterpret_cast<Light*>(&log);
        controller.DrawShadowVolume(light);
        EXPECT_EQ(light, view->light);
    }
    // The controller deletes its views, then its model, but no behaviour.
    EXPECT_EQ((EventLog{"model update", "enabled update", "view draw", "enabled draw",
                        "view shadow", "view deleted", "model deleted"}),
              log);
}

TEST(ControllerInterfaceTest, FindsViewsByTheirType)
{
    EventLog log;
    auto* model = new FakeModel("model", log);
    auto* derived = new DerivedView(model, "derived", log);
    ControllerInterface controller(model, derived);
    const ControllerInterface& constant = controller;
    EXPECT_EQ(derived, controller.GetView<ViewInterface>());
    EXPECT_EQ(derived, controller.GetView<FakeView>());
    EXPECT_EQ(derived, constant.GetView<DerivedView>());

    ControllerInterface plain(new FakeModel("plain", log), new FakeView(nullptr, "view", log));
    EXPECT_EQ(nullptr, plain.GetView<DerivedView>());

    ControllerInterface bare(new FakeModel("bare", log), nullptr);
    EXPECT_EQ(nullptr, bare.GetView<ViewInterface>());
    EXPECT_EQ(nullptr, bare.GetView<FakeView>());
    bare.Draw();
    bare.DrawShadowVolume(nullptr);
}

TEST(ControllerInterfaceTest, BehavioursAreFoundRemovedAndFinished)
{
    EventLog log;
    Listener listener;
    FakeBehavior thrust(0, nullptr, "thrust", log);
    FakeBehavior laser(&listener, "laser", log);
    FakeBehavior second(2, &listener, "second", log);
    EXPECT_EQ(2, laser.GetTypeId());
    EXPECT_FALSE(laser.IsEnabled());

    ControllerInterface controller(new FakeModel("model", log), nullptr);
    controller.AddBehavior(&thrust);
    controller.AddBehavior(&laser);
    controller.AddBehavior(&second);
    EXPECT_EQ(&laser, controller.FindBehavior(2));
    EXPECT_EQ(nullptr, controller.FindBehavior(1));
    controller.RemoveBehaviors(2);
    EXPECT_EQ(nullptr, controller.FindBehavior(2));
    EXPECT_EQ(&thrust, controller.FindBehavior(0));

    laser.SetEnabled(true);
    laser.Finish();
    EXPECT_FALSE(laser.IsEnabled());
    EXPECT_EQ((std::vector<BehaviorInterface*>{&laser}), listener.finished);
    thrust.SetEnabled(true);
    thrust.Finish();
    EXPECT_FALSE(thrust.IsEnabled());
    laser.DoUpdate();
    laser.DoDraw();
    EXPECT_TRUE(log.empty());
}
