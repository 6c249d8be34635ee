#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

// One spoken line of a conversation and how long it stays, in milliseconds.
struct CommunicationLine
{
    std::string text;
    std::uint32_t time = 0;
};

// An answer the player may give, and the name of the label it leads to among
// the children of the label that offers it.
struct CommunicationOption
{
    std::string text;
    std::string label;
};

// One node of a conversation's tree: what is said there, the script that runs
// after it, the answers it offers and the labels below it. The root has no
// parent and an empty name.
class CommunicationLabel
{
public:
    CommunicationLabel(CommunicationLabel* parent, const std::string& name)
        : parent(parent), name(name)
    {
    }

    // The child of that name, or null.
    CommunicationLabel* FindChild(const std::string& childName) const;

    // Every name from the root down, each followed by "/": "/" for the root,
    // "/a/b/" for the child b of the root's child a.
    std::string Path() const;

    CommunicationLabel* const parent;
    const std::string name;
    // Named by the data and never played.
    std::string audio;
    std::vector<CommunicationLine> lines;
    std::vector<CommunicationOption> options;
    std::string script;
    std::map<std::string, std::unique_ptr<CommunicationLabel>> children;
};
