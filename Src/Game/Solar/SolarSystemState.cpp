#include "Game/Solar/SolarSystemState.h"

#include "Audio/Music.h"
#include "Engine/DataReader.h"
#include "Engine/Error.h"
#include "Engine/EventBase.h"
#include "Engine/GameEvents.h"
#include "Engine/MathUtil.h"
#include "Engine/ObjectEvent.h"
#include "Engine/PointerResource.h"
#include "Engine/Settings.h"
#include "Engine/StringEvent.h"
#include "Engine/Timer.h"
#include "Game/Objects/Object3DView.h"
#include "Game/Objects/ObjectFactory.h"
#include "Game/Objects/PlayerController.h"
#include "Game/Objects/ShipModelData.h"
#include "Game/Objects/ThrustData.h"
#include "Game/Objects/WorldStep.h"
#include "Game/Solar/Communication.h"
#include "Game/Solar/MotherShipModel.h"
#include "Game/Solar/SolarPlanetModel.h"
#include "Game/Solar/SolarSystemGenerator.h"
#include "Graphics/Camera.h"
#include "Graphics/DirectionalLight.h"
#include "Graphics/LightSet.h"
#include "Graphics/PositionalLight.h"
#include "Graphics/SkyBox.h"
#include "Ui/Root.h"

#include <GL/gl.h>
#include <cmath>
#include <cstring>

namespace
{

const int SolarSystemStateId = 2;
const int SystemSeed = 1343;
const char* const Conversation = "CommanderComm";
const char* const ConversationRace = "Velmorian";
const float CameraDistance = 70.0f;
const float SystemPitch = -60.0f;
// The planet-view ship starts this far from the centre, facing it.
const float PlanetViewStart = 20.0f;

// The flight values of every mother ship; the state sets them, and its
// exhaust, when it starts.
ShipModel::Data& MotherShip()
{
    static ShipModel::Data data("MotherShip", "", "");
    return data;
}

const char* EventName(const SDL_Event& event, const Event::EventBase*& base)
{
    base = Event::FromUserEvent(event);
    return base ? base->name.c_str() : "";
}

SolarPlanetModel* PlanetOf(const Event::EventBase* event)
{
    const auto* objectEvent = dynamic_cast<const Event::ObjectEvent*>(event);
    return objectEvent ? dynamic_cast<SolarPlanetModel*>(objectEvent->object) : nullptr;
}

MotherShipModel* ShipOf(const ControllerInterface* object)
{
    return dynamic_cast<MotherShipModel*>(object->GetModel());
}

void SetKeysEnabled(ObjectFactoryInterface::ObjectList& objects, bool enabled)
{
    for (ControllerInterface* object : objects)
    {
        if (auto* player = dynamic_cast<PlayerController*>(object))
        {
            if (enabled)
                player->GetKeyHandler().Enable();
            else
                player->GetKeyHandler().Disable();
        }
    }
}

// The heading of the mother ship among the objects; 0 without one.
float ShipHeading(const ObjectFactoryInterface::ObjectList& objects)
{
    for (const ControllerInterface* object : objects)
    {
        if (const MotherShipModel* ship = ShipOf(object))
            return ship->GetDisplayAngle();
    }
    return 0.0f;
}

} // namespace

SolarSystemState::SolarSystemState(Timer* timer, VideoInterface* graph, DataStore* parentStore)
    : SimpleGameState(timer, graph, parentStore, SolarSystemStateId)
{
    profiler.SetName("Solar");
}

// The mother ship's exhaust names a texture of this store, which goes with
// the state.
SolarSystemState::~SolarSystemState()
{
    conversation.reset();
    skyBox.reset();
    lights.reset();
    generator.reset();
    factory.reset();
    objects.splice(objects.end(), parkedObjects);
    ObjectFactoryInterface::DeleteObjects(objects);
    MotherShip().engines.clear();
}

