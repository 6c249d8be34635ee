#pragma once

#include "Engine/Color.h"
#include "Engine/Point.h"
#include "Graphics/LightSettings.h"

// One OpenGL light of a scene's LightSet, bound to its light number. The
// colours are sent scaled by the gammaCorrection setting; the position is given
// in world coordinates and sent each frame under the camera's view.
class Light
{
public:
    explicit Light(const LightSettings& settings);
    virtual ~Light() = default;
    Light(const Light&) = delete;
    Light& operator=(const Light&) = delete;

    // Switches the light on or off and sends its colours and cone.
    virtual void Setup();
    // Sends the position, transformed by the current modelview matrix.
    virtual void UploadPosition() const;
    // A debugging aid: crossed squares where the light is.
    virtual void DrawMarker() const = 0;
    // Takes the position and the colours; the light's kind keeps its w.
    virtual void CopyFrom(const LightSettings& settings);

    // Switches the OpenGL light only when the flag changes.
    void SetEnabled(bool on);

    int GetId() const { return lightId; }
    bool IsEnabled() const { return enabled; }
    const Math::Point& GetPosition() const { return position; }
    const Color& GetAmbient() const { return ambient; }
    const Color& GetDiffuse() const { return diffuse; }
    const Color& GetSpecular() const { return specular; }

protected:
    // What the constructors from a bare light number start from: a disabled
    // light at (1, 0, 0) with the default colours.
    static LightSettings BareSettings(int lightId);

    // BeginMarker saves the state a marker changes and sets its colours;
    // EndMarker restores the state.
    void BeginMarker() const;
    static void EndMarker();
    void DrawCrossedSquares(float size) const;

    const int lightId;
    bool enabled;
    Math::Point position;
    Color ambient;
    Color diffuse;
    Color specular;
};
