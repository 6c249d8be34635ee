#include "Support/FuzzReaders.h"

#include "Audio/AudioKinds.h"
#include "Engine/Error.h"
#include "Engine/ResourceType.h"
#include "Graphics/Graph.h"
#include "Graphics/GraphicsKinds.h"
#include "Support/FuzzInput.h"
#include "Ui/RegisterInterface.h"

#include <SDL.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <thread>

namespace
{

struct SharedResource
{
    const char* path;
    const char* alias;
    int type;
};

// No image and no TrueType file exists, so every load fails; the bitmap
// font's definition exists, since the font reads it when it is registered.
const SharedResource SharedResources[] = {
    {"Data/Fonts/Font.xml", "Font", ResourceType::Font},
    {"Data/Fonts/Font.xml", "SmallFont", ResourceType::Font},
    {"Data/Fonts/Font.xml", "TitleFont", ResourceType::Font},
    {"Data/Fonts/Sans16.xml", "Arial16", ResourceType::TTFFont},
    {"Data/Textures/Solid.png", "Solid", ResourceType::Texture},
    {"Data/Textures/Other.png", "Other", ResourceType::Texture},
    {"Data/Textures/Nebula.png", "Nebula", ResourceType::Texture},
    {"Data/Textures/Stars.png", "Stars", ResourceType::Texture},
    {"Data/Textures/Button.png", "Button", ResourceType::Texture},
    {"Data/Textures/Panel.png", "Panel", ResourceType::Texture},
};

Graph& Screen()
{
    static Graph graph;
    return graph;
}

DataStore& SharedStore()
{
    static DataStore store(nullptr);
    return store;
}

// Requests every shared resource and waits until each load has failed.
void FailSharedLoads()
{
    DataStore& store = SharedStore();
    int pending = 0;
    for (const SharedResource& resource : SharedResources)
    {
        store.AddResource(resource.path, resource.alias, resource.type);
        if (!store.Find(resource.alias, true)->IsQueued())
            ++pending;
        store.GetResource(resource.alias, true);
    }
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (pending > 0 && std::chrono::steady_clock::now() < end)
    {
        try
        {
            store.ProcessLoaded();
            SDL_Delay(1);
        }
        catch (const std::exception&)
        {
            --pending;
        }
    }
    if (pending > 0)
    {
        std::fprintf(stderr, "The shared resources did not fail to load in time\n");
        std::exit(1);
    }
}

// The store of the inputs.
DataStore& InputStore()
{
    static DataStore store(&SharedStore());
    return store;
}

// The loader thread runs the loads in the order they were asked for, so this
// one, asked for last, has finished when every load of the input has.
class LastLoad : public Resource
{
public:
    LastLoad() : Resource("<LastLoad>") {}
    void Load() override {}
};

// Waits until every load the input asked for has finished. The readers ask
// for no model, whose load would ask for more from the loader thread.
void EndLoads(DataStore& store)
{
    LastLoad* const last = new LastLoad;
    // The input may have taken the name.
    std::string name = last->GetPath();
    while (!store.AddExisting(name, nullptr, last))
        name += '>';
    store.GetResource(name, true);
    while (!last->IsReady())
    {
        try
        {
            store.ProcessLoaded();
        }
        catch (const std::exception&)
        {
            // An input's load that failed, as the store's stop takes it.
        }
        std::this_thread::yield();
    }
}

} // namespace

void FuzzReaders::Start(int argc, char** argv)
{
    StartFuzzTarget(argc, argv, "ReaderFiles");
    RegisterGraphicsKinds();
    RegisterAudioKinds();
    Ui::RegisterInterface();
    Screen().width = 640;
    Screen().height = 480;
    FailSharedLoads();
}

FuzzReaders::FuzzReaders(const std::string& file, const std::uint8_t* data, std::size_t size)
    : emptiedAtEnd{InputStore()}, store(emptiedAtEnd.store),
      root(Ui::Root::Create(Screen(), events, lua))
{
    WriteInput(file, data, size);
}

FuzzReaders::~FuzzReaders()
{
    root.reset();
}

FuzzReaders::EmptiedAtEnd::~EmptiedAtEnd()
{
    EndLoads(store);
    store.Clear();
}

void FuzzReaders::Read(const std::function<void()>& read)
{
    try
    {
        read();
    }
    catch (const Error&)
    {
        // Reported as a game state reports it; any other exception escapes.
    }
    FuzzCheck(lua_gettop(lua.GetState()) == 0, "reading leaves the Lua stack as it was");
}
