#include "Support/FakeResource.h"

#include "Engine/DataStore.h"
#include "Engine/Error.h"
#include "Support/Deadline.h"

#include <chrono>
#include <stdexcept>
#include <tinyxml.h>

namespace
{

const Uint32 LoadTimeoutMs = 20000;
const std::chrono::milliseconds LoadTimeout(LoadTimeoutMs);

} // namespace

void FakeResource::Load()
{
    ++loads;
    loadThread = SDL_ThreadID();
    if (started)
        SDL_SemPost(started);
    if (gate)
        SDL_SemWait(gate);
    if (duringLoad)
        duringLoad();
    if (throwsInt)
        throw 42;
    if (fails)
        throw std::runtime_error(failure);
    ReadDefinition("Fake", redirect);
}

void FakeResource::Finish()
{
    ++finishes;
    finishThread = SDL_ThreadID();
}

bool FakeResource::ParseElement(const TiXmlElement* /*element*/, const std::string& lowerTag)
{
    if (lowerTag == "unknown")
        return false;
    if (lowerTag == "fails")
        throw Error("Bad element '", lowerTag, "'");
    tags.push_back(lowerTag);
    return true;
}

Resource* MakeFakeResource(const std::string& path, DataStore& /*store*/)
{
    return new FakeResource(path);
}

Resource* MakeOtherFakeResource(const std::string& path, DataStore& /*store*/)
{
    return new OtherFakeResource(path);
}

bool PollUntil(const std::function<bool()>& condition)
{
    return PollUntil(Deadline(LoadTimeout), condition, std::chrono::milliseconds(1));
}

bool ProcessUntil(DataStore& store, const std::function<bool()>& condition)
{
    return PollUntil(
        [&]
        {
            if (condition())
                return true;
            store.ProcessLoaded();
            return false;
        });
}

bool WaitFor(SDL_sem* semaphore)
{
    return SDL_SemWaitTimeout(semaphore, LoadTimeoutMs) == 0;
}
