// An interface definition file, read into an interface root by the reader of
// "ui" elements, as a data file's "include" of it would. The files of
// Tests/Fuzz/ReaderFiles stand beside it.

#include "Support/FuzzInput.h"
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
    WriteInput("Data/Menu/Input.xml", data, size);
    FuzzReaders readers;
    Ui::UiDataReader reader(&readers.store, &readers.events, &readers.lua, *readers.root);
    reader.SetParent(readers.root->AsParent());
    readers.Read([&] { reader.ReadFile("Data/Menu/Input.xml", ""); });
    return 0;
}
