#pragma once

#include "Engine/Object.h"

#include <list>
#include <string>
#include <vector>

class LuaState;
struct lua_State;

// A named timer on the high-resolution clock. Profilers form a tree that
// follows the nesting of the work: a profiler started while another runs
// becomes that one's child, and a profiler's time includes its children's.
// Each tick one node of the tree (the viewed node) is published to Lua as the
// global table "Profiler"; scripts move the view with Open and Close.
class Profiler : public Object
{
public:
    // Times a block: starts the profiler now and stops it at the end of the
    // guard's life.
    class Scope
    {
    public:
        explicit Scope(Profiler& profiler) : profiler(profiler) { profiler.Start(); }
        ~Scope() { profiler.Stop(); }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        Profiler& profiler;
    };

    // Seconds since an arbitrary origin.
    using Clock = double (*)();

    explicit Profiler(const std::string& name);
    // Its children become roots; views on it return to their own profiler.
    ~Profiler() override;
    Profiler(const Profiler&) = delete;
    Profiler& operator=(const Profiler&) = delete;

    const std::string& GetName() const { return name; }
    void SetName(const std::string& newName) { name = newName; }
    Profiler* GetParent() const { return parent; }
    const std::list<Profiler*>& GetChildren() const { return children; }
    // Seconds measured in the current period and in the previous one.
    double GetTime() const { return time; }
    double GetLastTime() const { return lastTime; }
    // True while the list of children changed since its names were published.
    bool NamesDirty() const { return namesDirty; }

    // Moves the child from its old parent to the end of this one's children.
    void AddChild(Profiler* child);
    void Detach();

    // Every start must be matched by a stop, in reverse order of the starts.
    void Start();
    void Stop();

    // Ends the period of this subtree: the time becomes the last time.
    void ResetTimes();

    // Creates the global table "Profiler" bound to this profiler.
    void RegisterLua(LuaState& lua);
    // Unless hidden: publishes the viewed node's times (and its child names
    // when they changed), then resets the times of the whole tree.
    void UpdateLua(LuaState& lua);
    // Publishes the viewed node's name, new tables of its children's shares
    // and names, and runs the script hook "Profiler_UpdateNames" when a script
    // defined it.
    void PublishNames(LuaState& lua);
    // Marks the names dirty and stores the viewed node's child names, by index
    // from 0, into the table on top of the Lua stack, which then lists no
    // more than those.
    void PushChildNames(LuaState& lua);

    // Writes the subtree with its last times to standard output.
    void Print(int indent) const;

    // Replaces the clock that Start and Stop read (GetPreciseTime at first);
    // returns the one it replaced.
    static Clock SetClock(Clock clock);

    // While set, UpdateLua does nothing; nothing in the game sets it.
    bool hidden = false;

private:
    Profiler* Root();
    void SetViewed(Profiler* node);
    void View(Profiler* node, lua_State* L);
    void StoreTimes(LuaState& lua) const;
    void NamesPublished(LuaState& lua);
    static int LuaOpen(lua_State* L);
    static int LuaClose(lua_State* L);

    std::string name;
    Profiler* parent = nullptr;
    std::list<Profiler*> children;
    Profiler* viewed = this;
    // The profilers whose view is this one.
    std::vector<Profiler*> viewers;
    bool namesDirty = true;
    double lastTime = 0;
    double time = 0;
    double startTime = 0;
    int depth = 0;
    // The next profiler out on the running list, while this one runs.
    Profiler* outer = nullptr;
};
