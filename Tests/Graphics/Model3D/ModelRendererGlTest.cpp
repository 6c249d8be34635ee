#include "Graphics/DirectionalLight.h"
#include "Graphics/GraphicsKinds.h"
#include "Graphics/Model3D/Model.h"
#include "Graphics/Model3D/ModelLoader.h"
#include "Graphics/Model3D/ModelRenderer.h"
#include "Graphics/PositionalLight.h"
#include "MeshFixtures.h"
#include "Support/Capture.h"
#include "Support/FakeResource.h"
#include "Support/FileMutexGuard.h"
#include "Support/GlWindow.h"
#include "Support/TempDirectory.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

namespace
{

// A view from +z down onto the x-y plane, 16 pixels per unit, the origin at
// the window's centre.
const float HalfView = 4.0f;

int PixelX(float x)
{
    return static_cast<int>((x + HalfView) / (2 * HalfView) * GlWindowWidth);
}

int PixelY(float y)
{
    return static_cast<int>((HalfView - y) / (2 * HalfView) * GlWindowHeight);
}

GLubyte StencilAt(float x, float y)
{
    GLubyte value = 0;
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(PixelX(x), GlWindowHeight - 1 - PixelY(y), 1, 1, GL_STENCIL_INDEX,
                 GL_UNSIGNED_BYTE, &value);
    return value;
}

Uint32 ColorAt(float x, float y)
{
    return ReadBackPixel(PixelX(x), PixelY(y));
}

class ModelRendererGlTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        OpenGlWindow();
        RegisterGraphicsKinds();
    }

    void SetUp() override
    {
        SetTopDownView(HalfView);
        glDisable(GL_LIGHTING);
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_BLEND);
        glDisable(GL_CULL_FACE);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LESS);
        glDepthMask(GL_TRUE);
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        glClearColor(0, 0, 0, 0);
        glClearStencil(0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    }

    // Loads the model file of the path through the store.
    Model* Load(const std::string& path)
    {
        Model* model = dynamic_cast<Model*>(store.AddResource(path, nullptr, ResourceType::Model));
        store.GetResource(path, true);
        EXPECT_TRUE(ProcessUntil(store, [model] { return model->IsReady(); })) << path;
        return model;
    }

    // Our own model files, copied into the test's data folder.
    static void CopyModelFiles(std::initializer_list<const char*> names)
    {
        for (const char* name : names)
            WriteTextFile(std::string("Data/Models/") + name,
                          ReadTextFile(std::string(ZEV_SOURCE_DIR) + "/Data/Models/" + name));
    }

    Model* WriteAndLoad(Model3D::MeshList meshes)
    {
        OutputOf([&] { Model3D::ModelLoader(nullptr, "Model.x").Convert(meshes); });
        return Load("Model.3d");
    }

    // A grey square in the plane z = 0 that receives the shadows.
    static void DrawReceiver()
    {
        glColor3ub(200, 200, 200);
        glBegin(GL_QUADS);
        glVertex3f(-HalfView, -HalfView, 0);
        glVertex3f(HalfView, -HalfView, 0);
        glVertex3f(HalfView, HalfView, 0);
        glVertex3f(-HalfView, HalfView, 0);
        glEnd();
    }

    // The caller's part of the shadow pass around one renderer, then the
    // pixels with a count darkened.
    static void CastShadow(ModelRenderer& renderer, const Light& light)
    {
        glPushAttrib(GL_ALL_ATTRIB_BITS);
        glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
        glDepthMask(GL_FALSE);
        glDisable(GL_LIGHTING);
        glDisable(GL_TEXTURE_2D);
        glShadeModel(GL_FLAT);
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
        glEnable(GL_STENCIL_TEST);
        glStencilFunc(GL_ALWAYS, 1, 0xFF);
        renderer.DrawShadowVolume(&light);
        glFrontFace(GL_CCW);
        glPopAttrib();
    }

    static void Darken()
    {
        glPushAttrib(GL_ALL_ATTRIB_BITS);
        glDisable(GL_DEPTH_TEST);
        glEnable(GL_STENCIL_TEST);
        glStencilFunc(GL_NOTEQUAL, 0, 0xFF);
        glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glColor4f(0, 0, 0, 0.6f);
        glRectf(-HalfView, -HalfView, HalfView, HalfView);
        glPopAttrib();
    }

    TempDirectory directory;
    FileMutexGuard fileMutex;
    DataStore store{nullptr};
};

} // namespace

