// An interface definition file, read into an interface root by the interface
// reader: its top-level elements are read as the children of a "Ui" element
// are, and a top-level "Ui" element gets a reader of its own, as in the
// game's files. The files of Tests/Fuzz/ReaderFiles stand beside it.

#include "Support/FuzzReaders.h"
#include "Ui/UiDataReader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    FuzzReaders::Start(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzReaders readers("Data/Menu/Input.xml", data, size);
    Ui::UiDataReader reader(&readers.store, &readers.events, &readers.lua, *readers.root);
    reader.SetParent(readers.root->AsParent());
    readers.Read([&] { reader.ReadFile("Data/Menu/Input.xml", ""); });
    return 0;
}
