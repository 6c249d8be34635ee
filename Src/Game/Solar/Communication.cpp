#include "Game/Solar/Communication.h"

#include "Engine/Error.h"
#include "Engine/LuaLimits.h"
#include "Engine/LuaState.h"
#include "Engine/StringUtil.h"
#include "Game/Solar/CommunicationReader.h"
#include "Ui/FrameModel.h"
#include "Ui/Root.h"
#include "Ui/TextView.h"

#include <algorithm>
#include <limits>

namespace
{

const char* const TableName = "Communication";
const char* const FrameName = "CommunicationFrame";
const char* const WindowName = "CommunicationWindow";
const char* const TextName = "CommunicationWindowText";
const char* const SharedData = "CommunicationData";

// A conversation passes a handful of steps for each label it moves through;
// one that runs this many in one update goes round in circles (a script that
// goes to its own label, say) and would hang the game.
const int MaxStepsPerUpdate = 1000;

const std::string OutOfScope =
    "Invalid Communication data: Goto command, path pointing out of scope: ";

bool IsSeparator(char c)
{
    return c == '/' || c == '\\';
}

// Stores the value on top of the stack under the name in the table below it
// and pops the value. Raw, so that no script runs outside a protected call.
void RawSetField(lua_State* L, const char* name)
{
    lua_pushstring(L, name);
    lua_insert(L, -2);
    lua_rawset(L, -3);
}

// A new array of the options' texts, from 1 on.
void PushOptionTexts(lua_State* L, const std::vector<CommunicationOption>& options)
{
    lua_createtable(L, static_cast<int>(options.size()), 0);
    int index = 0;
    for (const CommunicationOption& option : options)
    {
        lua_pushlstring(L, option.text.data(), option.text.size());
        lua_rawseti(L, -2, ++index);
    }
}

// Called in protected mode with the live options and the highlight. The
// global table "Communication" of this moment gets the field "Options", and
// its "ShowOptions" is called with the table and the highlight.
int CallShowOptions(lua_State* L)
{
    const auto* const options =
        static_cast<const std::vector<CommunicationOption>*>(lua_touserdata(L, 1));
    lua_getglobal(L, TableName);
    PushOptionTexts(L, *options);
    lua_setfield(L, -2, "Options");
    lua_getfield(L, -1, "ShowOptions");
    lua_insert(L, -2);
    lua_pushvalue(L, 2);
    lua_call(L, 2, 0);
    return 0;
}

} // namespace

Communication::Communication(const std::string& name, DataStore* parentStore,
                             EventDispatcher* dispatcher, LuaState* luaState, Ui::Root* uiRoot)
    : store(parentStore), lua(*luaState), dispatcher(dispatcher), table(LUA_NOREF)
{
    try
    {
        BindTable();
        FindFrames(*uiRoot);
        Read(name, *uiRoot);
        current = root.get();
        lua.DoString("Communication:HideOptions();");
        frame->visible = true;
    }
    catch (...)
    {
        Release();
        throw;
    }
}

Communication::~Communication()
{
    Release();
}

void Communication::BindTable()
{
    lua_State* const L = lua.GetState();
    lua_pushstring(L, TableName);
    lua_rawget(L, LUA_GLOBALSINDEX);
    if (!lua_istable(L, -1))
    {
        lua_pop(L, 1);
        throw Error("Lua error: the global '", TableName, "' is not a table");
    }
    const luaL_Reg methods[] = {{"Select", LuaSelect}, {"SkipChatLine", LuaSkipChatLine},
                                {"Exit", LuaExit},     {"Return", LuaReturn},
                                {"Goto", LuaGoto},     {"AddOption", LuaAddOption}};
    for (const luaL_Reg& method : methods)
    {
        LuaPushFunction(L, method.func);
        RawSetField(L, method.name);
    }
    lua_pushlightuserdata(L, static_cast<Object*>(this));
    RawSetField(L, "__this");
    lua_pushstring(L, WindowName);
    RawSetField(L, "WindowName");
    lua_pushstring(L, FrameName);
    RawSetField(L, "Frame");
    // The conversation's own scripts define these.
    for (const char* callback : {"StartSpeaking", "StopSpeaking"})
    {
        lua_pushnil(L);
        RawSetField(L, callback);
    }
    table = luaL_ref(L, LUA_REGISTRYINDEX);
}

void Communication::FindFrames(Ui::Root& uiRoot)
{
    frame = uiRoot.GetFrameModel(FrameName);
    if (!frame)
        throw Error("Can't find communication frame '", FrameName, "'!");
    window = uiRoot.FindFrame(WindowName);
    if (!window)
        throw Error("Can't find communication frame '", WindowName, "'!");
}

