#pragma once

// What the engine core needs of the video context: the application opens it,
// the game-state manager brackets every drawn frame with it.
class VideoInterface
{
public:
    virtual ~VideoInterface() = default;

    virtual void SetFullScreen(bool fullScreen) = 0;
    virtual void SetVSync(bool waitVerticalRetrace) = 0;
    // Opens the video mode; throws Error when it cannot.
    virtual void Init(int width, int height, int bitsPerPixel) = 0;
    virtual void ClearVideoModes() = 0;
    virtual void BeginFrame() = 0;
    virtual void EndFrame() = 0;
};
