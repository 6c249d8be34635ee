#pragma once

#include "Engine/DataFile.h"
#include "Engine/DataStore.h"
#include "Engine/EventDispatcher.h"
#include "Engine/LuaState.h"
#include "Engine/ResourceType.h"
#include "Graphics/Graph.h"
#include "Graphics/GraphicsKinds.h"
#include "Support/FileMutexGuard.h"
#include "Support/SdlEventQueue.h"
#include "Support/TempDirectory.h"
#include "Ui/FrameController.h"
#include "Ui/FrameModel.h"
#include "Ui/FrameView.h"
#include "Ui/Root.h"

#include <SDL.h>
#include <chrono>
#include <exception>
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
        Ui::FrameModel* const model = new Ui::FrameModel(name, &lua);
        return Attach(model, new Ui::FrameView(model), parent);
    }

    // A frame of the model and the view, the last child of the parent (the
    // root when null).
    Ui::FrameController* Attach(Ui::FrameModel* model, Ui::FrameView* view,
                                Ui::FrameController* parent = nullptr)
    {
        if (!parent)
            parent = root.get();
        Ui::FrameController* const frame = new Ui::FrameController(model, view, &events, parent);
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

// A root whose frames read resources from a store of their own, in a
// working directory of their own: the bitmap font "Font" (every glyph 10
// pixels wide and 12 high), the textures "Solid" and "Other" and the cube
// map "Sky", all registered and none ever finished, since their images do
// not exist.
class UiResourceTest : public UiTest
{
protected:
    UiResourceTest()
    {
        std::string glyphs;
        for (const char c : std::string(" ABCW?"))
            glyphs += std::string("<Character char='") + c + "'" +
                      (c == '?' ? " default='1'" : "") +
                      "><Area x='0' y='0' w='10' h='12'/></Character>";
        WriteTextFile("Fonts/Font.xml", "<Font file='Glyphs.bmp'>" + glyphs + "</Font>");
        RegisterGraphicsKinds();
        store.AddResource("Fonts/Font.xml", "Font", ResourceType::Font);
        store.AddResource("Textures/Solid.bmp", "Solid", ResourceType::Texture);
        store.AddResource("Textures/Other.bmp", "Other", ResourceType::Texture);
        store.AddResource("Textures/Sky.xml", "Sky", ResourceType::CubeMap);
        FailLoads();
    }

    // The frames go before the resources they point to.
    ~UiResourceTest() override { root.reset(); }

    // Lets every load fail now, loudly, so that no loader thread prints while
    // a test captures the output; a failed load is never tried again.
    void FailLoads()
    {
        const char* const names[] = {"Font", "Solid", "Other", "Sky"};
        for (const char* name : names)
            store.GetResource(name, true);
        int failed = 0;
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (failed < 4 && std::chrono::steady_clock::now() < end)
        {
            try
            {
                store.ProcessLoaded();
                SDL_Delay(1);
            }
            catch (const std::exception&)
            {
                ++failed;
            }
        }
        ASSERT_EQ(4, failed);
    }

    FileMutexGuard fileMutex;
    TempDirectory directory;
    DataStore store{nullptr};
};
