#include "Engine/EventDispatcher.h"

#include "Engine/Error.h"
#include "Engine/EventSubscription.h"
#include "Engine/MouseHandler.h"
#include "Support/SdlEventQueue.h"

#include <memory>
#include <string>
#include <vector>

namespace
{

// A handler that writes its name into a shared log and consumes as told. It
// may also remove a handler (itself or another) when it is called.
struct Recorder : Object
{
    Recorder(std::string& log, char name, bool consumes = false)
        : log(log), name(name), consumes(consumes)
    {
    }

    static bool OnEvent(const SDL_Event&, Object* data)
    {
        Recorder* const self = static_cast<Recorder*>(data);
        self->log += self->name;
        if (self->removes)
            self->dispatcher->RemoveHandler(SDL_KEYDOWN, OnEvent, self->removes);
        return self->consumes;
    }

    std::string& log;
    const char name;
    const bool consumes;
    EventDispatcher* dispatcher = nullptr;
    Recorder* removes = nullptr;
};

void PushKey(Uint8 type = SDL_KEYDOWN)
{
    SDL_Event event = {};
    event.type = type;
    event.key.type = type;
    event.key.keysym.sym = SDLK_a;
    ASSERT_EQ(0, SDL_PushEvent(&event));
}

class EventDispatcherTest : public SdlEventQueueTest
{
protected:
    // Registers a..z in order for key-down events; `first` names those put at
    // the front, `consumers` those that consume.
    void Register(const std::string& names, const std::string& first = "",
                  const std::string& consumers = "")
    {
        for (const char name : names)
        {
            recorders.push_back(
                std::make_unique<Recorder>(log, name, consumers.find(name) != std::string::npos));
            recorders.back()->dispatcher = &dispatcher;
            dispatcher.AddHandler(SDL_KEYDOWN, Recorder::OnEvent, recorders.back().get(),
                                  first.find(name) != std::string::npos);
        }
    }

    Recorder& Get(char name) { return *recorders[name - 'a']; }

    std::string Deliver()
    {
        log.clear();
        PushKey();
        dispatcher.Poll();
        return log;
    }

    EventDispatcher dispatcher;
    std::string log;
    std::vector<std::unique_ptr<Recorder>> recorders;
};

TEST_F(EventDispatcherTest, OffersEventsInListOrderUntilOneConsumes)
{
    struct Case
    {
        const char* names;
        const char* first;
        const char* consumers;
        const char* delivered;
    };
    const Case cases[] = {
        {"abc", "", "", "abc"},   // back registrations keep their order
        {"abc", "c", "", "cab"},  // first goes before everything earlier
        {"abc", "bc", "", "cba"}, // each front registration goes before the last
        {"abc", "", "a", "a"},    // the first consumer ends the delivery
        {"abc", "", "b", "ab"},
        {"abc", "c", "c", "c"}, // a front consumer hides the handlers behind it
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.names) + " first " + c.first + " consumers " + c.consumers);
        dispatcher.ClearHandlers();
        recorders.clear();
        Register(c.names, c.first, c.consumers);
        EXPECT_EQ(c.delivered, Deliver());
    }
}

TEST_F(EventDispatcherTest, HandlersSeeOnlyTheirType)
{
    Register("a");
    log.clear();
    PushKey(SDL_KEYUP);
    dispatcher.Poll();
    EXPECT_EQ("", log);
}

TEST_F(EventDispatcherTest, RemoveTakesEveryRegistrationOfTheCallbackWithTheData)
{
    Register("ab");
    dispatcher.AddHandler(SDL_KEYDOWN, Recorder::OnEvent, &Get('a'), false);
    ASSERT_EQ("aba", Deliver());

    dispatcher.RemoveHandler(SDL_KEYDOWN, Recorder::OnEvent, &Get('a'));
    EXPECT_EQ("b", Deliver());
    dispatcher.ClearHandlers();
    EXPECT_EQ("", Deliver());
}

