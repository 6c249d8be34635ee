#include "Engine/ResourceLoader.h"

#include "Engine/DataFile.h"
#include "Engine/DataStore.h"
#include "Engine/Error.h"
#include "Engine/ResourceType.h"
#include "Support/Capture.h"
#include "Support/FakeResource.h"
#include "Support/TempDirectory.h"

#include <SDL_timer.h>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <thread>

namespace
{

const int Fake = ResourceType::Texture;

int Count(const std::string& text, const std::string& part)
{
    int count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

int ThreadCount()
{
    const std::filesystem::directory_iterator tasks("/proc/self/task");
    return static_cast<int>(std::distance(begin(tasks), end(tasks)));
}

// A semaphore for the lifetime of a test.
class Semaphore
{
public:
    Semaphore() : semaphore(SDL_CreateSemaphore(0)) {}
    ~Semaphore() { SDL_DestroySemaphore(semaphore); }
    Semaphore(const Semaphore&) = delete;
    Semaphore& operator=(const Semaphore&) = delete;

    operator SDL_sem*() const { return semaphore; }

private:
    SDL_sem* const semaphore;
};

class ResourceLoaderTest : public testing::Test
{
protected:
    void SetUp() override
    {
        DataStore::RegisterKind(Fake, MakeFakeResource);
        CreateFileMutex();
    }

    void TearDown() override
    {
        DataStore::RegisterKind(Fake, nullptr);
        DestroyFileMutex();
    }

    static FakeResource* AddFake(DataStore& store, const std::string& path)
    {
        return dynamic_cast<FakeResource*>(store.AddResource(path, nullptr, Fake));
    }

    // Requests both loads and deletes the store while the running one waits
    // at its gate; the gate opens once the stop has begun, that is once it
    // has dropped the waiting load. Returns what was printed meanwhile.
    static std::string StopWhileLoading(DataStore* store, FakeResource* running,
                                        FakeResource* waiting)
    {
        const Semaphore started;
        const Semaphore gate;
        running->started = started;
        running->gate = gate;
        store->GetResource(running->GetPath(), true);
        store->GetResource(waiting->GetPath(), true);
        EXPECT_TRUE(WaitFor(started));
        std::thread release(
            [&]
            {
                while (waiting->IsQueued())
                    SDL_Delay(1);
                SDL_SemPost(gate);
            });
        const std::string printed = OutputOf([store] { delete store; });
        release.join();
        running->started = nullptr;
        running->gate = nullptr;
        return printed;
    }

    DataStore parent{nullptr};
};

} // namespace

TEST_F(ResourceLoaderTest, LoadsOnceOnTheThreadAndFinishesOnTheMainThread)
{
    DataStore store(&parent);
    FakeResource* resource = AddFake(store, "Data/a.png");
    EXPECT_EQ(resource, store.GetResource("Data/a.png", true));
    EXPECT_EQ(resource, store.GetResource("Data/a.png", true));
    EXPECT_TRUE(resource->IsQueued());
    ASSERT_TRUE(ProcessUntil(store, [&] { return resource->IsReady(); }));
    store.GetResource("Data/a.png", true);
    store.ProcessLoaded();

    EXPECT_EQ(1, resource->loads);
    EXPECT_EQ(1, resource->finishes);
    EXPECT_NE(SDL_ThreadID(), resource->loadThread);
    EXPECT_EQ(SDL_ThreadID(), resource->finishThread);
}

TEST_F(ResourceLoaderTest, AChildLoadsItsParentsResourcesAndProcessesUpTheChain)
{
    DataStore store(&parent);
    FakeResource* inParent = AddFake(parent, "Data/a.png");
    FakeResource* loadedByParent = AddFake(parent, "Data/b.png");
    store.GetResource("Data/a.png", true);
    parent.GetResource("Data/b.png", true);
    ASSERT_TRUE(
        ProcessUntil(store, [&] { return inParent->IsReady() && loadedByParent->IsReady(); }));
    EXPECT_NE(inParent->loadThread, loadedByParent->loadThread);
}

// The five loads complete before the first frame: each frame finishes them in
// order up to the next failure, which it throws.
TEST_F(ResourceLoaderTest, EachFrameThrowsTheNextFailure)
{
    DataStore store(&parent);
    FakeResource* first = AddFake(store, "Data/first.png");
    FakeResource* failing = AddFake(store, "Data/failing.png");
    failing->fails = true;
    failing->failure = "Can't load 'Data/failing.png'";
    FakeResource* second = AddFake(store, "Data/second.png");
    FakeResource* silent = AddFake(store, "Data/silent.png");
    silent->fails = true; // with an empty message, still a failure
    FakeResource* third = AddFake(store, "Data/third.png");
    FakeResource* last = AddFake(store, "Data/last.png");
    const Semaphore started;
    const Semaphore gate;
    last->started = started;
    last->gate = gate;
    testing::internal::CaptureStdout();
    for (const char* name : {"Data/first.png", "Data/failing.png", "Data/second.png",
                             "Data/silent.png", "Data/third.png", "Data/last.png"})
        store.GetResource(name, true);
    ASSERT_TRUE(WaitFor(started));
    // The loader thread prints each failure, with the type that was thrown;
    // the main thread receives the messages.
    EXPECT_EQ("Error: Can't load 'Data/failing.png'\nTypeid: 'std::runtime_error'\n"
              "Error: \nTypeid: 'std::runtime_error'\n",
              testing::internal::GetCapturedStdout());

    testing::internal::CaptureStdout();
    EXPECT_FALSE(failing->HasFailed());
    EXPECT_EQ("Can't load 'Data/failing.png'", ErrorOf([&] { store.ProcessLoaded(); }));
    EXPECT_TRUE(first->IsReady());
    EXPECT_TRUE(failing->HasFailed());
    EXPECT_EQ("Can't load 'Data/failing.png'", failing->GetFailure());
    EXPECT_FALSE(second->IsReady());
    EXPECT_FALSE(silent->HasFailed());
    EXPECT_EQ("", ErrorOf([&] { store.ProcessLoaded(); }));
    EXPECT_TRUE(silent->HasFailed());
    EXPECT_TRUE(second->IsReady());
    EXPECT_FALSE(third->IsReady());
    EXPECT_EQ("no error", ErrorOf([&] { store.ProcessLoaded(); }));
    EXPECT_TRUE(third->IsReady());
    EXPECT_EQ("", testing::internal::GetCapturedStdout());

    // A failed resource is never queued again.
    store.GetResource("Data/failing.png", true);
    SDL_SemPost(gate);
    ASSERT_TRUE(ProcessUntil(store, [&] { return last->IsReady(); }));
    EXPECT_EQ(1, failing->loads);
    EXPECT_FALSE(failing->IsReady());
    EXPECT_EQ(0, failing->finishes);
}

TEST_F(ResourceLoaderTest, ALoadThatThrowsAnythingElseFailsAndTheThreadGoesOn)
{
    DataStore store(&parent);
    AddFake(store, "Data/odd.png")->throwsInt = true;
    FakeResource* next = AddFake(store, "Data/next.png");
    testing::internal::CaptureStdout();
    store.GetResource("Data/odd.png", true);
    store.GetResource("Data/next.png", true);
    const std::string error =
        ErrorOf([&] { ProcessUntil(store, [&] { return next->IsReady(); }); });
    testing::internal::GetCapturedStdout();
    EXPECT_EQ("Unknown exception while loading 'Data/odd.png'", error);
    ASSERT_TRUE(ProcessUntil(store, [&] { return next->IsReady(); }));
}

// The thread waits for work from the store's construction to its end.
TEST_F(ResourceLoaderTest, TheThreadRunsForTheLifeOfTheStore)
{
    // A sanitizer's runtime starts a thread of its own with the process's
    // first new thread; that one must not be counted as the loader's.
    std::thread([] {}).join();
    const int before = ThreadCount();
    {
        const DataStore store(&parent);
        EXPECT_EQ(before + 1, ThreadCount());
    }
    EXPECT_TRUE(PollUntil([&] { return ThreadCount() == before; }));

    ResourceLoader stopped;
    stopped.Stop();
    EXPECT_TRUE(PollUntil([&] { return ThreadCount() == before; }));
    FakeResource late("Data/late.png");
    stopped.Request(&late);
    EXPECT_TRUE(late.IsQueued());
    EXPECT_EQ(0, late.loads);
}

TEST_F(ResourceLoaderTest, AStopBeforeTheThreadBeganStillEnds)
{
    FakeResource* resource = AddFake(parent, "Data/a.png");
    for (int i = 0; i < 20; ++i)
    {
        const DataStore store(&parent);
    }
    for (int i = 0; i < 20; ++i)
    {
        DataStore store(&parent);
        store.GetResource("Data/a.png", true);
    }
    // Each store either loaded and finished it or dropped the request.
    EXPECT_EQ(resource->IsQueued(), resource->IsReady());
    EXPECT_LE(resource->loads, 1);
}

// A child state that quits before a parent's resources it asked for have
// loaded: the running load completes and is finished, the waiting ones are
// dropped and load later when asked for again.
TEST_F(ResourceLoaderTest, AStopFinishesTheRunningLoadAndDropsTheWaitingOnes)
{
    FakeResource* running = AddFake(parent, "Data/running.png");
    FakeResource* waiting = AddFake(parent, "Data/waiting.png");
    FakeResource* askedByLoad = AddFake(parent, "Data/asked.png");
    DataStore* store = new DataStore(&parent);
    // Like a model's materials: a request from the loader thread, here made
    // after the stop has queued its quit record.
    running->duringLoad = [store] { store->GetResource("Data/asked.png", true); };
    StopWhileLoading(store, running, waiting);
    EXPECT_TRUE(running->IsReady());
    EXPECT_EQ(1, running->finishes);
    EXPECT_FALSE(waiting->IsQueued());
    EXPECT_FALSE(askedByLoad->IsQueued());
    EXPECT_EQ(0, waiting->loads);

    parent.GetResource("Data/waiting.png", true);
    parent.GetResource("Data/asked.png", true);
    ASSERT_TRUE(ProcessUntil(parent, [&] { return waiting->IsReady() && askedByLoad->IsReady(); }));
}

// A load still running when its store stops ends at its next part, without
// a word, so the thread ends and is not killed.
TEST_F(ResourceLoaderTest, ALoadRunningAtTheStopEndsBeforeItsNextPart)
{
    const TempDirectory directory;
    WriteTextFile("Data/long.xml", "<Fake><part/><part/><part/></Fake>");
    FakeResource* running = AddFake(parent, "Data/long.xml");
    running->redirect = false;
    FakeResource* waiting = AddFake(parent, "Data/waiting.png");
    const std::string printed = StopWhileLoading(new DataStore(&parent), running, waiting);
    EXPECT_EQ("", printed);
    EXPECT_TRUE(running->tags.empty());
    EXPECT_FALSE(running->IsReady());
    // Elsewhere than on a loader thread, nothing stops.
    EXPECT_NO_THROW(ResourceLoader::StopPoint());
}

TEST_F(ResourceLoaderTest, AFailureMetByTheStopIsPrintedNotThrown)
{
    FakeResource* failing = AddFake(parent, "Data/failing.png");
    failing->fails = true;
    failing->failure = "Can't load 'Data/failing.png'";
    FakeResource* behind = AddFake(parent, "Data/behind.png");
    FakeResource* last = AddFake(parent, "Data/last.png");
    const Semaphore started;
    last->started = started;
    testing::internal::CaptureStdout();
    {
        DataStore store(&parent);
        store.GetResource("Data/failing.png", true);
        store.GetResource("Data/behind.png", true);
        store.GetResource("Data/last.png", true);
        // The results of the two before it are in.
        ASSERT_TRUE(WaitFor(started));
    }
    const std::string printed = testing::internal::GetCapturedStdout();
    // By the loader thread alone.
    EXPECT_EQ(1, Count(printed, "Error: Can't load 'Data/failing.png'\n")) << printed;
    EXPECT_TRUE(behind->IsReady());
    EXPECT_TRUE(last->IsReady());
}

TEST_F(ResourceLoaderTest, AThreadThatDoesNotEndIsKilled)
{
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "AddressSanitizer loses track of the stack of a cancelled thread";
#endif
    FakeResource* stuck = AddFake(parent, "Data/stuck.png");
    FakeResource* waiting = AddFake(parent, "Data/waiting.png");
    const Semaphore started;
    const Semaphore never;
    stuck->started = started;
    stuck->gate = never;
    testing::internal::CaptureStdout();
    {
        DataStore store(&parent, 20);
        store.GetResource("Data/stuck.png", true);
        ASSERT_TRUE(WaitFor(started));
        store.GetResource("Data/waiting.png", true);
    }
    EXPECT_EQ("Killing loader thread\n", testing::internal::GetCapturedStdout());
    EXPECT_FALSE(stuck->IsReady());
    EXPECT_FALSE(waiting->IsQueued());
}

// Loads register and request resources in their store from the loader
// thread while the main thread registers and looks up in the same store.
TEST_F(ResourceLoaderTest, LoadsMayRegisterAndRequestResources)
{
    const int count = 50;
    DataStore store(&parent);
    FakeResource* model = AddFake(store, "Data/model.x");
    model->duringLoad = [&]
    {
        for (int i = 0; i < count; ++i)
            store.AddAndGet("Data/texture" + std::to_string(i) + ".png", nullptr, Fake);
    };
    store.GetResource("Data/model.x", true);
    for (int i = 0; i < count; ++i)
    {
        AddFake(store, "Data/other" + std::to_string(i) + ".png");
        store.Find("Data/texture" + std::to_string(count - 1 - i) + ".png", true);
    }
    const auto allReady = [&]
    {
        for (int i = 0; i < count; ++i)
        {
            const Resource* texture = store.Find("Data/texture" + std::to_string(i) + ".png", true);
            if (!texture || !texture->IsReady())
                return false;
        }
        return model->IsReady();
    };
    ASSERT_TRUE(ProcessUntil(store, allReady));
}
