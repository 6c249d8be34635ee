#include "Engine/ControllerInterface.h"
#include "Engine/DataStore.h"
#include "Engine/EventDispatcher.h"
#include "Engine/ResourceType.h"
#include "Engine/Settings.h"
#include "Engine/Timer.h"
#include "Game/Objects/AnimationView.h"
#include "Game/Objects/CollisionView.h"
#include "Game/Objects/EntityModel.h"
#include "Game/Objects/ObjectFactory.h"
#include "Game/Objects/ObjectKinds.h"
#include "Game/Objects/PositionView.h"
#include "Graphics/GraphicsKinds.h"
#include "Support/FileMutexGuard.h"
#include "Support/GlWindow.h"
#include "Support/Images.h"
#include "Support/ReadyResources.h"
#include "Support/TempDirectory.h"
#include "WorldFixture.h"

#include <GL/gl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace
{

// A view from +z down onto the arena plane, 8 pixels per unit, the origin at
// the window's centre.
const float HalfView = 8.0f;

Uint32 ColorAt(float x, float y)
{
    return ReadBackPixel(static_cast<int>((x + HalfView) / (2 * HalfView) * GlWindowWidth),
                         static_cast<int>((HalfView - y) / (2 * HalfView) * GlWindowHeight));
}

// Frame i of the explosion strip is coloured 0x200000 * (i + 1) + 0x40.
Uint32 FrameColor(int frame)
{
    return 0x200000u * (frame + 1) + 0x40u;
}

// The world of a game state over the window, with the game's generated
// models and an explosion strip of 8 frames of 0.05 s.
class WorldObjectsGlTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        OpenGlWindow();
        RegisterGraphicsKinds();
        Settings::SetDefaults();
    }

    void SetUp() override
    {
        SetTopDownView(HalfView);
        glDisable(GL_LIGHTING);
        glDisable(GL_BLEND);
        glDisable(GL_CULL_FACE);
        glEnable(GL_TEXTURE_2D);
        glEnable(GL_DEPTH_TEST);
        glDepthMask(GL_TRUE);
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glColor4f(1, 1, 1, 1);
    }

    void TearDown() override
    {
        factory.reset();
        while (!world.empty())
        {
            delete world.back();
            world.pop_back();
        }
    }

    void RegisterModels()
    {
        for (const std::string name : {"Asteroid", "Planet"})
        {
            const std::string file = name + ".3d";
            std::filesystem::copy_file(std::string(ZEV_SOURCE_DIR) + "/Data/Models/" + file, file);
            store.AddResource(file, name.c_str(), ResourceType::Model);
        }
        WriteBmp("Explosion.bmp", 128, 16, [](int x, int) { return FrameColor(x / 16); });
        WriteTextFile("Explosion.xml", "<AnimatedTexture file='Explosion.bmp'><grid x='16' y='16'/>"
                                       "<framecount value='8'/><frametime value='0.05'/>"
                                       "</AnimatedTexture>");
        store.AddResource("Explosion.xml", "Explosion", ResourceType::AnimatedTexture);
    }

    // Flushes until every object made has joined the world and the strip,
    // which nothing waits for, is ready too.
    void JoinWorld(std::size_t objects)
    {
        const Resource* const strip = store.GetAnimatedTexture("Explosion", true);
        ASSERT_TRUE(ProcessUntil(store,
                                 [&]
                                 {
                                     factory->Flush();
                                     return world.size() == objects && strip->IsReady();
                                 }));
    }

    void DrawWorld(float alpha)
    {
        for (ControllerInterface* object : world)
        {
            if (PositionView* view = object->GetView<PositionView>())
                view->Interpolate(alpha);
        }
        for (ControllerInterface* object : world)
            object->Draw();
    }

    FileMutexGuard fileMutex;
    TempDirectory directory;
    DataStore store{nullptr};
    EventDispatcher events;
    Timer timer{15};
    ObjectFactoryInterface::ObjectList world;
    std::unique_ptr<ObjectFactory> factory =
        std::make_unique<ObjectFactory>(&world, &events, &timer, &store, nullptr);
};

TEST_F(WorldObjectsGlTest, TheFactorysAsteroidPlanetAndExplosionDrawThroughTheirViews)
{
    RegisterModels();
    auto* planet = dynamic_cast<EntityModel*>(
        ObjectFactoryInterface::CreateObject(WorldObject::BattlePlanet)->GetModel());
    ControllerInterface* const asteroid =
        ObjectFactoryInterface::CreateObject(WorldObject::Asteroid);
    ControllerInterface* const explosion = ObjectFactoryInterface::CreateObject(
        ModelKind::Position, ViewKind::Explosion, ControllerKind::Plain);
    planet->SetPosition(3, 3);
    auto* rock = dynamic_cast<EntityModel*>(asteroid->GetModel());
    rock->SetPosition(-4, -4);
    rock->SetVelocity(0, 0);
    Probe place(store.GetModel("Asteroid", true), 1, 1);
    place.SetPosition(-4, 4);
    dynamic_cast<PositionModel*>(explosion->GetModel())->CopyFrom(place);
    JoinWorld(3);

    // The battle draws the asteroid at its image nearest the camera.
    asteroid->GetView<PositionView>()->offset.Set(8, 0, 0);
    timer.frameSeconds = 0.06f;
    DrawWorld(1);

    EXPECT_NE(0u, ColorAt(3, 3)) << "the planet";
    EXPECT_NE(0u, ColorAt(4.5f, 3)) << "the planet at its radius";
    EXPECT_NE(0u, ColorAt(4, -4)) << "the asteroid, shifted";
    EXPECT_EQ(0u, ColorAt(-4, -4)) << "where the asteroid is";
    // Frame 0 is never shown; the first draw with a frame's time shows frame 1.
    EXPECT_EQ(FrameColor(1), ColorAt(-4, 4)) << "the explosion";
    EXPECT_EQ(FrameColor(1), ColorAt(-3.5f, 4.5f)) << "the explosion";
    EXPECT_EQ(0u, ColorAt(-2.5f, 4)) << "beyond the explosion's quad";
    EXPECT_EQ(0u, ColorAt(-7, 0)) << "the background";
    EXPECT_EQ(GL_NO_ERROR, glGetError());
}

