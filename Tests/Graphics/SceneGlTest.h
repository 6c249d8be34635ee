#pragma once

#include "Engine/DataFile.h"
#include "Engine/DataStore.h"
#include "Engine/EventDispatcher.h"
#include "Engine/PointerResource.h"
#include "Engine/Timer.h"
#include "Graphics/Camera.h"
#include "Graphics/Graph.h"
#include "Graphics/GraphicsKinds.h"
#include "Support/FakeResource.h"
#include "Support/GlWindow.h"
#include "Support/TempDirectory.h"

#include <gtest/gtest.h>
#include <memory>

// The gl tests' window with the video context's fixed state, its perspective
// over the whole window, and the back buffer cleared for each test.
class SceneGlTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { OpenGlWindow(); }

    void SetUp() override
    {
        graph.InitGLState();
        graph.SetViewport(0, 0, GlWindowWidth, GlWindowHeight);
        graph.BeginFrame();
    }

    Graph graph;
};

// Adds a store in a temporary directory that knows the image kinds and
// publishes a camera as "Camera", which looks down -z from the origin.
class StoredSceneGlTest : public SceneGlTest
{
protected:
    static void SetUpTestSuite()
    {
        SceneGlTest::SetUpTestSuite();
        RegisterGraphicsKinds();
    }

    void SetUp() override
    {
        SceneGlTest::SetUp();
        CreateFileMutex();
        store = std::make_unique<DataStore>(nullptr);
        store->AddExisting("Camera", nullptr, new PointerResource(&camera, false));
    }

    // The store's loader may still be reading a file.
    void TearDown() override
    {
        store.reset();
        DestroyFileMutex();
    }

    void WaitUntilReady(const Resource* resource)
    {
        ASSERT_TRUE(ProcessUntil(*store, [resource] { return resource->IsReady(); }));
    }

    TempDirectory directory;
    EventDispatcher events;
    Timer timer{15};
    Camera camera{&events, &timer};
    std::unique_ptr<DataStore> store;
};