TEST_F(ModelRendererGlTest, AModelThatIsNotReadyDrawsNothing)
{
    WriteTextFile("Slow.3d", "not read");
    Model model(&store, "Slow.3d");
    ModelRenderer renderer(&model);
    const DirectionalLight light(LightSettings(GL_LIGHT0).SetPosition(1, 0, 0));
    glColor3f(0.5f, 0.25f, 0.0f);
    renderer.Draw();
    renderer.DrawShadowVolume(&light);
    GLfloat color[4];
    glGetFloatv(GL_CURRENT_COLOR, color);
    EXPECT_EQ(0.25f, color[1]);
    EXPECT_EQ(0u, ColorAt(0, 0));
}

TEST_F(ModelRendererGlTest, SubMeshesDrawWithTheirMaterialsAndTheStateIsLeftClean)
{
    Material* red = new Material("Red");
    red->SetDiffuse(1, 0, 0, 1);
    Model* model = WriteAndLoad(ListOf(MakeCube(red)));
    ModelRenderer renderer(model);
    renderer.objectMatrix = Math::Matrix::Translate(2, 0, 0);
    renderer.Draw();

    EXPECT_EQ(0xFF0000u, ColorAt(2, 0));
    EXPECT_EQ(0u, ColorAt(0, 0));
    GLfloat color[4];
    glGetFloatv(GL_CURRENT_COLOR, color);
    EXPECT_EQ(1.0f, color[1]);
    for (const GLenum array : {GL_VERTEX_ARRAY, GL_NORMAL_ARRAY, GL_TEXTURE_COORD_ARRAY})
        EXPECT_FALSE(glIsEnabled(array)) << array;
    GLint matrixMode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &matrixMode);
    EXPECT_EQ(GL_MODELVIEW, matrixMode);
}

TEST_F(ModelRendererGlTest, TheShadowVolumeCountsTheShadowedPixels)
{
    Model* model = WriteAndLoad(ListOf(MakeCube()));
    ModelRenderer renderer(model);
    DrawReceiver();
    renderer.Draw();
    const Uint32 receiver = ColorAt(3, 3);

    // From +x the cube shades a strip on its -x side; a light inside it
    // lights every face from behind, so nothing is cast.
    struct Case
    {
        const char* name;
        const Light* light;
        int strip;
    };
    const DirectionalLight side(LightSettings(GL_LIGHT0).SetPosition(1, 0, 0));
    const PositionalLight inside(LightSettings(GL_LIGHT1).SetPosition(0, 0, 0));
    for (const Case& c : {Case{"from the side", &side, 1}, Case{"from inside", &inside, 0}})
    {
        // A renderer that has never drawn casts all the same.
        ModelRenderer caster(model);
        glClear(GL_STENCIL_BUFFER_BIT);
        CastShadow(caster, *c.light);
        EXPECT_EQ(c.strip, StencilAt(-2.5f, 0)) << c.name;
        EXPECT_EQ(c.strip, StencilAt(-3.5f, 0.5f)) << c.name;
        for (const auto& lit : {std::make_pair(2.5f, 0.0f), std::make_pair(-2.5f, 2.5f),
                                std::make_pair(0.0f, 0.0f), std::make_pair(2.5f, -2.5f)})
            EXPECT_EQ(0, StencilAt(lit.first, lit.second)) << c.name;
    }

    glClear(GL_STENCIL_BUFFER_BIT);
    CastShadow(renderer, side);
    Darken();
    const Uint32 shaded = ColorAt(-2.5f, 0);
    EXPECT_NEAR(0.4 * (receiver & 0xFF), shaded & 0xFF, 2);
    EXPECT_EQ(receiver, ColorAt(2.5f, 0));
    EXPECT_EQ(receiver, ColorAt(-2.5f, 2.5f));
}

