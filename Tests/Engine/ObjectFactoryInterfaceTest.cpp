#include "Engine/ObjectFactoryInterface.h"

#include "Engine/ControllerInterface.h"
#include "Engine/Error.h"
#include "Support/FakeObjects.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace
{

// Model kinds: 0 a ready model, 1 a model that waits; view kinds: 0 none,
// 1 a view; controller kind 0 a plain controller. Kind 9 is unknown to each.
// Models, views and controllers are named after the count of objects made.
class FakeFactory : public ObjectFactoryInterface
{
public:
    FakeFactory(ObjectList* world, EventLog& log) : ObjectFactoryInterface(world), log(log) {}

    ModelInterface* MakeModel(int kind) override
    {
        if (kind == 9)
            throw Error("unknown model");
        auto* model = new FakeModel("model" + std::to_string(++made), log);
        model->ready = kind == 0;
        return model;
    }

    ViewInterface* MakeView(int kind, ModelInterface* model) override
    {
        if (kind == 9)
            throw Error("unknown view");
        return kind == 0 ? nullptr : new FakeView(model, "view" + std::to_string(made), log);
    }

    ControllerInterface* MakeController(int kind, ModelInterface* model,
                                        ViewInterface* view) override
    {
        if (kind == 9)
            throw Error("unknown controller");
        return new ControllerInterface(model, view);
    }

    ObjectKind GetObjectKind(int objectKind) const override
    {
        static const ObjectKind kinds[] = {{0, 1, 0}, {1, 0, 0}};
        return kinds[objectKind];
    }

    EventLog& log;
    int made = 0;
};

FakeModel* ModelOf(const ControllerInterface* object)
{
    return dynamic_cast<FakeModel*>(object->GetModel());
}

class ObjectFactoryInterfaceTest : public testing::Test
{
protected:
    ~ObjectFactoryInterfaceTest() override
    {
        delete factory;
        for (ControllerInterface* object : world)
            delete object;
    }

    EventLog log;
    ObjectFactoryInterface::ObjectList world;
    FakeFactory* factory = new FakeFactory(&world, log);
};

} // namespace

TEST_F(ObjectFactoryInterfaceTest, OnePendingObjectJoinsPerFlush)
{
    ControllerInterface* first = ObjectFactoryInterface::CreateObject(0);
    ControllerInterface* second = ObjectFactoryInterface::CreateObject(0, 1, 0);
    ASSERT_NE(nullptr, first);
    EXPECT_NE(nullptr, first->GetView<FakeView>());
    EXPECT_TRUE(world.empty());
    factory->Flush();
    EXPECT_EQ((ObjectFactoryInterface::ObjectList{first}), world);
    factory->Flush();
    EXPECT_EQ((ObjectFactoryInterface::ObjectList{first, second}), world);
    factory->Flush();
    EXPECT_EQ(2u, world.size());
}

TEST_F(ObjectFactoryInterfaceTest, AWaitingObjectLetsAReadyOnePass)
{
    ControllerInterface* waiting = ObjectFactoryInterface::CreateObject(1);
    EXPECT_EQ(nullptr, waiting->GetView<ViewInterface>());
    ControllerInterface* ready = ObjectFactoryInterface::CreateObject(0, 0);
    factory->Flush();
    EXPECT_EQ((ObjectFactoryInterface::ObjectList{ready}), world);
    factory->Flush();
    EXPECT_EQ(1u, world.size());

    // Killing a pending object finds nothing; it joins later as usual.
    EXPECT_EQ(nullptr, ObjectFactoryInterface::Kill(waiting));
    EXPECT_EQ(nullptr, ObjectFactoryInterface::KillByModel(waiting->GetModel()));
    ModelOf(waiting)->ready = true;
    factory->Flush();
    EXPECT_EQ((ObjectFactoryInterface::ObjectList{ready, waiting}), world);
}

TEST_F(ObjectFactoryInterfaceTest, AKilledObjectLeavesAtTheFlushAndIsDeletedAtTheNextFrame)
{
    ControllerInterface* first = ObjectFactoryInterface::CreateObject(0);
    ControllerInterface* second = ObjectFactoryInterface::CreateObject(0);
    ControllerInterface* bare = ObjectFactoryInterface::CreateObject(0, 0, 0);
    for (int i = 0; i < 3; ++i)
        factory->Flush();

    // Killed twice in one step, through its model and its view.
    EXPECT_EQ(first, ObjectFactoryInterface::KillByModel(first->GetModel()));
    EXPECT_EQ(first, ObjectFactoryInterface::KillByView(first->GetView<ViewInterface>()));
    EXPECT_EQ(second, ObjectFactoryInterface::Kill(second));
    EXPECT_EQ(nullptr, ObjectFactoryInterface::KillByView(nullptr));
    // The rest of the step still updates it.
    EXPECT_EQ((ObjectFactoryInterface::ObjectList{first, second, bare}), world);
    for (ControllerInterface* object : world)
        object->Update();
    EXPECT_EQ((EventLog{"model1 update", "model2 update", "model3 update"}), log);
    log.clear();

    factory->Flush();
    EXPECT_EQ((ObjectFactoryInterface::ObjectList{bare}), world);
    EXPECT_TRUE(log.empty());
    factory->DeleteDead();
    EXPECT_EQ((EventLog{"view1 deleted", "model1 deleted", "view2 deleted", "model2 deleted"}),
              log);
    factory->DeleteDead();
    EXPECT_EQ(4u, log.size());
}

