#pragma once

#include "Engine/Object.h"

#include <SDL.h>
#include <vector>

class EventDispatcher;

// Tracks whether each of a fixed set of keys is held down, while enabled.
// Events of watched keys are consumed unless the handler shares its keys with
// others (two ships on the same keys); others pass on.
class KeyHandler : public Object
{
public:
    // Watches `count` keys, all with symbol 0 until SetKey; disabled.
    KeyHandler(EventDispatcher& dispatcher, int count, bool consumes = true);
    ~KeyHandler() override;
    KeyHandler(const KeyHandler&) = delete;
    KeyHandler& operator=(const KeyHandler&) = delete;

    // Sets the SDL key symbol of a watched key; an index out of range is ignored.
    void SetKey(int index, int symbol);

    // Both clear every state and `changed`.
    void Enable();
    void Disable();

    const int count;
    const bool consumes;
    // True while the watched key of that index is held.
    std::vector<bool> down;
    // Set whenever a watched key changes state; its users clear it.
    bool changed = false;

private:
    static bool OnKey(const SDL_Event& event, Object* data);
    void Clear();

    std::vector<int> keys;
    EventDispatcher& dispatcher;
    bool enabled = false;
};
