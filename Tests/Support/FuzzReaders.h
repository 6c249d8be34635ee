#pragma once

#include "Engine/DataStore.h"
#include "Engine/EventDispatcher.h"
#include "Engine/LuaState.h"
#include "Ui/Root.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// What a game state reads its data with: a store, and, made anew for each
// input, a dispatcher, a Lua state and an interface root over a 640 by 480
// screen. The store's parent holds, for the whole process, the fonts and
// textures that the interfaces of the seeds name (those of the menu, and
// "Font", "Solid" and "Other"); their loads have failed once, so no input
// loads them again. The store itself serves the whole run, so its loader
// thread starts once: everything an input registers goes into it and is
// deleted when the input's loads have ended.
class FuzzReaders
{
public:
    // StartFuzzTarget with the data files of Tests/Fuzz/ReaderFiles, the
    // resource kinds and the interface reader registered as the game does,
    // and the shared store filled.
    static void Start(int argc, char** argv);

    // Writes the input as the file of that name first.
    FuzzReaders(const std::string& file, const std::uint8_t* data, std::size_t size);
    // The interface goes first, as in a game state: its frames point into
    // the stores and register with the dispatcher.
    ~FuzzReaders();
    FuzzReaders(const FuzzReaders&) = delete;
    FuzzReaders& operator=(const FuzzReaders&) = delete;

    // Runs the read, which may fail only with Error, then checks that it
    // left the Lua stack as it found it.
    void Read(const std::function<void()>& read);

private:
    // Waits for the loads the input asked for, then empties the store; it
    // comes first, so that it goes last, as a game state's store does.
    struct EmptiedAtEnd
    {
        ~EmptiedAtEnd();
        DataStore& store;
    };
    EmptiedAtEnd emptiedAtEnd;

public:
    DataStore& store;
    EventDispatcher events;
    LuaState lua;
    std::unique_ptr<Ui::Root> root;
};