// Each flush takes its kill list from the last killed onto the dead list, and
// the dead are deleted from the last on it.
TEST_F(ObjectFactoryInterfaceTest, TheDeadAreDeletedFromTheBackOfTheDeadList)
{
    std::vector<ControllerInterface*> objects;
    for (int i = 0; i < 5; ++i)
    {
        objects.push_back(ObjectFactoryInterface::CreateObject(0, 0, 0));
        factory->Flush();
    }
    for (const int killed : {2, 0, 1, 0})
        ObjectFactoryInterface::Kill(objects[killed]);
    factory->Flush();
    ObjectFactoryInterface::Kill(objects[3]);
    factory->Flush();
    EXPECT_EQ((ObjectFactoryInterface::ObjectList{objects[4]}), world);
    log.clear();
    factory->DeleteDead();
    EXPECT_EQ((EventLog{"model4 deleted", "model3 deleted", "model1 deleted", "model2 deleted"}),
              log);
}

TEST_F(ObjectFactoryInterfaceTest, DeleteObjectsDeletesFromTheBack)
{
    ObjectFactoryInterface::ObjectList objects;
    for (const char* name : {"first", "second", "third"})
        objects.push_back(new ControllerInterface(new FakeModel(name, log), nullptr));
    ObjectFactoryInterface::DeleteObjects(objects);
    EXPECT_TRUE(objects.empty());
    EXPECT_EQ((EventLog{"third deleted", "second deleted", "first deleted"}), log);
}

TEST_F(ObjectFactoryInterfaceTest, AFailedKindKeepsNothing)
{
    const struct
    {
        int model, view, controller;
        const char* error;
        EventLog deleted;
    } cases[] = {
        {9, 1, 0, "unknown model", {}},
        {0, 9, 0, "unknown view", {"model1 deleted"}},
        {0, 1, 9, "unknown controller", {"view2 deleted", "model2 deleted"}},
    };
    for (const auto& c : cases)
    {
        log.clear();
        try
        {
            ObjectFactoryInterface::CreateObject(c.model, c.view, c.controller);
            ADD_FAILURE() << c.error;
        }
        catch (const Error& e)
        {
            EXPECT_STREQ(c.error, e.what());
        }
        EXPECT_EQ(c.deleted, log) << c.error;
    }
    factory->Flush();
    EXPECT_TRUE(world.empty());
}

TEST_F(ObjectFactoryInterfaceTest, TheDestructorPutsPendingObjectsIntoTheWorld)
{
    ControllerInterface* inWorld = ObjectFactoryInterface::CreateObject(0);
    factory->Flush();
    ControllerInterface* killed = ObjectFactoryInterface::CreateObject(0);
    factory->Flush();
    ObjectFactoryInterface::Kill(killed);
    factory->Flush();
    ControllerInterface* waiting = ObjectFactoryInterface::CreateObject(1);
    auto* built = new ControllerInterface(new FakeModel("built", log), nullptr);
    EXPECT_TRUE(ObjectFactoryInterface::AddPending(built));
    log.clear();

    delete factory;
    factory = nullptr;
    EXPECT_EQ((ObjectFactoryInterface::ObjectList{inWorld, waiting, built}), world);
    EXPECT_EQ((EventLog{"view2 deleted", "model2 deleted"}), log);
}

TEST_F(ObjectFactoryInterfaceTest, WithoutACurrentFactoryNothingIsMade)
{
    // Only the factory being deleted gives up the current place.
    ObjectFactoryInterface::ObjectList otherWorld;
    auto* other = new FakeFactory(&otherWorld, log);
    delete factory;
    factory = other;
    const std::unique_ptr<ModelInterface> model(ObjectFactoryInterface::CreateModel(0));
    EXPECT_NE(nullptr, model);
    log.clear();
    delete factory;
    factory = nullptr;

    EXPECT_EQ(nullptr, ObjectFactoryInterface::CreateObject(0));
    EXPECT_EQ(nullptr, ObjectFactoryInterface::CreateObject(0, 0));
    EXPECT_EQ(nullptr, ObjectFactoryInterface::CreateObject(0, 1, 0));
    EXPECT_EQ(nullptr, ObjectFactoryInterface::CreateModel(0));
    EXPECT_EQ(nullptr, ObjectFactoryInterface::CreateView(1, nullptr));
    EXPECT_EQ(nullptr, ObjectFactoryInterface::CreateController(0, nullptr, nullptr));
    ControllerInterface object(new FakeModel("model", log), nullptr);
    EXPECT_FALSE(ObjectFactoryInterface::AddPending(&object));
    EXPECT_EQ(nullptr, ObjectFactoryInterface::Kill(&object));
    EXPECT_EQ(nullptr, ObjectFactoryInterface::KillByModel(object.GetModel()));
    EXPECT_TRUE(log.empty());
}
