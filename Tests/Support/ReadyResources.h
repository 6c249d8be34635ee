#pragma once

#include "Engine/DataStore.h"
#include "Support/FakeResource.h"
#include "Support/IdleResources.h"

#include <gtest/gtest.h>
#include <string>

// Publishes the resource under its path in the store and waits until the
// store has finished its (empty) load, so that it is ready.
inline void PublishReady(DataStore& store, Resource* resource)
{
    const std::string name = resource->GetPath();
    ASSERT_TRUE(store.AddExisting(name, nullptr, resource)) << name;
    store.GetResource(name, true);
    ASSERT_TRUE(ProcessUntil(store, [resource] { return resource->IsReady(); })) << name;
}
