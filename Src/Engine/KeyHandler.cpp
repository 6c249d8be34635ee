#include "Engine/KeyHandler.h"

#include "Engine/EventDispatcher.h"

#include <algorithm>

KeyHandler::KeyHandler(EventDispatcher& dispatcher, int count, bool consumes)
    : count(count), consumes(consumes), down(count, false), keys(count, 0), dispatcher(dispatcher)
{
}

KeyHandler::~KeyHandler()
{
    Disable();
}

void KeyHandler::SetKey(int index, int symbol)
{
    if (index >= 0 && index < count)
        keys[index] = symbol;
}

void KeyHandler::Enable()
{
    if (enabled)
        return;
    Clear();
    dispatcher.AddHandler(SDL_KEYDOWN, OnKey, this, false);
    dispatcher.AddHandler(SDL_KEYUP, OnKey, this, false);
    enabled = true;
}

void KeyHandler::Disable()
{
    if (!enabled)
        return;
    dispatcher.RemoveHandler(SDL_KEYDOWN, OnKey, this);
    dispatcher.RemoveHandler(SDL_KEYUP, OnKey, this);
    Clear();
    enabled = false;
}

bool KeyHandler::OnKey(const SDL_Event& event, Object* data)
{
    KeyHandler* const self = dynamic_cast<KeyHandler*>(data);
    if (!self)
        return false;
    const auto key = std::find(self->keys.begin(), self->keys.end(), event.key.keysym.sym);
    if (key == self->keys.end())
        return false;
    self->down[key - self->keys.begin()] = event.type == SDL_KEYDOWN;
    self->changed = true;
    return self->consumes;
}

void KeyHandler::Clear()
{
    std::fill(down.begin(), down.end(), false);
    changed = false;
}
