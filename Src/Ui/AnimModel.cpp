#include "Ui/AnimModel.h"

#include "Engine/LuaState.h"
#include "Engine/Settings.h"
#include "Ui/LuaSelf.h"

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
// stops, as does an animation without frames.
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
    while (timeLeft <= 0.0f)
    {
        if (AtEnd())
        {
            if (!loop)
            {
                playing = false;
                return;
            }
            currentFrame = reverse ? LastFrame() : 0;
        }
        else
        {
            currentFrame += reverse ? -1 : 1;
        }
        timeLeft += durations[currentFrame];
    }
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
