#pragma once

#include "Engine/Matrix.h"
#include "Engine/ObjectFactoryInterface.h"
#include "Engine/Profiler.h"
#include "Engine/SimpleGameState.h"
#include "Game/Melee/Arena.h"
#include "Game/Melee/ShipModel.h"
#include "Game/Melee/Weapon.h"
#include "Graphics/DisplayList.h"

#include <memory>
#include <string>

class Camera;
class Light;
class LightSet;
class Music;
class ObjectFactory;
class Parallax;
class ShipDataList;
class SkyBox;

// The battle: two ships on the same keys in a 400 by 400 arena whose edges
// wrap, among a planet and five asteroids, seen from above by a camera that
// follows their midpoint and zooms in steps to keep both in view. It reads
// the group "MeleeData" and lasts until Escape or the window's close.
class MeleeState : public Engine::SimpleGameState
{
public:
    MeleeState(Timer* timer, VideoInterface* graph, DataStore* parentStore);
    ~MeleeState() override;

    // Reads the data, sets up the camera, lights, sky and star layer, and
    // makes the planet, the asteroids and the two ships. Throws Error.
    void Init() override;

    // The ship of the definition of that race and name, waiting to join the
    // world; throws Error when there is none, or when the interface lacks the
    // frame of its captain panel.
    Melee::ShipModel* CreateShip(int player, const std::string& race, const std::string& name);
    // The weapon of the definition's kind, or null for no definition or one
    // whose type number does not match its kind; an unknown type throws.
    std::unique_ptr<Melee::Weapon> WeaponFactory(Melee::ShipModel& ship,
                                                 const Melee::Weapon::Data* data);

    const ObjectFactoryInterface::ObjectList& GetWorld() const { return world; }
    const Math::Matrix& GetCentre() const { return centre; }
    const Melee::ZoomTable& GetZoomTable() const { return zoom; }
    const Camera* GetCamera() const { return camera; }
    const Parallax& GetStarLayer() const { return *parallax; }

protected:
    // The music, the fixed steps with their collisions, the arena.
    GameState* Update() override;
    void DrawScene() override;

private:
    void PublishShipDataList();
    void PublishEmptyModel();
    void CreateCamera();
    void MeasureZoom();
    void CreateLights();
    void CreateShips();
    void ReadCaptainUi(const Melee::ShipModel::Data& data, const std::string& frameName);
    // Centres the camera between the ships, zooms it to keep them in view and
    // moves every object's drawing to its image nearest the centre.
    void UpdateArena();
    void BuildShadowLists();
    void DrawShadows();

    static bool OnKeyDown(const SDL_Event& event, Object* data);
    static bool OnGameEvent(const SDL_Event& event, Object* data);

    Camera* camera = nullptr;
    std::unique_ptr<SkyBox> skyBox;
    std::unique_ptr<Parallax> parallax;
    std::unique_ptr<LightSet> lights;
    Light* shadowLight = nullptr;
    DisplayList shadowLists;
    Music* music = nullptr;
    ShipDataList* shipDataList = nullptr;
    Melee::ZoomTable zoom = {};
    Math::Matrix centre = Math::Matrix::Identity;
    std::unique_ptr<ObjectFactory> factory;
    ObjectFactoryInterface::ObjectList world;
    Profiler stepsProfiler;
    Profiler objectsProfiler;
    Profiler shadowProfiler;
};