// The text area is looked up between the two reads, so that the conversation
// may build it under the window.
void Communication::Read(const std::string& name, Ui::Root& uiRoot)
{
    CommunicationReader reader(&store, dispatcher, &lua);
    reader.SetParent(window);
    reader.ReadFile(store.GetAliasTarget(name), "");
    textView = uiRoot.GetTextView(TextName);
    if (!textView)
        throw Error("Can't find communication frame text area '", TextName, "'!");
    reader.ReadFile(store.GetAliasTarget(SharedData), TableName);
    root = reader.TakeRoot();
}

// The frame goes out of sight before the window's frames go, in case the data
// put the window around it.
void Communication::Release()
{
    if (table != LUA_NOREF)
    {
        lua_State* const L = lua.GetState();
        lua_rawgeti(L, LUA_REGISTRYINDEX, table);
        lua_pushstring(L, "__this");
        lua_rawget(L, -2);
        const bool bound = lua_touserdata(L, -1) == static_cast<Object*>(this);
        lua_pop(L, 1);
        if (bound)
        {
            lua_pushnil(L);
            RawSetField(L, "__this");
        }
        lua_pop(L, 1);
        luaL_unref(L, LUA_REGISTRYINDEX, table);
        table = LUA_NOREF;
    }
    if (frame)
        frame->visible = false;
    if (window)
        window->DeleteChildren();
}

bool Communication::Update(std::uint32_t ms)
{
    store.ProcessLoaded();
    for (int steps = 0; current; ++steps)
    {
        if (steps == MaxStepsPerUpdate)
            throw Error("The conversation does not settle: ", ToString(MaxStepsPerUpdate),
                        " steps in one update, at label '", current->Path(), "'");
        const Step before = state;
        state = RunStep(before, ms);
        if (state == before)
            return true;
    }
    return false;
}

Communication::Step Communication::RunStep(Step step, std::uint32_t ms)
{
    switch (step)
    {
    case Step::StartLabel:
        return StartLabel();
    case Step::Speak:
        return Speak(ms);
    case Step::StopSpeaking:
        return StopSpeaking();
    case Step::RunScript:
        return RunScript();
    case Step::ShowOptions:
        return ShowOptions();
    case Step::Waiting:
        break;
    }
    return Step::Waiting;
}

Communication::Step Communication::StartLabel()
{
    lineTime = 0;
    line = 0;
    if (current->lines.empty())
        return Step::RunScript;
    lua.DoString("Communication:HideOptions();");
    lua.DoString("Communication:StartSpeaking();");
    textView->SetText(current->lines.front().text);
    return Step::Speak;
}

// One line at most moves on per update; the time past its end counts for the
// next.
Communication::Step Communication::Speak(std::uint32_t ms)
{
    const std::uint32_t most = std::numeric_limits<std::uint32_t>::max();
    lineTime = ms > most - lineTime ? most : lineTime + ms;
    const std::uint32_t time = current->lines[line].time;
    if (lineTime < time)
        return Step::Speak;
    lineTime -= time;
    if (++line == current->lines.size())
    {
        textView->SetText("");
        return Step::StopSpeaking;
    }
    textView->SetText(current->lines[line].text);
    return Step::Speak;
}

Communication::Step Communication::StopSpeaking()
{
    lua.DoString("Communication:StopSpeaking();");
    return Step::RunScript;
}

// The script may move to another label, go back up or end the conversation
// through the methods; what it chose is nextState and current.
Communication::Step Communication::RunScript()
{
    liveOptions = current->options;
    nextState = Step::ShowOptions;
    lua.DoString(current->script);
    return nextState;
}

// A label without options hands over to its parent, whose script runs again.
Communication::Step Communication::ShowOptions()
{
    if (liveOptions.empty())
    {
        current = current->parent;
        return Step::RunScript;
    }
    if (current != lastOptionsLabel)
        highlight = 1;
    lastOptionsLabel = current;
    lua_State* const L = lua.GetState();
    lua_pushcfunction(L, CallShowOptions);
    lua_pushlightuserdata(L, &liveOptions);
    lua_pushinteger(L, highlight);
    int status = 0;
    {
        const LuaLimits::Call call(L, 2);
        status = lua_pcall(L, 2, 0, 0);
    }
    if (status != 0)
    {
        const char* const message = lua_tostring(L, -1);
        const std::string text = message ? message : "";
        lua_pop(L, 1);
        throw Error("Lua error: Communication:ShowOptions():", text);
    }
    return Step::Waiting;
}

