#pragma once

#include "Engine/ObjectFactoryInterface.h"
#include "Engine/SimpleGameState.h"

#include <memory>

class Camera;
class Communication;
class LightSet;
class MotherShipModel;
class Music;
class ObjectFactory;
class PositionalLight;
class SkyBox;
class SolarPlanetModel;
class SolarSystemGenerator;

// The exploration: the player flies the mother ship among the planets of the
// one seeded solar system. It has two views of the same world: the system,
// with the planets on their orbits around the centre, and the close view of
// one planet with its moons. Touching a planet opens its close view, touching
// a body there enters its orbit and opens a conversation, during which the
// world stands still; flying far enough from the centre of the close view
// returns to the system. Escape returns to the menu.
class SolarSystemState : public Engine::SimpleGameState
{
public:
    // The menu passes its own store as the parent.
    SolarSystemState(Timer* timer, VideoInterface* graph, DataStore* parentStore);
    ~SolarSystemState() override;

    // Reads "SolarSystemData", builds the scene, generates the planets and
    // places the mother ship. Throws Error when the data cannot be read or
    // lacks a resource the state needs.
    void Init() override;
    // Plays the music, when the state has one, with a short fade.
    void OnResume() override;

    // 0 while the system view is asked for, 1 for a planet's close view.
    int GetOnPlanet() const { return onPlanet; }
    // The sun at the centre, the first light of the scene; null before Init.
    const PositionalLight* GetSunLight() const { return sunLight; }

protected:
    // Plays the open conversation, or else switches the view when asked and
    // runs the world's steps.
    GameState* Update() override;
    void DrawScene() override;

    // Opens the conversation "CommanderComm", whatever the name asked for;
    // nothing while one is open.
    void OpenConversation(const std::string& name);
    void EnterOrbit(SolarPlanetModel& planet);
    // The close view of the planet from the next update on.
    void EnterPlanet(SolarPlanetModel& planet);
    void LeavePlanet();

    static bool OnKeyDown(const SDL_Event& event, Object* data);
    static bool OnUserEvent(const SDL_Event& event, Object* data);

    int onPlanet = 0;
    int shownOnPlanet = 0;
    // The world, and the system's objects while a close view is shown.
    ObjectFactoryInterface::ObjectList objects;
    ObjectFactoryInterface::ObjectList parkedObjects;
    std::unique_ptr<Communication> conversation;
    // The exploration's own music; nothing gives it one yet.
    Music* music = nullptr;

private:
    void CreateScene();
    void SetUpMotherShip();
    MotherShipModel& CreateMotherShip();
    void ResetCamera();
    void UpdateConversation();
    void CloseConversation();
    void ShowPlanetView();
    void ShowSystemView();
    void RunSteps();

    // The store owns it, as "Camera".
    Camera* camera = nullptr;
    std::unique_ptr<SkyBox> skyBox;
    std::unique_ptr<LightSet> lights;
    // The first light; the set owns it.
    PositionalLight* sunLight = nullptr;
    std::unique_ptr<SolarSystemGenerator> generator;
    std::unique_ptr<ObjectFactory> factory;
    // The planet whose close view is asked for; it waits among the parked
    // objects while its view is shown.
    SolarPlanetModel* planet = nullptr;
};
