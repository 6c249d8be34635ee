#pragma once

#include "Engine/Profiler.h"
#include "Engine/UiRootInterface.h"
#include "Ui/FrameController.h"

#include <memory>
#include <string>

class Graph;
class LuaState;

namespace Ui
{

class RootModel;
class RootView;
class TextView;

// The root of a game state's interface: the frame "UiRoot" over the whole
// screen. It owns the tree, runs the update pass once per fixed step and
// draws the interface over the scene in one orthographic pass.
class Root : public FrameController, public UiRootInterface
{
public:
    // A root over the graph's screen; the caller owns it.
    static std::unique_ptr<Root> Create(const Graph& graph, EventDispatcher& events, LuaState& lua);

    Root(RootModel* model, RootView* view, EventDispatcher* events);

    using FrameController::GetFrameModel;
    using FrameController::Update;

    // Sets "arg1" to the step length and updates the tree; nothing while the
    // root is hidden.
    void Update(float stepSeconds) override;
    // The tree in pre-order between Begin2D and End2D, which also closes the
    // pass when a widget throws; nothing while the root is hidden.
    void Draw() override;

    // The first text view of the frame of that full name, or null.
    TextView* GetTextView(const std::string& name);
    // The model of the frame of that full name, or null.
    FrameModel* GetFrameModel(const std::string& name);

    bool SetFrameText(const std::string& frame, const std::string& text) override;
    bool SetFrameVisible(const std::string& frame, bool visible) override;
    Object* AsParent() override { return this; }

private:
    Profiler updateProfiler;
    Profiler drawProfiler;
};

// The root bound to the Lua global "UiRoot"; raises the Lua error "UiRoot
// missing from lua state!" without one.
Root* GetRoot(lua_State* L);

} // namespace Ui