// The whole path is walked before anything changes, so a path that fails
// leaves the conversation where it was.
CommunicationLabel* Communication::Resolve(lua_State* L, const std::string& path) const
{
    CommunicationLabel* label = current;
    std::size_t start = 0;
    if (!path.empty() && IsSeparator(path[0]))
    {
        label = root.get();
        start = 1;
    }
    else if (!label)
    {
        LuaError(L, OutOfScope + path);
    }
    while (path.compare(start, 2, "..") == 0 && start + 2 < path.size() &&
           IsSeparator(path[start + 2]))
    {
        if (!label->parent)
            LuaError(L, OutOfScope + path);
        label = label->parent;
        start += 3;
    }
    for (;;)
    {
        const std::size_t end = std::min(path.find_first_of("/\\", start), path.size());
        label = RequireChild(L, *label, path.substr(start, end - start));
        if (end == path.size())
            return label;
        start = end + 1;
    }
}

CommunicationLabel* Communication::RequireChild(lua_State* L, const CommunicationLabel& label,
                                                const std::string& name)
{
    CommunicationLabel* const child = label.FindChild(name);
    if (!child)
        LuaError(L, "Can't find communication label '" + label.Path() + name + "'");
    return child;
}

int Communication::LuaSelect(lua_State* L)
{
    Communication* const self = LuaState::GetThis<Communication>(L);
    LuaCheckArgs(L, 1);
    if (self->state != Step::Waiting)
        return 0;
    const lua_Number n = lua_tonumber(L, 2);
    if (!(n >= 1 && n <= static_cast<lua_Number>(self->liveOptions.size())))
        LuaError(L, "Invalid index for Communication:Select");
    const std::size_t index = static_cast<std::size_t>(n);
    self->current = RequireChild(L, *self->current, self->liveOptions[index - 1].label);
    self->highlight = static_cast<int>(index);
    self->state = Step::StartLabel;
    return 0;
}

int Communication::LuaSkipChatLine(lua_State* L)
{
    Communication* const self = LuaState::GetThis<Communication>(L);
    if (self->state == Step::Speak && self->lineTime > 99)
        self->lineTime = self->current->lines[self->line].time;
    return 0;
}

int Communication::LuaExit(lua_State* L)
{
    Communication* const self = LuaState::GetThis<Communication>(L);
    if (self->state == Step::RunScript)
        self->current = nullptr;
    return 0;
}

// Back to the label above the parent, whose script runs next; after Exit
// there is nothing to go back from.
int Communication::LuaReturn(lua_State* L)
{
    Communication* const self = LuaState::GetThis<Communication>(L);
    if (self->state != Step::RunScript || !self->current)
        return 0;
    const CommunicationLabel* const parent = self->current->parent;
    self->current = parent ? parent->parent : nullptr;
    self->nextState = Step::RunScript;
    return 0;
}

int Communication::LuaGoto(lua_State* L)
{
    Communication* const self = LuaState::GetThis<Communication>(L);
    LuaCheckArgs(L, 1);
    if (self->state != Step::RunScript && self->state != Step::Waiting)
        return 0;
    const std::string path = LuaCheckText(L, 2);
    self->current = self->Resolve(L, path);
    if (self->state == Step::RunScript)
        self->nextState = Step::StartLabel;
    else
        self->state = Step::StartLabel;
    return 0;
}

int Communication::LuaAddOption(lua_State* L)
{
    Communication* const self = LuaState::GetThis<Communication>(L);
    LuaCheckArgs(L, 2);
    if (self->state != Step::RunScript)
        return 0;
    CommunicationOption option{LuaCheckText(L, 2), LuaCheckText(L, 3)};
    std::vector<CommunicationOption>& options = self->liveOptions;
    const std::size_t position = InsertPosition(L, options);
    options.insert(options.begin() + static_cast<std::ptrdiff_t>(position), std::move(option));
    return 0;
}

// Where the optional third argument puts a new option: before the k-th
// option for a number k, before the first option leading to the label for
// another text, at the end without it, and at the front for anything else.
std::size_t Communication::InsertPosition(lua_State* L,
                                          const std::vector<CommunicationOption>& options)
{
    const std::size_t end = options.size();
    if (lua_gettop(L) < 4)
        return end;
    if (lua_isnumber(L, 4))
    {
        const lua_Number k = lua_tonumber(L, 4);
        if (!(k >= 2))
            return 0;
        if (k >= static_cast<lua_Number>(end) + 1)
            return end;
        return static_cast<std::size_t>(k) - 1;
    }
    std::string label;
    if (!LuaToText(L, 4, label))
        return 0;
    const auto found = std::find_if(options.begin(), options.end(),
                                    [&](const CommunicationOption& o) { return o.label == label; });
    return static_cast<std::size_t>(found - options.begin());
}
