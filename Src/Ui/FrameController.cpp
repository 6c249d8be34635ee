#include "Ui/FrameController.h"

#include "Engine/LuaState.h"
#include "Ui/FrameMethods.h"
#include "Ui/FrameModel.h"
#include "Ui/FrameView.h"

#include <algorithm>
#include <utility>

namespace Ui
{

FrameController::FrameController(FrameModel* model, FrameView* view, EventDispatcher* events,
                                 FrameController* parent)
    : ControllerInterface(model, view), events(events), parent(parent)
{
    model->relativeTo = parent;
    AddFrameMethods(*model);
    model->PushTable();
    model->GetLua()->SetThis(this);
    lua_pop(model->GetLua()->GetState(), 1);
}

FrameController::~FrameController()
{
    while (!children.empty())
    {
        delete children.back();
        children.pop_back();
    }
    while (!handlers.empty())
    {
        delete handlers.back();
        handlers.pop_back();
    }
}

void FrameController::Update()
{
    FrameModel& frame = GetFrameModel();
    if (!frame.visible)
        return;
    ControllerInterface::Update();
    for (FrameController* child : children)
        child->Update();
    frame.RunScript(frame.onUpdate);
}

void FrameController::Draw()
{
    if (!GetFrameModel().visible)
        return;
    ControllerInterface::Draw();
    for (FrameController* child : children)
        child->Draw();
}

bool FrameController::SetScript(const std::string& name, const char* code)
{
    if (std::string* const script = GetFrameModel().FindScript(name))
    {
        *script = code;
        return true;
    }
    bool taken = false;
    for (EventHandlerInterface* handler : handlers)
        taken = handler->SetScript(name, code) || taken;
    return taken;
}

const std::string* FrameController::GetScript(const std::string& name) const
{
    if (const std::string* const script = std::as_const(GetFrameModel()).FindScript(name))
        return script;
    for (const EventHandlerInterface* handler : handlers)
    {
        if (const std::string* const script = handler->GetScript(name))
            return script;
    }
    return nullptr;
}

void FrameController::RunOnLoad()
{
    FrameModel& frame = GetFrameModel();
    frame.RunScript(frame.onLoad);
    for (FrameController* child : children)
        child->RunOnLoad();
}

void FrameController::AddChild(FrameController* child)
{
    children.push_back(child);
}

void FrameController::DeleteChild(FrameController* child)
{
    const std::vector<FrameController*>::iterator found =
        std::find(children.begin(), children.end(), child);
    if (found == children.end())
        return;
    children.erase(found);
    FrameController* top = this;
    while (top->parent)
        top = top->parent;
    top->Reanchor(child, this);
    delete child;
}

void FrameController::DeleteChildren()
{
    while (!children.empty())
        DeleteChild(children.back());
}

// Points every frame of this subtree that is anchored into the gone subtree
// at the anchor.
void FrameController::Reanchor(const FrameController* gone, FrameController* anchor)
{
    FrameModel& frame = GetFrameModel();
    if (frame.relativeTo && gone->Contains(frame.relativeTo))
        frame.relativeTo = anchor;
    for (FrameController* child : children)
        child->Reanchor(gone, anchor);
}

bool FrameController::Contains(const ControllerInterface* frame) const
{
    if (frame == this)
        return true;
    for (const FrameController* child : children)
    {
        if (child->Contains(frame))
            return true;
    }
    return false;
}

void FrameController::AddHandler(EventHandlerInterface* handler)
{
    handlers.push_back(handler);
}

EventHandlerInterface* FrameController::GetHandler(HandlerType type) const
{
    for (EventHandlerInterface* handler : handlers)
    {
        if (handler->GetType() == type)
            return handler;
    }
    return nullptr;
}

void FrameController::RemoveHandlers(HandlerType type)
{
    std::vector<EventHandlerInterface*> kept;
    for (EventHandlerInterface* handler : handlers)
    {
        if (handler->GetType() == type)
            delete handler;
        else
            kept.push_back(handler);
    }
    handlers.swap(kept);
}

FrameController* FrameController::FindFrame(const std::string& name)
{
    return const_cast<FrameController*>(std::as_const(*this).FindFrame(name));
}

const FrameController* FrameController::FindFrame(const std::string& name) const
{
    if (GetFrameModel().GetName() == name)
        return this;
    for (const FrameController* child : children)
    {
        if (const FrameController* const found = child->FindFrame(name))
            return found;
    }
    return nullptr;
}

FrameModel& FrameController::GetFrameModel() const
{
    return *static_cast<FrameModel*>(model);
}

} // namespace Ui