void SolarSystemState::Init()
{
    SimpleGameState::Init();
    lua_State* const L = lua.GetState();
    lua_newtable(L);
    lua_setglobal(L, "PlayerData");
    events.AddHandler(SDL_KEYDOWN, OnKeyDown, this, false);
    events.AddHandler(SDL_USEREVENT, OnUserEvent, this, false);
    DataReader reader(&store, &events, &lua);
    reader.SetParent(uiRoot ? uiRoot->AsParent() : nullptr);
    reader.ReadFile(Settings::rootXml, "SolarSystemData");
    CreateScene();
    factory = std::make_unique<ObjectFactory>(&objects, &events, timer, &store, L);
    generator = std::make_unique<SolarSystemGenerator>(&store, factory.get(), SystemSeed);
    SetUpMotherShip();
    MotherShipModel& ship = CreateMotherShip();
    ship.SetPosition(0, -30);
    ship.SetAngle(90);
    if (Ui::Root* const root = dynamic_cast<Ui::Root*>(uiRoot.get()))
        root->RunOnLoad();
}

void SolarSystemState::OnResume()
{
    SimpleGameState::OnResume();
    if (music)
        music->Play(Music::StateFadeMs);
}

// The camera, the sun and a dim fill light, and the sky.
void SolarSystemState::CreateScene()
{
    Camera* const made = new Camera(&events, timer);
    store.Publish("Camera", new PointerResource(made, true));
    camera = made;
    ResetCamera();
    camera->Snap();

    lights = std::make_unique<LightSet>();
    lights->ambient.Set(0.1f, 0.1f, 0.1f);
    sunLight = static_cast<PositionalLight*>(
        lights->Add(std::make_unique<PositionalLight>(LightSettings(lights->GetFreeLightId())
                                                          .SetDiffuse(0.7f, 0.7f, 0.6f, 0.0f)
                                                          .SetAmbient(0.5f, 0.5f, 0.5f, 1.0f)
                                                          .SetSpecular(0.1f, 0.1f, 0.05f, 0.0f)
                                                          .SetPosition(0, 0, 0)
                                                          .Enable())));
    lights->Add(std::make_unique<DirectionalLight>(LightSettings(lights->GetFreeLightId())
                                                       .SetDiffuse(0.1f, 0.1f, 0.1f, 0.0f)
                                                       .SetPosition(-10, 1, 0)
                                                       .Enable()));
    lights->Apply();
    skyBox = std::make_unique<SkyBox>(&store, "SolarSky");
}

// A stream left by an earlier game named that game's texture; it goes.
void SolarSystemState::SetUpMotherShip()
{
    Texture* const particle = store.GetTexture("RedParticle", true);
    ShipModel::Data& data = MotherShip();
    data.mass = 0;
    data.acceleration = 0.5f;
    data.turningSpeed = 120;
    data.maxSpeed = 6;
    data.maxSpeedSquared = 36;
    data.pitchTarget = 0;
    data.rollTarget = 30;
    data.rollGains.p = 0.3f;
    auto exhaust = std::make_unique<ThrustData>(particle);
    exhaust->position = Math::Vector(-1, 0, 0);
    exhaust->size = 0.5f;
    exhaust->life = 0.2f;
    data.engines.clear();
    data.engines.push_back(std::move(exhaust));
}

MotherShipModel& SolarSystemState::CreateMotherShip()
{
    auto* const ship = new MotherShipModel(*this, MotherShip(), store);
    objects.push_back(new PlayerController(ship, new Object3DView(ship), events, &objects));
    return *ship;
}

void SolarSystemState::ResetCamera()
{
    camera->SetTarget(&Math::Matrix::Identity);
    camera->offset = Math::Matrix::Translate(0, 0, 5);
    camera->distance = CameraDistance;
    camera->pitch = SystemPitch;
    camera->yaw = 0;
}

Engine::GameState* SolarSystemState::Update()
{
    if (conversation)
    {
        UpdateConversation();
        return this;
    }
    if (onPlanet != shownOnPlanet)
    {
        if (onPlanet)
            ShowPlanetView();
        else
            ShowSystemView();
        shownOnPlanet = onPlanet;
    }
    factory->DeleteDead();
    camera->Update();
    RunSteps();
    return this;
}

