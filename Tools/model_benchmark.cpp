// Measures the models: how fast model files load, beside a plain memcpy of
// the same bytes in the same run, and the stencil shadow pass for 50 models a
// frame, beside drawing the same 50. No test runs it; start it from the
// repository root under a display (xvfb-run -a build/run/Tools/model_benchmark).
#include "Engine/DataFile.h"
#include "Engine/DataStore.h"
#include "Engine/Error.h"
#include "Engine/ResourceType.h"
#include "Graphics/DirectionalLight.h"
#include "Graphics/GraphicsKinds.h"
#include "Graphics/Model3D/Material.h"
#include "Graphics/Model3D/Model.h"
#include "Graphics/Model3D/ModelLoader.h"
#include "Graphics/Model3D/ModelRenderer.h"
#include "Graphics/Model3D/ShadowMesh.h"

#include <GL/gl.h>
#include <SDL.h>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

namespace
{

const char* const LoadFile = "build/model_benchmark.3d";

double Seconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Four meshes of 32767 vertices and triangles: a file of about 5.8 MB.
void WriteLargeModel()
{
    Model3D::MeshList meshes;
    const std::uint32_t count = 32767;
    for (int m = 0; m < 4; ++m)
    {
        auto mesh = std::make_unique<Model3D::Mesh>("Part" + std::to_string(m), count);
        for (std::uint32_t i = 0; i < count * 3; ++i)
            mesh->positions[i] = std::sin(float(i));
        auto subMesh = std::make_unique<Model3D::SubMesh>(mesh.get(), 0, new Material("Plain"), count);
        for (std::uint32_t i = 0; i < count * 3; ++i)
            subMesh->indices[i] = (i * 7) % count;
        mesh->shadowMesh = std::make_unique<Model3D::ShadowMesh>(mesh.get(), count);
        mesh->shadowMesh->indices = subMesh->indices;
        mesh->shadowMesh->BuildEdges();
        mesh->shadowMesh->ComputeFacePlanes(mesh->positions.data());
        mesh->subMeshes.push_back(std::move(subMesh));
        meshes.push_back(std::move(mesh));
    }
    std::remove(LoadFile);
    Model3D::ModelLoader(nullptr, "build/model_benchmark.x").Convert(meshes);
}

void MeasureLoading(DataStore& store)
{
    WriteLargeModel();
    std::size_t size = 0;
    std::unique_ptr<char[]> bytes(ReadFile(LoadFile, &size));
    const double megabytes = size / 1e6;
    const int runs = 20;

    double start = Seconds();
    for (int i = 0; i < runs; ++i)
    {
        Model3D::MeshList meshes;
        Model3D::ModelLoader(&store, LoadFile).Load(meshes);
    }
    const double loading = (Seconds() - start) / runs;

    std::vector<char> copy(size);
    start = Seconds();
    for (int i = 0; i < runs * 10; ++i)
    {
        std::memcpy(copy.data(), bytes.get(), size);
        bytes[i % size] ^= copy[(i * 31) % size]; // keeps the copies from being folded
    }
    const double copying = (Seconds() - start) / (runs * 10);
    std::remove(LoadFile);

    std::printf("Model file of %.1f MB: loaded at %.0f MB/s (%.1f ms); memcpy %.0f MB/s\n",
                megabytes, megabytes / loading, loading * 1e3, megabytes / copying);
}

void OpenWindow()
{
    if (SDL_Init(SDL_INIT_VIDEO) != 0)
        throw Error("Could not init SDL: ", SDL_GetError());
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    if (!SDL_SetVideoMode(640, 480, 0, SDL_OPENGL))
        throw Error("Could not open a window: ", SDL_GetError());
    glMatrixMode(GL_PROJECTION);
    glOrtho(-20, 20, -15, 15, -50, 50);
    glMatrixMode(GL_MODELVIEW);
    glEnable(GL_DEPTH_TEST);
}

// Milliseconds a frame of the pass over every renderer.
template <class Pass>
double TimeFrames(std::vector<std::unique_ptr<ModelRenderer>>& renderers, Pass pass)
{
    const int frames = 200;
    const double start = Seconds();
    for (int frame = 0; frame < frames; ++frame)
    {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        for (std::unique_ptr<ModelRenderer>& renderer : renderers)
            pass(*renderer);
        glFinish();
    }
    return (Seconds() - start) / frames * 1e3;
}

void MeasureShadows(DataStore& store, const char* path)
{
    store.AddResource(path, nullptr, ResourceType::Model);
    Model* model = store.GetModel(path, true);
    while (!model->IsReady())
    {
        SDL_Delay(1);
        store.ProcessLoaded();
    }
    std::vector<std::unique_ptr<ModelRenderer>> renderers;
    for (int i = 0; i < 50; ++i)
    {
        renderers.push_back(std::make_unique<ModelRenderer>(model));
        renderers.back()->objectMatrix =
            Math::Matrix::Translate(float(i % 10) * 4 - 18, float(i / 10) * 6 - 12, 0) *
            Math::Matrix::Rotate(float(i) * 37, 0.3f, 1, 0.2f);
    }
    const DirectionalLight light(LightSettings(GL_LIGHT0).SetPosition(1, 0.5f, 1));
    const double drawing = TimeFrames(renderers, [](ModelRenderer& renderer) { renderer.Draw(); });
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glDepthMask(GL_FALSE);
    glEnable(GL_CULL_FACE);
    glEnable(GL_STENCIL_TEST);
    glStencilFunc(GL_ALWAYS, 1, 0xFF);
    const double shadows = TimeFrames(
        renderers, [&light](ModelRenderer& renderer) { renderer.DrawShadowVolume(&light); });
    glFrontFace(GL_CCW);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthMask(GL_TRUE);
    glDisable(GL_CULL_FACE);
    glDisable(GL_STENCIL_TEST);
    std::size_t triangles = 0;
    for (const std::unique_ptr<Model3D::Mesh>& mesh : model->GetMeshes())
        triangles += mesh->shadowMesh->triangleCount;
    std::printf("50 x %s (%zu triangles): shadow pass %.2f ms a frame; drawing them %.2f ms\n",
                path, triangles, shadows, drawing);
}

} // namespace

int main(int, char**)
{
    try
    {
        CreateFileMutex();
        RegisterGraphicsKinds();
        OpenWindow();
        DataStore store(nullptr);
        MeasureLoading(store);
        MeasureShadows(store, "Data/Models/Asteroid.3d");
        MeasureShadows(store, "Data/Models/Ship.3d");
    }
    catch (const std::exception& e)
    {
        std::fprintf(stderr, "model_benchmark: %s\n", e.what());
        return 1;
    }
    SDL_Quit();
    return 0;
}
