#pragma once

#include "Engine/DataStore.h"
#include "Engine/Object.h"
#include "Game/Solar/CommunicationLabel.h"

#include <cstddef>
#include <cstdint>
#include <lua.hpp>
#include <memory>
#include <string>
#include <vector>

class EventDispatcher;
class LuaState;

namespace Ui
{
class FrameController;
class FrameModel;
class Root;
class TextView;
} // namespace Ui

// Plays a conversation in the interface: the lines of the current label one
// after another in the text area "CommunicationWindowText", then the label's
// script, then its options, handed to the interface's Lua code. The choice of
// the player or the script moves on to another label; the conversation is
// over when no label is current.
//
// Scripts and the interface drive it through the Lua table "Communication":
// the data's scripts create it with the callbacks "HideOptions" and
// "ShowOptions", the conversation's own scripts add "StartSpeaking" and
// "StopSpeaking", and the conversation adds its methods Select, SkipChatLine,
// Exit, Return, Goto and AddOption. Once it is gone, a method called through
// the table raises "Invalid Lua object!".
class Communication : public Object
{
public:
    // Reads the conversation that the alias resource of that name stands for,
    // and the shared conversation data "CommunicationData", into a store of
    // its own below the parent store; "ui" elements build frames under the
    // frame "CommunicationWindow". Shows "CommunicationFrame". Throws Error
    // when the table, a frame, a resource or the data is missing or wrong,
    // and leaves nothing behind then.
    Communication(const std::string& name, DataStore* parentStore, EventDispatcher* dispatcher,
                  LuaState* luaState, Ui::Root* uiRoot);
    // Deletes the frames under "CommunicationWindow" and hides
    // "CommunicationFrame".
    ~Communication() override;
    Communication(const Communication&) = delete;
    Communication& operator=(const Communication&) = delete;

    // Plays on for the milliseconds of a frame; false once the conversation
    // is over. Throws Error when a script or callback fails, or when the
    // conversation keeps moving from label to label without ever settling.
    bool Update(std::uint32_t ms);

private:
    enum class Step
    {
        StartLabel,
        Speak,
        StopSpeaking,
        RunScript,
        ShowOptions,
        Waiting
    };

    void BindTable();
    void FindFrames(Ui::Root& uiRoot);
    void Read(const std::string& name, Ui::Root& uiRoot);
    void Release();

    Step RunStep(Step step, std::uint32_t ms);
    Step StartLabel();
    Step Speak(std::uint32_t ms);
    Step StopSpeaking();
    Step RunScript();
    Step ShowOptions();

    // The label the path leads to from the current label; raises a Lua error
    // when it leads nowhere.
    CommunicationLabel* Resolve(lua_State* L, const std::string& path) const;
    static CommunicationLabel* RequireChild(lua_State* L, const CommunicationLabel& label,
                                            const std::string& name);
    static std::size_t InsertPosition(lua_State* L,
                                      const std::vector<CommunicationOption>& options);

    static int LuaSelect(lua_State* L);
    static int LuaSkipChatLine(lua_State* L);
    static int LuaExit(lua_State* L);
    static int LuaReturn(lua_State* L);
    static int LuaGoto(lua_State* L);
    static int LuaAddOption(lua_State* L);

    // Goes last, after the frames that may use its resources.
    DataStore store;
    LuaState& lua;
    // Not owned; handed to the reader of the conversation.
    EventDispatcher* const dispatcher;
    // The registry reference of the table "Communication".
    int table;
    Ui::FrameController* window = nullptr;
    Ui::FrameModel* frame = nullptr;
    Ui::TextView* textView = nullptr;
    std::unique_ptr<CommunicationLabel> root;
    CommunicationLabel* current = nullptr;
    Step state = Step::StartLabel;
    Step nextState = Step::ShowOptions;
    std::uint32_t lineTime = 0;
    std::size_t line = 0;
    std::vector<CommunicationOption> liveOptions;
    int highlight = 1;
    const CommunicationLabel* lastOptionsLabel = nullptr;
};
