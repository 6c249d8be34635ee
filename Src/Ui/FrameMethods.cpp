#include "Ui/FrameMethods.h"

#include "Engine/LuaState.h"
#include "Ui/FrameModel.h"
#include "Ui/LuaSelf.h"
#include "Ui/MovingHandler.h"
#include "Ui/Root.h"
#include "Ui/UiDataReader.h"

namespace Ui
{

namespace
{

int GetParent(lua_State* L)
{
    const FrameController* const parent = GetSelfController(L)->GetParent();
    if (parent)
        lua_getglobal(L, parent->GetFrameModel().GetName().c_str());
    else
        lua_pushnil(L);
    return 1;
}

int SetPoint(lua_State* L)
{
    LuaCheckArgs(L, 3);
    FrameModel& frame = GetSelf<FrameModel>(L);
    const std::string point = LuaCheckText(L, 2);
    const std::string relativeName = LuaCheckText(L, 3);
    const std::string relativePoint = LuaCheckText(L, 4);
    FrameController* const relativeTo = GetRoot(L)->FindFrame(relativeName);
    if (!relativeTo)
        LuaError(L, "Unknown parent frame " + relativeName);
    frame.point = UiDataReader::ParsePoint(point);
    frame.relativeTo = relativeTo;
    frame.relativePoint = UiDataReader::ParsePoint(relativePoint);
    return 0;
}

int Show(lua_State* L)
{
    FrameModel& frame = GetSelf<FrameModel>(L);
    if (!frame.visible)
    {
        frame.RunScript(frame.onShow);
        frame.visible = true;
    }
    return 0;
}

int Hide(lua_State* L)
{
    FrameModel& frame = GetSelf<FrameModel>(L);
    if (frame.visible)
    {
        frame.RunScript(frame.onHide);
        frame.visible = false;
    }
    return 0;
}

// The script name of argument 2; a value without text is no name.
std::string ScriptName(lua_State* L)
{
    if (!lua_isstring(L, 2))
        LuaError(L, "Unknown script: nil");
    return lua_tostring(L, 2);
}

int SetScript(lua_State* L)
{
    LuaCheckArgs(L, 2);
    FrameController* const frame = GetSelfController(L);
    const std::string name = ScriptName(L);
    const std::string code = lua_isnil(L, 3) ? std::string() : LuaCheckText(L, 3);
    if (!frame->SetScript(name, code.c_str()))
        LuaError(L, "Unknown script: " + name);
    return 0;
}

int GetScript(lua_State* L)
{
    LuaCheckArgs(L, 1);
    const FrameController* const frame = GetSelfController(L);
    const std::string name = ScriptName(L);
    const std::string* const script = frame->GetScript(name);
    if (!script)
        LuaError(L, "Unknown script: " + name);
    lua_pushlstring(L, script->data(), script->size());
    return 1;
}

int StartMoving(lua_State* L)
{
    FrameController* const frame = GetSelfController(L);
    frame->AddHandler(new MovingHandler(frame));
    return 0;
}

int StopMoving(lua_State* L)
{
    GetSelfController(L)->RemoveHandlers(HandlerType::Moving);
    return 0;
}

} // namespace

void AddFrameMethods(FrameModel& model)
{
    model.AddMethods({{"GetName", CallMethod<&FrameModel::GetName>},
                      {"GetParent", Ui::GetParent},
                      {"GetId", GetFields<&FrameModel::id>},
                      {"SetId", SetFields<&FrameModel::id>},
                      {"SetPos", SetFields<&FrameModel::offsetX, &FrameModel::offsetY>},
                      {"GetPos", GetFields<&FrameModel::offsetX, &FrameModel::offsetY>},
                      {"SetWidth", SetFields<&FrameModel::width>},
                      {"GetWidth", GetFields<&FrameModel::width>},
                      {"SetHeight", SetFields<&FrameModel::height>},
                      {"GetHeight", GetFields<&FrameModel::height>},
                      {"SetSize", SetFields<&FrameModel::width, &FrameModel::height>},
                      {"GetSize", GetFields<&FrameModel::width, &FrameModel::height>},
                      {"SetRelativeSize",
                       SetFields<&FrameModel::relativeWidth, &FrameModel::relativeHeight>},
                      {"GetRelativeSize",
                       GetFields<&FrameModel::relativeWidth, &FrameModel::relativeHeight>},
                      {"SetPoint", SetPoint},
                      {"Show", Show},
                      {"Hide", Hide},
                      {"IsVisible", GetFields<&FrameModel::visible>},
                      {"SetAlpha", SetFields<&FrameModel::alpha>},
                      {"GetAlpha", GetFields<&FrameModel::alpha>},
                      {"SetScale", SetFields<&FrameModel::scale>},
                      {"GetScale", GetFields<&FrameModel::scale>},
                      {"SetScript", Ui::SetScript},
                      {"GetScript", Ui::GetScript},
                      {"StartMoving", StartMoving},
                      {"StopMoving", StopMoving}});
}

} // namespace Ui
