#include "Ui/AnimModel.h"

#include "Engine/LuaState.h"
#include "Engine/Settings.h"
#include "Ui/LuaSelf.h"

#include <cmath>

namespace Ui
{

namespace
{

int SetFrame(lua_State* L)
{
    LuaCheckArgs(L, 1);
    GetSelf<AnimModel>(L).SetFrame(static_cast<int>(lua_tointeger(L, 2)));
    return 0;
}

} // namespace

AnimModel::AnimModel(const std::string& name, LuaState* lua) : FrameModel(name, lua)
{
    AddMethods({{"SetLoop", SetFields<&AnimModel::loop>},
                {"GetLoop", GetFields<&AnimModel::loop>},
                {"SetReverse", SetFields<&AnimModel::reverse>},
                {"GetReverse", GetFields<&AnimModel::reverse>},
                {"SetFrame", Ui::SetFrame},
                {"GetFrame", CallMethod<&AnimModel::GetFrame>},
                {"Play", CallMethod<&AnimModel::Play>},
                {"Stop", CallMethod<&AnimModel::Stop>},
                {"Continue", CallMethod<&AnimModel::Continue>},
                {"IsPlaying", CallMethod<&AnimModel::IsPlaying>}});
}

// A loop whose frames last no time in all would never use up the step: it
// stops, as does an animation without frames. The whole cycles a step spans
// are skipped at once, so frames far shorter than the step cost no more than
// long ones; after that the step ends within about one cycle, and a loop that
// gets no further in two is one whose frames vanish in rounding, which stops
// like one of length 0.
void AnimModel::Update()
{
    if (!playing)
        return;
    if (durations.empty() || (loop && cycle <= 0.0f))
    {
        playing = false;
        return;
    }
    timeLeft -= StepSeconds;
    if (loop && -timeLeft > cycle)
        timeLeft = -std::fmod(-timeLeft, cycle);
    for (std::size_t frames = 0; timeLeft <= 0.0f && playing; ++frames)
    {
        if (frames > 2 * durations.size())
            playing = false;
        else
            NextFrame();
    }
}

void AnimModel::NextFrame()
{
    if (!AtEnd())
        currentFrame += reverse ? -1 : 1;
    else if (loop)
        currentFrame = reverse ? LastFrame() : 0;
    else
    {
        playing = false;
        return;
    }
    timeLeft += durations[currentFrame];
}

bool AnimModel::AtEnd() const
{
    return reverse ? currentFrame < 1 : currentFrame >= LastFrame();
}

void AnimModel::AddFrame(float seconds)
{
    durations.push_back(seconds);
    cycle += seconds;
}

void AnimModel::Play()
{
    if (durations.empty())
        return;
    currentFrame = reverse ? LastFrame() : 0;
    timeLeft = durations[currentFrame];
    playing = true;
}

void AnimModel::SetFrame(int frame)
{
    if (frame >= 0 && frame <= LastFrame())
        currentFrame = frame;
}

} // namespace Ui
