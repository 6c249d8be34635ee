#include "Engine/ResourceLoader.h"

#include "Engine/Error.h"
#include "Engine/Resource.h"
#include "Engine/ScopedLock.h"

#include <SDL_error.h>
#include <cstdio>
#include <exception>

namespace
{

// The loader whose thread this is; null on every other thread.
thread_local const std::atomic<bool>* loaderStopping = nullptr;

// Printed here, where the load failed; the main thread receives the message.
// A load that ends because its store stops is no failure to report.
void Fail(ResourceLoader::LoadRequest& request, const std::exception& e)
{
    if (!*loaderStopping)
        PrintError(e);
    request.failed = true;
    request.error = e.what();
}

// Nothing a load throws may end the thread.
void RunLoad(ResourceLoader::LoadRequest& request)
{
    try
    {
        request.resource->Load();
    }
    catch (const std::exception& e)
    {
        Fail(request, e);
    }
    catch (...)
    {
        // A killed thread unwinds without a C++ exception, and must go on.
        if (!std::current_exception())
            throw;
        Fail(request, Error("Unknown exception while loading '", request.resource->GetPath(), "'"));
    }
}

} // namespace

ResourceLoader::ResourceLoader(unsigned stopTimeoutMs)
    : stopTimeoutMs(stopTimeoutMs), stopping(false), runningSemaphore(SDL_CreateSemaphore(0)),
      workSemaphore(SDL_CreateSemaphore(0)), requestMutex(SDL_CreateMutex()),
      resultMutex(SDL_CreateMutex()), thread(nullptr)
{
    if (runningSemaphore && workSemaphore && requestMutex && resultMutex)
        thread = SDL_CreateThread(ThreadEntry, this);
    if (!thread)
    {
        const std::string reason = SDL_GetError();
        DestroyPrimitives();
        throw Error("Can't start the loader thread: ", reason);
    }
}

ResourceLoader::~ResourceLoader()
{
    Stop();
    DestroyPrimitives();
}

void ResourceLoader::Request(Resource* resource)
{
    if (resource->ready || resource->queued.exchange(true))
        return;
    {
        const ScopedLock lock(requestMutex);
        requests.push_back(std::make_unique<LoadRequest>(LoadRequest::Load, resource));
    }
    SDL_SemPost(workSemaphore);
}

void ResourceLoader::ProcessResults()
{
    const ScopedLock lock(resultMutex);
    while (!results.empty())
    {
        const std::unique_ptr<LoadRequest> result = std::move(results.front());
        results.pop_front();
        Resource* const resource = result->resource;
        if (result->failed)
        {
            resource->failed = true;
            resource->failure = result->error;
            throw Error(result->error);
        }
        if (resource)
        {
            resource->Finish();
            resource->ready = true;
        }
    }
}

void ResourceLoader::ClearRequests()
{
    const ScopedLock lock(requestMutex);
    DropRequests();
}

void ResourceLoader::Stop()
{
    {
        const ScopedLock lock(requestMutex);
        const bool running = thread != nullptr;
        stopping = true;
        DropRequests();
        if (!running)
            return;
        requests.push_back(std::make_unique<LoadRequest>(LoadRequest::Quit, nullptr));
    }
    SDL_SemPost(workSemaphore);
    EndThread();
    FinishAll();
    // Loads requested by the last load or by the finishes are never run.
    ClearRequests();
}

int ResourceLoader::ThreadEntry(void* loader)
{
    return loader ? static_cast<ResourceLoader*>(loader)->Run() : -1;
}

void ResourceLoader::StopPoint()
{
    if (loaderStopping && *loaderStopping)
        throw Error("The load was stopped: its store is closing");
}

int ResourceLoader::Run()
{
    loaderStopping = &stopping;
    for (bool quit = false; !quit;)
    {
        SDL_SemWait(workSemaphore);
        current = TakeRequest();
        if (!current) // its record was dropped
            continue;
        quit = current->kind == LoadRequest::Quit;
        if (!quit)
            RunLoad(*current);
        const ScopedLock lock(resultMutex);
        results.push_back(std::move(current));
    }
    SDL_SemPost(runningSemaphore);
    return 0;
}

std::unique_ptr<ResourceLoader::LoadRequest> ResourceLoader::TakeRequest()
{
    const ScopedLock lock(requestMutex);
    if (requests.empty())
        return nullptr;
    std::unique_ptr<LoadRequest> request = std::move(requests.front());
    requests.pop_front();
    return request;
}

void ResourceLoader::DropRequests()
{
    for (const std::unique_ptr<LoadRequest>& request : requests)
    {
        if (request->resource)
            request->resource->queued = false;
    }
    requests.clear();
}

// The running semaphore starts at 0, so the wait cannot succeed before the
// thread has left its loop, even when the stop comes before the thread began.
void ResourceLoader::EndThread()
{
    if (SDL_SemWaitTimeout(runningSemaphore, stopTimeoutMs) == 0)
    {
        SDL_WaitThread(thread, nullptr);
    }
    else
    {
        std::printf("Killing loader thread\n");
        std::fflush(stdout);
        // SDL_KillThread reaps the thread itself; waiting on it again would
        // touch freed memory.
        SDL_KillThread(thread);
        current.reset();
    }
    thread = nullptr;
}

// The loader thread printed every failure already, and no one is left to
// throw one to.
void ResourceLoader::FinishAll()
{
    for (;;)
    {
        try
        {
            ProcessResults();
            return;
        }
        catch (const std::exception&)
        {
        }
    }
}

void ResourceLoader::DestroyPrimitives()
{
    SDL_DestroySemaphore(runningSemaphore);
    SDL_DestroySemaphore(workSemaphore);
    SDL_DestroyMutex(requestMutex);
    SDL_DestroyMutex(resultMutex);
}
