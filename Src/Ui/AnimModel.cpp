#include "Ui/AnimModel.h"

#include "Engine/LuaState.h"
#include "Engine/Settings.h"
#include "Ui/LuaSelf.h"

namespace Ui
{

namespace
{

AnimModel& Self(lua_State* L)
{
    return *GetSelfModel<AnimModel>(L);
}

int SetLoop(lua_State* L)
{
    LuaCheckArgs(L, 1);
    Self(L).loop = lua_toboolean(L, 2);
    return 0;
}

int GetLoop(lua_State* L)
{
    lua_pushboolean(L, Self(L).loop);
    return 1;
}

int SetReverse(lua_State* L)
{
    LuaCheckArgs(L, 1);
    Self(L).reverse = lua_toboolean(L, 2);
    return 0;
}

int GetReverse(lua_State* L)
{
    lua_pushboolean(L, Self(L).reverse);
    return 1;
}

int SetFrame(lua_State* L)
{
    LuaCheckArgs(L, 1);
    Self(L).SetFrame(static_cast<int>(lua_tointeger(L, 2)));
    return 0;
}

int GetFrame(lua_State* L)
{
    lua_pushinteger(L, Self(L).GetFrame());
    return 1;
}

int Play(lua_State* L)
{
    Self(L).Play();
    return 0;
}

int Stop(lua_State* L)
{
    Self(L).Stop();
    return 0;
}

int Continue(lua_State* L)
{
    Self(L).Continue();
    return 0;
}

int IsPlaying(lua_State* L)
{
    lua_pushboolean(L, Self(L).IsPlaying());
    return 1;
}

} // namespace

AnimModel::AnimModel(const std::string& name, LuaState* lua) : FrameModel(name, lua)
{
    AddMethods({{"SetLoop", SetLoop},
                {"GetLoop", GetLoop},
                {"SetReverse", SetReverse},
                {"GetReverse", GetReverse},
                {"SetFrame", Ui::SetFrame},
                {"GetFrame", Ui::GetFrame},
                {"Play", Ui::Play},
                {"Stop", Ui::Stop},
                {"Continue", Ui::Continue},
                {"IsPlaying", Ui::IsPlaying}});
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
