#pragma once

#include <SDL_mutex.h>
#include <SDL_thread.h>
#include <atomic>
#include <list>
#include <memory>
#include <string>

class Resource;

// One loader thread per store: it runs the loads queued by Request, and the
// main thread finishes them with ProcessResults. The thread runs from the
// loader's construction to its stop. The request and result lists each have a
// mutex; no code holds both. Results are finished in the order the loads
// completed.
class ResourceLoader
{
public:
    static const unsigned DefaultStopTimeoutMs = 5000;

    // One record of the lists: a load, or the record that ends the thread.
    struct LoadRequest
    {
        enum Kind
        {
            Load,
            Quit
        };

        LoadRequest(Kind kind, Resource* resource) : kind(kind), resource(resource) {}

        const Kind kind;
        Resource* const resource;
        bool failed = false;
        std::string error;
    };

    // Starts the thread; throws Error when it cannot be created. The stop
    // waits stopTimeoutMs for the thread before it kills it.
    explicit ResourceLoader(unsigned stopTimeoutMs = DefaultStopTimeoutMs);
    ~ResourceLoader();
    ResourceLoader(const ResourceLoader&) = delete;
    ResourceLoader& operator=(const ResourceLoader&) = delete;

    // Queues the resource's load unless it is ready or already queued, so each
    // resource is queued at most once. Any thread may request; a load
    // requested after the stop never runs.
    void Request(Resource* resource);

    // Main thread: finishes every completed load in order and marks it ready;
    // at the first failed load it marks the resource failed and throws Error
    // with the load's message, leaving the results behind it for the next
    // call. The loader thread printed the failure when the load threw.
    void ProcessResults();

    // Drops the loads that wait for the thread. Their resources are no longer
    // queued, so a later request loads them.
    void ClearRequests();

    // Ends the thread: drops the waiting loads, lets the running one end
    // within the timeout (else prints "Killing loader thread" and kills the
    // thread) and finishes what completed; a failure met there is not thrown.
    // The destructor stops too; stopping again does nothing.
    void Stop();

    static int ThreadEntry(void* loader);

    // Called by a load between its parts (the faces of a cube map, the meshes
    // of a model, the elements of a definition): on a loader thread whose
    // store is stopping it throws Error, so that a long load ends there and
    // the stop need not kill the thread. Elsewhere it does nothing.
    static void StopPoint();

private:
    using RequestList = std::list<std::unique_ptr<LoadRequest>>;

    int Run();
    std::unique_ptr<LoadRequest> TakeRequest();
    void DropRequests();
    void EndThread();
    void FinishAll();
    void DestroyPrimitives();

    const unsigned stopTimeoutMs;
    std::atomic<bool> stopping;
    SDL_sem* runningSemaphore; // posted when the thread leaves its loop
    SDL_sem* workSemaphore;    // posted once for each record put on requests
    SDL_mutex* requestMutex;
    SDL_mutex* resultMutex;
    RequestList requests;
    RequestList results;
    std::unique_ptr<LoadRequest> current; // the record the thread works on
    SDL_Thread* thread;                   // null once stopped
};