class AnimationViewGlTest : public WorldObjectsGlTest
{
protected:
    // An explosion of the strip in the world, and the frames its draws show
    // at that frame time until it removes itself.
    std::vector<int> Play(IdleStrip* strip, float frameSeconds)
    {
        PositionModel* const model = new PositionModel;
        AnimationView* const view = new AnimationView(&timer, model, strip);
        world.push_back(new ControllerInterface(model, view));
        timer.frameSeconds = frameSeconds;
        std::vector<int> shown;
        while (world.size() == 1 && shown.size() < 1000)
        {
            view->Draw();
            shown.push_back(view->GetQuad().GetCount() ? view->GetFrame() : -1);
            factory->Flush();
        }
        factory->DeleteDead();
        return shown;
    }

    IdleStrip* ReadyStrip(const std::string& name, int frames)
    {
        IdleStrip* const strip = new IdleStrip(name, frames, 0.05f);
        PublishReady(store, strip);
        return strip;
    }
};

TEST_F(AnimationViewGlTest, ShowsEachFrameAfterTheFirstForItsTimeThenRemovesItsObject)
{
    const std::vector<int> shown = Play(ReadyStrip("Boom", 8), 0.01f);
    // About five draws a frame: frames 1 to 7, and the draw that ends it.
    ASSERT_GE(shown.size(), 7u * 4);
    EXPECT_EQ(-1, shown.front());
    std::vector<int> frames;
    for (std::size_t i = 0; i + 1 < shown.size(); ++i)
    {
        if (frames.empty() || frames.back() != shown[i])
            frames.push_back(shown[i]);
    }
    EXPECT_EQ((std::vector<int>{-1, 1, 2, 3, 4, 5, 6, 7}), frames);
    EXPECT_LE(shown.size(), 7u * 6 + 6);
}

TEST_F(AnimationViewGlTest, AdvancesAtMostOneFrameADraw)
{
    // The eighth change removes the object, still showing frame 7's quad.
    EXPECT_EQ((std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}), Play(ReadyStrip("Boom", 8), 0.1f));
    // A strip of one frame shows nothing and ends at its first change.
    EXPECT_EQ((std::vector<int>{-1}), Play(ReadyStrip("Flash", 1), 0.1f));
}

TEST_F(AnimationViewGlTest, TheQuadIsTheFramesPartOfTheStrip)
{
    IdleStrip* const strip = ReadyStrip("Boom", 8);
    PositionModel model;
    AnimationView view(&timer, &model, strip);
    timer.frameSeconds = 0.1f;
    view.Draw();
    view.Draw();
    ASSERT_EQ(2, view.GetFrame());
    const std::vector<float> texCoords(view.GetQuad().GetTexCoords().begin(),
                                       view.GetQuad().GetTexCoords().begin() + 8);
    EXPECT_EQ((std::vector<float>{0.25f, 1, 0.25f, 0, 0.375f, 0, 0.375f, 1}), texCoords);
    const std::vector<float> corners(view.GetQuad().GetVertices().begin(),
                                     view.GetQuad().GetVertices().begin() + 12);
    EXPECT_EQ((std::vector<float>{-1, 1, 0, -1, -1, 0, 1, -1, 0, 1, 1, 0}), corners);
}

TEST_F(AnimationViewGlTest, TheClockStartsWhenTheStripIsReady)
{
    IdleStrip* const strip = new IdleStrip("Late", 8, 0.05f);
    ASSERT_TRUE(store.AddExisting("Late", nullptr, strip));
    PositionModel model;
    AnimationView view(&timer, &model, strip);
    timer.frameSeconds = 0.1f;
    for (int frame = 0; frame < 10; ++frame)
        view.Draw();
    EXPECT_EQ(0, view.GetFrame());

    store.GetResource("Late", true);
    ASSERT_TRUE(ProcessUntil(store, [strip] { return strip->IsReady(); }));
    timer.frameSeconds = 0.02f;
    view.Draw();
    EXPECT_EQ(0, view.GetFrame());
    view.Draw();
    view.Draw();
    EXPECT_EQ(1, view.GetFrame());
}

TEST_F(WorldObjectsGlTest, ACollisionViewOutlinesTheBodyInGreen)
{
    PublishReady(store, new IdleModel(store, "Rock"));
    Probe* const body = new Probe(store.GetModel("Rock", true), 1, 4);
    body->SetPosition(1, 1);
    ControllerInterface outlined(body, new CollisionView(body, &timer));
    timer.alpha = 1;
    outlined.Draw();
    int green = 0;
    for (int y = 0; y < GlWindowHeight; ++y)
    {
        for (int x = 0; x < GlWindowWidth; ++x)
            green += ReadBackPixel(x, y) == 0x00FF00;
    }
    // A circle of 32 pixels' radius, drawn with lines one pixel wide.
    EXPECT_GT(green, 150);
    EXPECT_LT(green, 260);
    EXPECT_EQ(0x00FF00u, ColorAt(1, 5));
    EXPECT_EQ(0u, ColorAt(1, 1));
    EXPECT_EQ(GL_NO_ERROR, glGetError());
}

} // namespace
