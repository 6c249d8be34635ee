// The root data file of the menu, read as the menu state reads its group:
// through a data reader bound to a store, a dispatcher, a Lua state and an
// interface root. The files of Tests/Fuzz/ReaderFiles stand beside it.

#include "Engine/DataReader.h"
#include "Support/FuzzReaders.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    FuzzReaders::Start(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzReaders readers("Data/Root.xml", data, size);
    DataReader reader(&readers.store, &readers.events, &readers.lua);
    reader.SetParent(readers.root->AsParent());
    readers.Read([&] { reader.ReadFile("Data/Root.xml", "MenuData"); });
    return 0;
}