// The world stands still while the conversation plays. A failing one is
// closed before its error goes on to be shown.
void SolarSystemState::UpdateConversation()
{
    bool running = false;
    try
    {
        running = conversation->Update(timer->frameMs);
    }
    catch (...)
    {
        CloseConversation();
        throw;
    }
    if (!running)
        CloseConversation();
}

void SolarSystemState::CloseConversation()
{
    conversation.reset();
    Event::Send(Event::LeaveOrbit());
}

void SolarSystemState::RunSteps()
{
    for (Uint32 step = 0; step < timer->steps; ++step)
        StepWorld(objects, *factory);
}

// The system's objects wait, deaf to the keys, while a new mother ship starts
// 20 units from the planet, facing it, with the parked ship's heading.
void SolarSystemState::ShowPlanetView()
{
    parkedObjects.splice(parkedObjects.end(), objects);
    SetKeysEnabled(parkedObjects, false);
    const float heading = ShipHeading(parkedObjects);
    const float radians = heading * Math::Pi<float> / 180;
    MotherShipModel& ship = CreateMotherShip();
    ship.SetPosition(-PlanetViewStart * std::cos(radians), -PlanetViewStart * std::sin(radians));
    ship.SetAngle(heading);
    generator->GenerateMoons(*planet);
}

// The close view's objects go; the parked ship flies on from where it
// waited, with the heading of the ship that leaves.
void SolarSystemState::ShowSystemView()
{
    const float heading = ShipHeading(objects);
    for (ControllerInterface* object : objects)
        delete object;
    objects.clear();
    for (ControllerInterface* object : parkedObjects)
    {
        if (MotherShipModel* ship = ShipOf(object))
            ship->SetAngle(heading);
    }
    SetKeysEnabled(parkedObjects, true);
    objects.splice(objects.end(), parkedObjects);
}

void SolarSystemState::DrawScene()
{
    camera->Apply();
    skyBox->Draw();
    lights->UploadPositions();
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    for (ControllerInterface* object : objects)
    {
        if (PositionView* view = object->GetView<PositionView>())
            view->Interpolate(timer->alpha);
        object->Draw();
    }
}

void SolarSystemState::OpenConversation(const std::string& /*name*/)
{
    if (conversation)
        return;
    Ui::Root* const root = dynamic_cast<Ui::Root*>(uiRoot.get());
    if (!root)
        throw Error("A conversation needs the interface");
    conversation = std::make_unique<Communication>(Conversation, &store, &events, &lua, root);
}

void SolarSystemState::EnterOrbit(SolarPlanetModel& /*planet*/)
{
    OpenConversation(ConversationRace);
}

void SolarSystemState::EnterPlanet(SolarPlanetModel& body)
{
    camera->offset = Math::Matrix::Identity;
    camera->distance = CameraDistance;
    camera->pitch = 0;
    camera->yaw = 0;
    onPlanet = 1;
    planet = &body;
}

void SolarSystemState::LeavePlanet()
{
    ResetCamera();
    onPlanet = 0;
    planet = nullptr;
}

bool SolarSystemState::OnKeyDown(const SDL_Event& event, Object* data)
{
    auto& state = static_cast<SolarSystemState&>(*data);
    if (event.key.keysym.sym == SDLK_ESCAPE)
        state.quit = true;
    return state.quit;
}

bool SolarSystemState::OnUserEvent(const SDL_Event& event, Object* data)
{
    auto& state = static_cast<SolarSystemState&>(*data);
    const Event::EventBase* base;
    const char* const name = EventName(event, base);
    if (std::strcmp(name, "ENTER_ORBIT") == 0)
    {
        if (SolarPlanetModel* const body = PlanetOf(base))
            state.EnterOrbit(*body);
    }
    else if (std::strcmp(name, "ENTER_PLANET") == 0)
    {
        if (SolarPlanetModel* const body = PlanetOf(base))
            state.EnterPlanet(*body);
    }
    else if (std::strcmp(name, "LEAVE_PLANET") == 0)
    {
        state.LeavePlanet();
    }
    else if (std::strcmp(name, "OPEN_CONVERSATION") == 0)
    {
        if (const auto* text = dynamic_cast<const Event::StringEvent*>(base))
            state.OpenConversation(text->value);
    }
    return false;
}