TEST_F(ModelRendererGlTest, TheGeneratedShipDrawsTexturedAndCastsItsShadow)
{
    CopyModelFiles({"Ship.3d", "Hull.png"});
    Model* ship = Load("Data/Models/Ship.3d");
    const Model3D::Mesh& mesh = *ship->GetMeshes()[0];
    Texture* hull = mesh.subMeshes[0]->material->texture;
    ASSERT_TRUE(ProcessUntil(store, [hull] { return hull->IsReady(); }));

    ModelRenderer renderer(ship);
    renderer.objectMatrix = Math::Matrix::Translate(0, 0, 1) * Math::Matrix::Scale(2, 2, 2);
    DrawReceiver();
    glEnable(GL_TEXTURE_2D);
    renderer.Draw();
    glDisable(GL_TEXTURE_2D);
    GLint bound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(0, bound); // the engine plate, drawn last, has no texture

    // The plating's seams are darker than its plates.
    Uint32 darkest = 0xFF;
    Uint32 brightest = 0;
    for (float x = -1.2f; x < 1.8f; x += 0.0625f)
    {
        const Uint32 blue = ColorAt(x, 0.1f) & 0xFF;
        darkest = std::min(darkest, blue);
        brightest = std::max(brightest, blue);
    }
    EXPECT_LT(darkest + 30, brightest);

    // Lit from above the ship's top faces the light and its shadow falls on
    // the receiver below it, beyond its outline only in the light's slant.
    const DirectionalLight above(LightSettings(GL_LIGHT0).SetPosition(1, 0, 1));
    CastShadow(renderer, above);
    EXPECT_EQ(1, StencilAt(-2.5f, 0));
    EXPECT_EQ(0, StencilAt(3.0f, 0));
    EXPECT_EQ(0, StencilAt(-2.5f, 2.5f));
}

TEST_F(ModelRendererGlTest, TheImportedMotherShipDrawsAndCastsItsShadow)
{
    CopyModelFiles({"MotherShip.x", "Hull.png"});
    Model* mother = nullptr;
    EXPECT_EQ("Converting 'Data/Models/MotherShip.x' to 'Data/Models/MotherShip.3d'\n",
              OutputOf([&] { mother = Load("Data/Models/MotherShip.x"); }));
    Texture* hull = mother->GetMeshes()[0]->subMeshes[0]->material->texture;
    ASSERT_TRUE(ProcessUntil(store, [hull] { return hull->IsReady(); }));

    ModelRenderer renderer(mother);
    renderer.objectMatrix = Math::Matrix::Translate(0, 0, 1) * Math::Matrix::Scale(1.5f, 1.5f, 1.5f);
    DrawReceiver();
    glEnable(GL_TEXTURE_2D);
    renderer.Draw();
    glDisable(GL_TEXTURE_2D);
    const Uint32 receiver = ColorAt(0.5f, 2.5f);
    for (const float x : {-1.2f, 0.0f, 1.5f})
        EXPECT_NE(receiver, ColorAt(x, 0.0f)) << x;

    const DirectionalLight above(LightSettings(GL_LIGHT0).SetPosition(1, 0, 1));
    CastShadow(renderer, above);
    EXPECT_EQ(1, StencilAt(-2.3f, 0));
    EXPECT_EQ(0, StencilAt(3.0f, 0));
    EXPECT_EQ(0, StencilAt(-2.3f, 2.5f));
}

TEST_F(ModelRendererGlTest, AMaterialBindsOnlyAReadyTextureAndClampsItsShininess)
{
    Texture loading("Later.png");
    Material material("Shiny");
    material.SetTexture(&loading).SetShininess(500);
    glBindTexture(GL_TEXTURE_2D, 7);
    EXPECT_FALSE(material.Apply());
    GLint bound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(0, bound);
    GLfloat shininess = 0;
    glGetMaterialfv(GL_FRONT, GL_SHININESS, &shininess);
    EXPECT_EQ(128.0f, shininess);
    EXPECT_EQ(500.0f, material.shininess);

    material.SetShininess(-3);
    material.Apply();
    glGetMaterialfv(GL_FRONT, GL_SHININESS, &shininess);
    EXPECT_EQ(0.0f, shininess);

    // The array follows the materials, switched only when it changes.
    bool arrayOn = false;
    material.SetTexCoordState(arrayOn);
    EXPECT_TRUE(arrayOn);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_COORD_ARRAY));
    Material::Default.SetTexCoordState(arrayOn);
    EXPECT_FALSE(arrayOn);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_COORD_ARRAY));
}
