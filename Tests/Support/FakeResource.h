#pragma once

#include "Engine/Resource.h"

#include <SDL_mutex.h>
#include <SDL_thread.h>
#include <atomic>
#include <functional>
#include <string>
#include <vector>

class DataStore;

// A resource kind for tests. Its load reads the definition (root element
// "Fake") and records the tags it meets; a test can make the load wait, fail
// or do more work on the loader thread. The settings are made before the load
// is requested; the records are read once the load has completed.
class FakeResource : public Resource
{
public:
    explicit FakeResource(const std::string& path) : Resource(path) {}

    void Load() override;
    void Finish() override;
    // Knows every tag but "unknown"; throws for "fails".
    bool ParseElement(const TiXmlElement* element, const std::string& lowerTag) override;

    bool redirect = true;
    SDL_sem* started = nullptr; // posted when the load begins
    SDL_sem* gate = nullptr;    // waited on before the load goes on
    bool fails = false;
    std::string failure;    // the message of the std::runtime_error thrown
    bool throwsInt = false; // throws something that is no std::exception
    std::function<void()> duringLoad;

    std::atomic<int> loads{0};
    Uint32 loadThread = 0;
    int finishes = 0;
    Uint32 finishThread = 0;
    std::vector<std::string> tags;
};

// A second kind, for asking for a resource of the wrong kind.
class OtherFakeResource : public Resource
{
public:
    explicit OtherFakeResource(const std::string& path) : Resource(path) {}

    void Load() override {}
};

Resource* MakeFakeResource(const std::string& path, DataStore& store);
Resource* MakeOtherFakeResource(const std::string& path, DataStore& store);

// Polls until the condition holds; false when it still does not after a
// generous deadline (a hung thread), so a broken test ends.
bool PollUntil(const std::function<bool()>& condition);

// PollUntil, calling ProcessLoaded between the polls.
bool ProcessUntil(DataStore& store, const std::function<bool()>& condition);

// Waits for the semaphore with the same generous deadline.
bool WaitFor(SDL_sem* semaphore);
