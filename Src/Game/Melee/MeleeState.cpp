#include "Game/Melee/MeleeState.h"

#include "Audio/Music.h"
#include "Engine/ControllerInterface.h"
#include "Engine/DataReader.h"
#include "Engine/Error.h"
#include "Engine/PointerResource.h"
#include "Engine/Settings.h"
#include "Engine/StringUtil.h"
#include "Engine/Timer.h"
#include "Engine/ViewInterface.h"
#include "Game/Melee/LaserWeapon.h"
#include "Game/Melee/LaserWeaponData.h"
#include "Game/Melee/Parallax.h"
#include "Game/Melee/ProjectileWeapon.h"
#include "Game/Melee/ProjectileWeaponData.h"
#include "Game/Melee/ShipModelData.h"
#include "Game/Objects/Object3DView.h"
#include "Game/Objects/ObjectFactory.h"
#include "Game/Objects/ObjectKinds.h"
#include "Game/Objects/PositionView.h"
#include "Game/Objects/ShipDataList.h"
#include "Game/Objects/WorldStep.h"
#include "Graphics/Camera.h"
#include "Graphics/DirectionalLight.h"
#include "Graphics/Graph.h"
#include "Graphics/LightSet.h"
#include "Graphics/LightSettings.h"
#include "Graphics/Model3D/Model.h"
#include "Graphics/SkyBox.h"
#include "Ui/Root.h"
#include "Ui/UiDataReader.h"

#include <tinyxml.h>

#include <GL/gl.h>
#include <vector>

namespace
{

const int MeleeStateId = 3;
const float StartDistance = 20;
const float SingleShipDistance = 9;
const char* const ShipRace = "Velmorian";
const char* const ShipName = "Cruiser";

const int AsteroidCount = 5;

// Both ships start here, 5 units apart, heading the same way.
struct Start
{
    float x, y, angle;
};
const Start ShipStarts[] = {{140, 15, 35}, {135, 15, 35}};

// The point where the pick ray under the window point meets the arena plane.
Math::Vector OnArenaPlane(const Graph& graph, int x, int y)
{
    Math::Vector a;
    Math::Vector b;
    graph.UnProject(x, y, a, b);
    return a + (b - a) * (a[2] / (a[2] - b[2]));
}

Math::Vector Translation(const Math::Matrix& transform)
{
    return Math::Vector(transform[12], transform[13], transform[14]);
}

} // namespace

MeleeState::MeleeState(Timer* timer, VideoInterface* graph, DataStore* parentStore)
    : SimpleGameState(timer, graph, parentStore, MeleeStateId), shadowLists(2),
      stepsProfiler("Objects"), objectsProfiler("Objects"), shadowProfiler("Shadow")
{
    profiler.SetName("Melee");
    tickProfiler.AddChild(&stepsProfiler);
    drawProfiler.AddChild(&objectsProfiler);
    drawProfiler.AddChild(&shadowProfiler);
}

// The factory first lets its waiting objects into the world and deletes its
// dead ones; the world's objects go from the front.
MeleeState::~MeleeState()
{
    skyBox.reset();
    parallax.reset();
    lights.reset();
    factory.reset();
    while (!world.empty())
    {
        delete world.front();
        world.pop_front();
    }
}

void MeleeState::Init()
{
    SimpleGameState::Init();
    events.AddHandler(SDL_KEYDOWN, OnKeyDown, this, false);
    events.AddHandler(SDL_USEREVENT, OnGameEvent, this, false);
    Ui::Root* const root = dynamic_cast<Ui::Root*>(uiRoot.get());
    DataReader reader(&store, &events, &lua);
    reader.SetParent(uiRoot ? uiRoot->AsParent() : nullptr);
    PublishShipDataList();
    reader.ReadFile(Settings::rootXml, "MeleeData");
    if (shipDataList->GetRecords().empty())
        throw Error("Internal error, ShipDataList is empty, no ships are loaded!");
    PublishEmptyModel();
    CreateCamera();
    CreateLights();
    skyBox = std::make_unique<SkyBox>(&store, "Stars");
    // Reseeds the random numbers that the asteroids draw from next.
    parallax = std::make_unique<Parallax>(store);
    factory = std::make_unique<ObjectFactory>(&world, &events, timer, &store, lua.GetState());
    ObjectFactoryInterface::CreateObject(WorldObject::BattlePlanet);
    for (int i = 0; i < AsteroidCount; ++i)
        ObjectFactoryInterface::CreateObject(WorldObject::Asteroid);
    CreateShips();
    UpdateArena();
    music = store.GetMusic("Game music", true);
    BuildShadowLists();
    store.GetAnimatedTexture("Explosion", true);
    if (root)
        root->RunOnLoad();
}

