#include "Ui/Root.h"

#include "Engine/LuaState.h"
#include "Graphics/Graph.h"
#include "Ui/RootModel.h"
#include "Ui/RootView.h"
#include "Ui/TextView.h"

namespace Ui
{

namespace
{

// Keeps the orthographic pass open for its lifetime.
class Pass2D
{
public:
    explicit Pass2D(RootView& view) : view(view) { view.Begin2D(); }
    ~Pass2D() { view.End2D(); }
    Pass2D(const Pass2D&) = delete;
    Pass2D& operator=(const Pass2D&) = delete;

private:
    RootView& view;
};

} // namespace

std::unique_ptr<Root> Root::Create(const Graph& graph, EventDispatcher& events, LuaState& lua)
{
    RootModel* const model = new RootModel(graph.width, graph.height, &lua);
    return std::make_unique<Root>(model, new RootView(model), &events);
}

Root::Root(RootModel* model, RootView* view, EventDispatcher* events)
    : FrameController(model, view, events, nullptr), updateProfiler("Ui"), drawProfiler("Ui")
{
}

void Root::Update(float stepSeconds)
{
    const Profiler::Scope scope(updateProfiler);
    RootModel& model = static_cast<RootModel&>(GetFrameModel());
    if (!model.visible)
        return;
    model.SetArg1(stepSeconds);
    FrameController::Update();
}

void Root::Draw()
{
    const Profiler::Scope scope(drawProfiler);
    RootView* const view = GetView<RootView>();
    if (!GetFrameModel().visible || !view)
        return;
    const Pass2D pass(*view);
    view->Draw();
    for (FrameController* child : GetChildren())
        child->Draw();
}

TextView* Root::GetTextView(const std::string& name)
{
    FrameController* const frame = FindFrame(name);
    return frame ? frame->GetView<TextView>() : nullptr;
}

FrameModel* Root::GetFrameModel(const std::string& name)
{
    FrameController* const frame = FindFrame(name);
    return frame ? &frame->GetFrameModel() : nullptr;
}

bool Root::SetFrameText(const std::string& frame, const std::string& text)
{
    TextView* const view = GetTextView(frame);
    if (view)
        view->SetText(text);
    return view;
}

bool Root::SetFrameVisible(const std::string& frame, bool visible)
{
    FrameModel* const model = GetFrameModel(frame);
    if (model)
        model->visible = visible;
    return model;
}

Root* GetRoot(lua_State* L)
{
    lua_getglobal(L, "UiRoot");
    Root* const root = dynamic_cast<Root*>(LuaGetThis(L, -1));
    lua_pop(L, 1);
    if (!root)
        LuaError(L, "UiRoot missing from lua state!");
    return root;
}

} // namespace Ui
