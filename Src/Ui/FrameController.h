#pragma once

#include "Engine/ControllerInterface.h"
#include "Ui/EventHandlerInterface.h"

#include <string>
#include <vector>

class EventDispatcher;

namespace Ui
{

class FrameModel;
class FrameView;

// One frame of the interface tree: its model, its one view, its children
// (document order, which is also drawing order) and its input handlers. It
// owns all of them.
class FrameController : public ControllerInterface
{
public:
    // Anchors the model to the parent (null for the root) and binds the
    // frame's table to the controller: "__this" and the frame methods. The
    // parent is not told: the builder adds the child afterwards.
    FrameController(FrameModel* model, FrameView* view, EventDispatcher* events,
                    FrameController* parent);
    // Deletes the children from the last to the first, then the handlers
    // from the last to the first, then the view and the model.
    ~FrameController() override;

    // The model's step and each child's, children first, then "OnUpdate";
    // nothing for a hidden frame.
    void Update() override;
    // The view (laid out) and each child, in pre-order; nothing for a hidden
    // frame.
    void Draw() override;

    // The names "OnLoad", "OnUpdate", "OnHide" and "OnShow" set the model's
    // scripts; every other name is offered to all handlers. Returns whether
    // anyone took it.
    bool SetScript(const std::string& name, const char* code);
    // The model's script, or the first handler's of that name; null when no
    // one has it.
    const std::string* GetScript(const std::string& name) const;
    // "OnLoad" of the frame, then of each child, hidden frames included.
    virtual void RunOnLoad();

    void AddChild(FrameController* child);
    // Takes the child out of the tree and deletes it with its subtree; frames
    // anchored into the subtree are anchored to this frame instead.
    void DeleteChild(FrameController* child);
    // DeleteChild of every child, from the last to the first.
    void DeleteChildren();

    void AddHandler(EventHandlerInterface* handler);
    // The first handler of the type, or null.
    EventHandlerInterface* GetHandler(HandlerType type) const;
    // Deletes every handler of the type; the others keep their order.
    void RemoveHandlers(HandlerType type);

    // Depth-first, pre-order search by exact full name; null when none.
    FrameController* FindFrame(const std::string& name);
    const FrameController* FindFrame(const std::string& name) const;

    FrameModel& GetFrameModel() const;
    FrameController* GetParent() const { return parent; }
    const std::vector<FrameController*>& GetChildren() const { return children; }
    EventDispatcher& GetEvents() const { return *events; }

private:
    // Whether the frame is this one or in its subtree.
    bool Contains(const ControllerInterface* frame) const;
    void Reanchor(const FrameController* gone, FrameController* anchor);

    EventDispatcher* const events;
    FrameController* const parent;
    std::vector<FrameController*> children;
    std::vector<EventHandlerInterface*> handlers;
};

} // namespace Ui
