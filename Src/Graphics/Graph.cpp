#include "Graphics/Graph.h"

#include "Engine/Error.h"
#include "Graphics/CheckGLError.h"

#include <GL/glu.h>
#include <cstdio>
#include <cstring>

namespace
{

constexpr double FieldOfView = 45.0;
constexpr double NearPlane = 0.1;
constexpr double FarPlane = 500.0;
constexpr double PickFarPlane = 100.0;

} // namespace

Graph::Graph() : profiler("Graph hw") {}

void Graph::SetFullScreen(bool fullScreen)
{
    this->fullScreen = fullScreen;
}

void Graph::SetVSync(bool waitVerticalRetrace)
{
    this->waitVerticalRetrace = waitVerticalRetrace;
    SDL_GL_SetAttribute(SDL_GL_SWAP_CONTROL, waitVerticalRetrace);
}

void Graph::SetVideoFlag(Uint32 flag, bool on)
{
    videoFlags &= ~flag;
    if (on)
        videoFlags |= flag;
}

void Graph::Init(int width, int height, int bitsPerPixel)
{
    this->width = width;
    this->height = height;
    this->bitsPerPixel = bitsPerPixel;
    SetVideoFlag(SDL_FULLSCREEN, fullScreen);

    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_SWAP_CONTROL, waitVerticalRetrace);
    if (!SDL_SetVideoMode(width, height, bitsPerPixel, videoFlags))
        throw Error("Could not initalize OpenGL!");

    CheckExtensions();
    SetViewport(0, 0, 0, 0);
    InitGLState();
}

void Graph::CheckExtensions()
{
    const GLubyte* const version = glGetString(GL_VERSION);
    std::printf("OpenGL version: %s\n", version ? reinterpret_cast<const char*>(version) : "");
    const GLubyte* const extensions = glGetString(GL_EXTENSIONS);
    if (!extensions)
        throw Error("Can't read OpenGL extensions!");
    if (!std::strstr(reinterpret_cast<const char*>(extensions), "ARB_texture_cube_map"))
        throw Error("OpenGL does not support cube map textures!");
}

void Graph::SetViewport(int x, int y, int w, int h)
{
    if (x == 0 && y == 0 && w == 0 && h == 0)
    {
        w = width;
        h = height;
    }
    if (h < 1)
        h = 1;

    glViewport(x, y, w, h);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(FieldOfView, static_cast<double>(w) / h, NearPlane, FarPlane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    glGetIntegerv(GL_VIEWPORT, viewport);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
}

void Graph::InitGLState()
{
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
    glShadeModel(GL_SMOOTH);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);

    const GLfloat ambient[] = {0.5f, 0.5f, 0.5f, 1.0f};
    const GLfloat diffuse[] = {1.0f, 1.0f, 1.0f, 1.0f};
    const GLfloat position[] = {0.0f, 2.0f, 0.0f, 1.0f};
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glLightfv(GL_LIGHT1, GL_AMBIENT, ambient);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, diffuse);
    glLightfv(GL_LIGHT1, GL_POSITION, position);
    glEnable(GL_LIGHT1);
    glEnable(GL_LIGHTING);
    glClearStencil(0);
}

void Graph::BeginFrame()
{
    const Profiler::Scope scope(profiler);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glLoadIdentity();
}

void Graph::EndFrame()
{
    const Profiler::Scope scope(profiler);
    glFlush();
    SDL_GL_SwapBuffers();
    CheckGLError(nullptr);
}

bool Graph::Project(const Math::Vector& point, double& winX, double& winY, double& winZ) const
{
    GLdouble modelview[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    return gluProject(point[0], point[1], point[2], modelview, projection, viewport, &winX, &winY,
                      &winZ) == GL_TRUE;
}

bool Graph::IsOnScreen(const Math::Vector& point) const
{
    double x;
    double y;
    double z;
    return Project(point, x, y, z) && x >= 0 && x <= width && y >= 0 && y <= height;
}

void Graph::UnProject(int x, int y, Math::Vector& nearPoint, Math::Vector& farPoint) const
{
    GLdouble modelview[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    const double windowY = height - y;
    const auto unproject = [&](double depth, Math::Vector& point)
    {
        GLdouble px = 0;
        GLdouble py = 0;
        GLdouble pz = 0;
        gluUnProject(x, windowY, depth, modelview, projection, viewport, &px, &py, &pz);
        point.Set(static_cast<float>(px), static_cast<float>(py), static_cast<float>(pz));
    };
    unproject(0.0, nearPoint);
    unproject(1.0, farPoint);
}

void Graph::BeginPick(int x, int y, int w, int h)
{
    glSelectBuffer(SelectBufferSize, selectBuffer);
    glRenderMode(GL_SELECT);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluPickMatrix(x, viewport[3] - y, w, h, viewport);
    gluPerspective(FieldOfView, static_cast<double>(viewport[2]) / viewport[3], NearPlane,
                   PickFarPlane);
    glMatrixMode(GL_MODELVIEW);
    glInitNames();
}

int Graph::EndPick()
{
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glFlush();
    hitCount = glRenderMode(GL_RENDER);
    return hitCount;
}

// A hit record: the name count n, the minimum and maximum depth, n names. A
// negative hit count means the buffer overflowed, which counts as no hits.
const GLuint* Graph::GetPickHit() const
{
    const GLuint* nearest = nullptr;
    GLuint nearestCount = 0;
    GLuint nearestDepth = 0;
    int offset = 0;
    for (int hit = 0; hit < hitCount; ++hit)
    {
        if (offset + 3 > SelectBufferSize)
            break;
        const GLuint names = selectBuffer[offset];
        const GLuint depth = selectBuffer[offset + 1];
        if (names > static_cast<GLuint>(SelectBufferSize - offset - 3))
            break;
        if (!nearest || depth < nearestDepth)
        {
            nearest = selectBuffer + offset + 3;
            nearestCount = names;
            nearestDepth = depth;
        }
        offset += 3 + static_cast<int>(names);
    }
    return nearestCount > 0 ? nearest : nullptr;
}

void Graph::ListVideoModes()
{
    if (!videoModes.empty())
        return;
    const SDL_VideoInfo* const info = SDL_GetVideoInfo();
    if (!info)
        return;
    SDL_PixelFormat format = *info->vfmt;
    for (const int depth : {32, 16})
    {
        format.BitsPerPixel = static_cast<Uint8>(depth);
        SDL_Rect** const modes = SDL_ListModes(&format, videoFlags);
        if (!modes || modes == reinterpret_cast<SDL_Rect**>(-1))
            return;
        for (SDL_Rect** mode = modes; *mode; ++mode)
            videoModes.push_back({(*mode)->w, (*mode)->h, depth});
    }
}

void Graph::ClearVideoModes()
{
    videoModes.clear();
}
