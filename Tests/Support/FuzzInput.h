#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// What every fuzz target shares. The targets run in one process for many
// inputs, so each input is read by objects made for it alone; only what the
// game sets up once per process (SDL, the file mutex, the registries) is set
// up once here.

// Starts SDL with the dummy drivers and creates the file mutex, then makes a
// fresh working directory for this process, removed at exit, and copies the
// fixture files of the folder Tests/Fuzz/<fixtures> into it (none when the
// name is empty). The paths among libFuzzer's arguments are made absolute
// first, so that they still name what they named; the program's own path
// must be absolute for fork mode, which starts it again.
void StartFuzzTarget(int argc, char** argv, const std::string& fixtures);

// Ends the process with the message when a property of the code under test
// does not hold, so that the fuzzer keeps the input.
void FuzzCheck(bool holds, const char* property);

// Writes the input as a file of the working directory, creating its folders.
void WriteInput(const std::string& name, const std::uint8_t* data, std::size_t size);
