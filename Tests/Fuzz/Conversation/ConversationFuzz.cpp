// A conversation file, read by the conversation reader into a tree of labels
// as the solar system reads "CommanderComm": its "ui" elements build frames
// under the window, its other data elements work as anywhere. Whatever tree
// it accepts must be one that the paths of the scripts can walk: every label
// under its own name, no name with a path separator or a dot, every parent
// the label above.

#include "Game/Solar/CommunicationLabel.h"
#include "Game/Solar/CommunicationReader.h"
#include "Support/FuzzInput.h"
#include "Support/FuzzReaders.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace
{

void CheckLabel(const CommunicationLabel& label)
{
    for (const auto& [name, child] : label.children)
    {
        FuzzCheck(child && child->name == name, "a label filed under another name");
        FuzzCheck(child->parent == &label, "a label whose parent is not the label above");
        FuzzCheck(name.find_first_of("./\\") == std::string::npos,
                  "a label name that a path cannot reach");
        CheckLabel(*child);
    }
    for (const CommunicationOption& option : label.options)
        FuzzCheck(!option.text.empty(), "an option without text");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    FuzzReaders::Start(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzReaders readers("Data/Talk/Input.xml", data, size);
    CommunicationReader reader(&readers.store, &readers.events, &readers.lua);
    reader.SetParent(readers.root->AsParent());
    std::unique_ptr<CommunicationLabel> root;
    readers.Read([&] {
        reader.ReadFile("Data/Talk/Input.xml", "");
        root = reader.TakeRoot();
    });
    if (root)
    {
        FuzzCheck(!root->parent && root->name.empty(), "a root with a parent or a name");
        CheckLabel(*root);
    }
    return 0;
}
