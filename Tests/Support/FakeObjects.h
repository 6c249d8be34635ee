#pragma once

#include "Engine/BehaviorInterface.h"
#include "Engine/ModelInterface.h"
#include "Engine/ViewInterface.h"

#include <string>
#include <vector>

// Models, views and behaviours for tests of the object framework. Each writes
// what happens to it ("<name> update", "<name> deleted"...) to a shared log.
using EventLog = std::vector<std::string>;

class FakeModel : public ModelInterface
{
public:
    FakeModel(const std::string& name, EventLog& log) : name(name), log(log) {}
    ~FakeModel() override;

    void Update() override;
    void SetController(ControllerInterface* controller) override;
    bool IsReadyToJoin() const override { return ready; }

    const std::string name;
    EventLog& log;
    bool ready = true;
    ControllerInterface* controller = nullptr;
};

class FakeView : public ViewInterface
{
public:
    FakeView(ModelInterface* model, const std::string& name, EventLog& log)
        : ViewInterface(model), name(name), log(log)
    {
    }
    ~FakeView() override;

    void SetController(ControllerInterface* controller) override;
    void Draw() override;
    void DrawShadowVolume(Light* light) override;

    const std::string name;
    EventLog& log;
    ControllerInterface* controller = nullptr;
    Light* light = nullptr;
};

class FakeBehavior : public BehaviorInterface
{
public:
    FakeBehavior(int typeId, BehaviorListener* listener, const std::string& name, EventLog& log)
        : BehaviorInterface(typeId, listener), name(name), log(log)
    {
    }
    FakeBehavior(BehaviorListener* listener, const std::string& name, EventLog& log)
        : BehaviorInterface(listener), name(name), log(log)
    {
    }
    ~FakeBehavior() override;

    void Update() override;
    void Draw() override;

    const std::string name;
    EventLog& log;
};
