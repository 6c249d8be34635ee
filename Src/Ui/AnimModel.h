#pragma once

#include "Ui/FrameModel.h"

#include <vector>

namespace Ui
{

// The timing of a frame-by-frame animation: one duration per frame, played
// forward or in reverse, once or in a loop, one fixed step per update.
class AnimModel : public FrameModel
{
public:
    AnimModel(const std::string& name, LuaState* lua);

    // Advances by the fixed step; a step may skip several short frames.
    void Update() override;

    void AddFrame(float seconds);
    // From the first frame, or the last in reverse; nothing without frames.
    void Play();
    void Stop() { playing = false; }
    // Goes on from the current frame and its time left.
    void Continue() { playing = true; }
    int GetFrame() const { return currentFrame; }
    // An index outside the frames changes nothing.
    void SetFrame(int frame);
    bool IsPlaying() const { return playing; }
    int GetFrameCount() const { return static_cast<int>(durations.size()); }

    bool loop = false;
    bool reverse = false;

private:
    bool AtEnd() const;
    // Moves on by one frame and adds its duration; at the end of a single
    // play it stops instead.
    void NextFrame();
    int LastFrame() const { return GetFrameCount() - 1; }

    bool playing = false;
    float timeLeft = 0.0f;
    std::vector<float> durations;
    // The sum of the durations.
    float cycle = 0.0f;
    int currentFrame = 0;
};

} // namespace Ui
