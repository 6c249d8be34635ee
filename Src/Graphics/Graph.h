#pragma once

#include "Engine/Profiler.h"
#include "Engine/Vector.h"
#include "Engine/VideoInterface.h"

#include <GL/gl.h>
#include <SDL.h>
#include <vector>

// The one OpenGL video context of the process: the window's video mode, the
// fixed OpenGL state every scene starts from, the viewport with its
// perspective projection, and the bracket of every drawn frame.
class Graph : public VideoInterface
{
public:
    struct VideoMode
    {
        int width;
        int height;
        int bitsPerPixel;
    };

    static constexpr int SelectBufferSize = 512;

    Graph();
    Graph(const Graph&) = delete;
    Graph& operator=(const Graph&) = delete;

    // Both take effect at the next Init; SetVSync also asks SDL at once.
    void SetFullScreen(bool fullScreen) override;
    void SetVSync(bool waitVerticalRetrace) override;
    // Clears the bits of the flag, then sets them when on holds.
    void SetVideoFlag(Uint32 flag, bool on);
    Uint32 GetVideoFlags() const { return videoFlags; }

    // Opens the video mode with an 8-bit stencil and a 16-bit depth buffer,
    // checks the extensions and sets the viewport and the fixed state. Throws
    // Error "Could not initalize OpenGL!" when the mode cannot be opened.
    void Init(int width, int height, int bitsPerPixel) override;
    // Throws Error when cube-map textures are missing.
    void CheckExtensions();
    // All four 0 stand for the whole window. Sets the perspective projection
    // (45 degrees, near 0.1, far 500) and stores the viewport and projection
    // that projecting and picking use.
    void SetViewport(int x, int y, int w, int h);
    void InitGLState();

    void BeginFrame() override;
    void EndFrame() override;

    // Window coordinates of a world point under the current modelview matrix;
    // false when GLU cannot project it.
    bool Project(const Math::Vector& point, double& winX, double& winY, double& winZ) const;
    // Projects into the window, edges included.
    bool IsOnScreen(const Math::Vector& point) const;
    // The pick ray under a window point (a row counted from the top): its
    // points on the near and the far plane.
    void UnProject(int x, int y, Math::Vector& nearPoint, Math::Vector& farPoint) const;

    // OpenGL selection under the window rectangle centred at x, y (a row from
    // the top). EndPick returns the hit count; GetPickHit the names of the
    // nearest hit, or null.
    void BeginPick(int x, int y, int w, int h);
    int EndPick();
    const GLuint* GetPickHit() const;

    // The modes SDL lists for 32 and 16 bits per pixel.
    void ListVideoModes();
    void ClearVideoModes() override;
    const std::vector<VideoMode>& GetVideoModes() const { return videoModes; }

    const GLint* GetViewport() const { return viewport; }
    const GLdouble* GetProjection() const { return projection; }

    // The video mode last opened; 0 until Init.
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;

private:
    Profiler profiler;
    Uint32 videoFlags = SDL_OPENGL;
    bool fullScreen = true;
    bool waitVerticalRetrace = true;
    GLint viewport[4] = {};
    GLdouble projection[16] = {};
    GLuint selectBuffer[SelectBufferSize] = {};
    int hitCount = 0;
    std::vector<VideoMode> videoModes;
};