void MeleeState::PublishShipDataList()
{
    ShipDataList* const list = new ShipDataList;
    store.Publish("ShipDataList", new PointerResource(list, true));
    shipDataList = list;
}

// The mesh of the lasers' invisible shots.
void MeleeState::PublishEmptyModel()
{
    store.Publish("Empty3DModel", Model::MakeEmpty("Empty3DModel"));
}

void MeleeState::CreateCamera()
{
    Camera* const made = new Camera(&events, timer);
    store.Publish("Camera", new PointerResource(made, true));
    camera = made;
    camera->distance = StartDistance;
    camera->SetTarget(&centre);
    camera->Snap();
    MeasureZoom();
    camera->distance = StartDistance;
    camera->Snap();
}

// Each step holds the square of the half height of the arena plane that the
// window shows from straight above at the step's distance.
void MeleeState::MeasureZoom()
{
    const Graph* const video = dynamic_cast<const Graph*>(graph);
    for (std::size_t i = 0; i < zoom.size(); ++i)
    {
        camera->distance = Melee::ZoomDistances[i];
        camera->Snap();
        camera->Apply();
        float reachSquared = 0;
        if (video)
        {
            const int x = video->width / 2;
            const float top = OnArenaPlane(*video, x, 0)[1];
            const float middle = OnArenaPlane(*video, x, video->height / 2)[1];
            reachSquared = (top - middle) * (top - middle);
        }
        zoom[i] = {reachSquared, Melee::ZoomDistances[i]};
    }
}

void MeleeState::CreateLights()
{
    lights = std::make_unique<LightSet>();
    lights->ambient.Set(0.1f, 0.1f, 0.1f);
    LightSettings shadow(lights->GetFreeLightId());
    shadow.SetAmbient(0.3f, 0.3f, 0.35f, 1.0f)
        .SetDiffuse(1.0f, 1.0f, 0.98f, 0)
        .SetSpecular(0.7f, 0.7f, 0.6f, 0)
        .SetPosition(5.0f, -5.0f, 2.5f)
        .Enable();
    shadowLight = lights->Add(std::make_unique<DirectionalLight>(shadow));
    LightSettings fill(lights->GetFreeLightId());
    fill.SetDiffuse(0.5f, 0.5f, 0.5f, 0).SetPosition(-10.0f, 1.0f, 0).Enable();
    lights->Add(std::make_unique<DirectionalLight>(fill));
    lights->Apply();
}

void MeleeState::CreateShips()
{
    lua_newtable(lua.GetState());
    lua_setglobal(lua.GetState(), "ShipData");
    for (int player = 1; player <= 2; ++player)
    {
        const Start& start = ShipStarts[player - 1];
        Melee::ShipModel* const ship = CreateShip(player, ShipRace, ShipName);
        ship->SetPosition(start.x, start.y);
        ship->SetAngle(start.angle);
    }
}

Melee::ShipModel* MeleeState::CreateShip(int player, const std::string& race,
                                         const std::string& name)
{
    const Melee::ShipModel::Data* const data = shipDataList->Find(race, name);
    if (!data)
        throw Error("Ship data not found!");
    const std::string frameName = "ShipWindow" + ToString(player) + "Captain";
    if (data->captainUi)
        ReadCaptainUi(*data, frameName);
    auto ship = std::make_unique<Melee::ShipModel>(*data, store, lua, player, frameName);
    std::unique_ptr<Melee::Weapon> primary = WeaponFactory(*ship, data->primaryWeapon.get());
    ship->SetWeapons(std::move(primary), WeaponFactory(*ship, data->secondaryWeapon.get()));
    std::unique_ptr<ViewInterface> view(
        ObjectFactoryInterface::CreateView(ViewKind::Ship, ship.get()));
    ControllerInterface* const controller =
        ObjectFactoryInterface::CreateController(ControllerKind::Player, ship.get(), view.get());
    view.release();
    Melee::ShipModel* const model = ship.release();
    ObjectFactoryInterface::AddPending(controller);
    return model;
}

// As if the panel's definition stood in the ship's file, so that its file
// names are relative to that file.
void MeleeState::ReadCaptainUi(const Melee::ShipModel::Data& data, const std::string& frameName)
{
    Ui::Root* const root = dynamic_cast<Ui::Root*>(uiRoot.get());
    if (!root)
        throw Error("The battle has no interface for the frame ", frameName);
    Ui::UiDataReader reader(&store, &events, &lua, Ui::UiDataReader::RequireFrame(*root, frameName));
    reader.ReadElementFromFile(data.file, data.captainUi.get());
}