TEST_F(EventDispatcherTest, TypesOutsideTheTableAreIgnored)
{
    Register("a");
    for (const int type : {-1, 0, int(SDL_NUMEVENTS), 255, 1000})
    {
        dispatcher.AddHandler(type, Recorder::OnEvent, &Get('a'), true);
        dispatcher.RemoveHandler(type, Recorder::OnEvent, &Get('a'));
    }
    EXPECT_EQ("a", Deliver());
}

TEST_F(EventDispatcherTest, HandlersRemovedDuringDeliveryAreOfferedNothingMore)
{
    struct Case
    {
        const char* what;
        char remover;
        char removed;
        const char* first;
        const char* second;
    };
    const Case cases[] = {
        {"itself", 'b', 'b', "abc", "ac"},
        {"a later handler", 'a', 'b', "ac", "ac"},
        {"an earlier handler", 'b', 'a', "abc", "bc"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        dispatcher.ClearHandlers();
        recorders.clear();
        Register("abc");
        Get(c.remover).removes = &Get(c.removed);
        EXPECT_EQ(c.first, Deliver());
        Get(c.remover).removes = nullptr;
        EXPECT_EQ(c.second, Deliver());
    }
}

TEST_F(EventDispatcherTest, AHandlerThatThrowsLeavesTheDispatcherUsable)
{
    struct Thrower : Object
    {
        static bool OnEvent(const SDL_Event&, Object* data)
        {
            Thrower* const self = static_cast<Thrower*>(data);
            self->dispatcher->RemoveHandler(SDL_KEYDOWN, OnEvent, self);
            throw Error("script failed");
        }
        EventDispatcher* dispatcher;
    } thrower;
    thrower.dispatcher = &dispatcher;
    dispatcher.AddHandler(SDL_KEYDOWN, Thrower::OnEvent, &thrower, true);
    Register("a");

    PushKey();
    PushKey();
    EXPECT_THROW(dispatcher.Poll(), Error);
    // The second event is still queued; the thrower removed itself.
    log.clear();
    dispatcher.Poll();
    EXPECT_EQ("a", log);
}

TEST_F(EventDispatcherTest, EventsPushedDuringAPollArriveInTheSamePoll)
{
    struct Pusher : Object
    {
        static bool OnEvent(const SDL_Event& event, Object* data)
        {
            Pusher* const self = static_cast<Pusher*>(data);
            self->log += event.type == SDL_KEYDOWN ? 'd' : 'u';
            if (event.type == SDL_KEYDOWN)
                PushKey(SDL_KEYUP);
            return true;
        }
        std::string log;
    } pusher;
    dispatcher.AddHandler(SDL_KEYDOWN, Pusher::OnEvent, &pusher, false);
    dispatcher.AddHandler(SDL_KEYUP, Pusher::OnEvent, &pusher, false);
    PushKey();
    dispatcher.Poll();
    EXPECT_EQ("du", pusher.log);
}

TEST_F(EventDispatcherTest, ASubscriptionRegistersOnceAndLeavesWithItsOwner)
{
    Register("a");
    Recorder subscriber(log, 's');
    {
        EventSubscription subscription(dispatcher, SDL_KEYDOWN, Recorder::OnEvent, &subscriber);
        EXPECT_EQ("a", Deliver());
        subscription.Subscribe();
        subscription.Subscribe();
        EXPECT_EQ("as", Deliver());
        subscription.Unsubscribe();
        EXPECT_EQ("a", Deliver());
        subscription.Subscribe();
    }
    EXPECT_EQ("a", Deliver());
}

TEST_F(EventDispatcherTest, TheMouseHandlerKeepsThePointerAndConsumesMotion)
{
    MouseHandler mouse(dispatcher);
    Recorder behind(log, 'z');
    dispatcher.AddHandler(SDL_MOUSEMOTION, Recorder::OnEvent, &behind, false);

    SDL_Event event = {};
    event.type = SDL_MOUSEMOTION;
    event.motion.x = 120;
    event.motion.y = 45;
    ASSERT_EQ(0, SDL_PushEvent(&event));
    dispatcher.Poll();
    EXPECT_EQ(120, mouse.x);
    EXPECT_EQ(45, mouse.y);
    EXPECT_EQ("", log);
}

} // namespace
