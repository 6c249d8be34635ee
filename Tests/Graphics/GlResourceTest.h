#pragma once

#include "Engine/DataFile.h"
#include "Engine/DataStore.h"
#include "Graphics/GraphicsKinds.h"
#include "Support/FakeResource.h"
#include "Support/FileMutexGuard.h"
#include "Support/GlWindow.h"
#include "Support/TempDirectory.h"

#include <SDL_ttf.h>
#include <gtest/gtest.h>
#include <string>

// The fixture of the graphics tests that load resources into a window: the
// kinds registered, SDL_ttf started, a pixel projection over a cleared back
// buffer, a store and a working directory of their own.
class GlResourceTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        OpenGlWindow();
        ASSERT_EQ(0, TTF_Init()) << TTF_GetError();
        RegisterGraphicsKinds();
    }
    static void TearDownTestSuite() { TTF_Quit(); }

    void SetUp() override { SetPixelProjection(); }

    // Registers the path in the store and waits until the resource is ready.
    template <class Kind>
    Kind* Load(const std::string& path, int type)
    {
        store.AddResource(path, nullptr, type);
        Resource* resource = store.GetResource(path, true);
        EXPECT_TRUE(ProcessUntil(store, [resource] { return resource->IsReady(); })) << path;
        return dynamic_cast<Kind*>(resource);
    }

    FileMutexGuard fileMutex;
    TempDirectory directory;
    DataStore store{nullptr};
};