std::unique_ptr<Melee::Weapon> MeleeState::WeaponFactory(Melee::ShipModel& ship,
                                                         const Melee::Weapon::Data* data)
{
    if (!data)
        return nullptr;
    switch (data->type)
    {
    case Melee::Weapon::Data::Projectile:
        if (const auto* projectile = dynamic_cast<const Melee::ProjectileWeapon::Data*>(data))
            return std::make_unique<Melee::ProjectileWeapon>(*projectile, ship, store);
        return nullptr;
    case Melee::Weapon::Data::Laser:
        if (const auto* laser = dynamic_cast<const Melee::LaserWeapon::Data*>(data))
            return std::make_unique<Melee::LaserWeapon>(*laser, ship, store);
        return nullptr;
    default:
        throw Error("WeaponFactory / Unknown weapon type!");
    }
}

Engine::GameState* MeleeState::Update()
{
    if (music && music->IsReady() && !music->IsPlaying())
        music->Play(Music::StateFadeMs);
    factory->DeleteDead();
    {
        const Profiler::Scope timed(stepsProfiler);
        for (Uint32 step = 0; step < timer->steps; ++step)
            StepWorld(world, *factory);
    }
    UpdateArena();
    camera->Update();
    parallax->Update();
    return this;
}

void MeleeState::UpdateArena()
{
    const float alpha = static_cast<float>(timer->alpha);
    std::vector<Math::Vector> ships;
    for (ControllerInterface* const object : world)
    {
        if (!dynamic_cast<ShipModel*>(object->GetModel()))
            continue;
        if (Object3DView* const view = object->GetView<Object3DView>())
        {
            view->Interpolate(alpha);
            ships.push_back(Translation(view->GetInterpolated()));
        }
    }
    if (ships.empty())
    {
        for (ControllerInterface* const object : world)
        {
            if (PositionView* const view = object->GetView<PositionView>())
                view->Interpolate(alpha);
        }
        return;
    }
    const Math::Vector middle = Melee::ArenaCentre(ships);
    centre = Math::Matrix::Translate(middle);
    camera->distance = ships.size() == 1
                           ? SingleShipDistance
                           : Melee::ChooseDistance(zoom, middle, ships, camera->distance);
    for (ControllerInterface* const object : world)
    {
        if (PositionView* const view = object->GetView<PositionView>())
        {
            view->Interpolate(alpha);
            view->offset = Melee::DrawingOffset(Translation(view->GetInterpolated()), middle);
        }
    }
}

void MeleeState::DrawScene()
{
    camera->Apply();
    skyBox->Draw();
    parallax->Draw();
    lights->UploadPositions();
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    {
        const Profiler::Scope timed(objectsProfiler);
        for (ControllerInterface* const object : world)
            object->Draw();
    }
    const Profiler::Scope timed(shadowProfiler);
    DrawShadows();
}

void MeleeState::DrawShadows()
{
    shadowLists.Call(0);
    for (ControllerInterface* const object : world)
        object->DrawShadowVolume(shadowLight);
    shadowLists.Call(1);
}

// Shadow volumes mark the stencil; every marked pixel is then darkened and
// its mark cleared.
void MeleeState::BuildShadowLists()
{
    shadowLists.Begin(0);
    glPushAttrib(GL_COLOR_BUFFER_BIT | GL_ENABLE_BIT | GL_STENCIL_BUFFER_BIT | GL_DEPTH_BUFFER_BIT |
                 GL_LIGHTING_BIT | GL_POLYGON_BIT);
    glDisable(GL_FOG);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDepthMask(GL_FALSE);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glShadeModel(GL_FLAT);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glEnable(GL_STENCIL_TEST);
    glStencilFunc(GL_ALWAYS, 1, ~0u);
    shadowLists.End();

    shadowLists.Begin(1);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glFrontFace(GL_CCW);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glStencilFunc(GL_NOTEQUAL, 0, ~0u);
    glStencilOp(GL_KEEP, GL_KEEP, GL_ZERO);
    glColor4f(0, 0, 0, 0.6f);
    glPushMatrix();
    glLoadIdentity();
    glBegin(GL_TRIANGLE_STRIP);
    glVertex3f(-0.1f, 0.1f, -0.1f);
    glVertex3f(-0.1f, -0.1f, -0.1f);
    glVertex3f(0.1f, 0.1f, -0.1f);
    glVertex3f(0.1f, -0.1f, -0.1f);
    glEnd();
    glPopMatrix();
    glPopAttrib();
    shadowLists.End();
}

bool MeleeState::OnKeyDown(const SDL_Event& event, Object* data)
{
    MeleeState* const state = static_cast<MeleeState*>(data);
    if (event.key.keysym.sym == SDLK_ESCAPE)
        state->quit = true;
    return state->quit;
}

// Game events go on to the interface and the controllers.
bool MeleeState::OnGameEvent(const SDL_Event& /*event*/, Object* /*data*/)
{
    return false;
}
