#pragma once

#include "Engine/EventDispatcher.h"
#include "Engine/LuaState.h"
#include "Graphics/Graph.h"
#include "Support/SdlEventQueue.h"
#include "Ui/FrameController.h"
#include "Ui/FrameModel.h"
#include "Ui/FrameView.h"
#include "Ui/Root.h"

#include <memory>
#include <string>

// An interface root over a 640 by 480 screen, with the Lua state and the
// dispatcher of a game state, and SDL's event queue started and emptied.
class UiTest : public SdlEventQueueTest
{
protected:
    UiTest()
    {
        graph.width = 640;
        graph.height = 480;
        root = Ui::Root::Create(graph, events, lua);
    }

    // A plain frame, the last child of the parent (the root when null).
    Ui::FrameController* AddFrame(const std::string& name, Ui::FrameController* parent = nullptr)
    {
        if (!parent)
            parent = root.get();
        Ui::FrameModel* const model = new Ui::FrameModel(name, &lua);
        Ui::FrameController* const frame =
            new Ui::FrameController(model, new Ui::FrameView(model), &events, parent);
        parent->AddChild(frame);
        return frame;
    }

    // Lays out the whole tree as a drawn frame does; plain frames touch no
    // OpenGL.
    void LayOut()
    {
        for (Ui::FrameController* child : root->GetChildren())
            child->Draw();
    }

    static Ui::FrameModel& Model(Ui::FrameController* frame) { return frame->GetFrameModel(); }
    static const Ui::FrameView& View(Ui::FrameController* frame)
    {
        return *frame->GetView<Ui::FrameView>();
    }

    Graph graph;
    LuaState lua;
    EventDispatcher events;
    // Goes before the Lua state and the dispatcher, as in a game state.
    std::unique_ptr<Ui::Root> root;
};
