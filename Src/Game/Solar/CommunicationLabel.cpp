#include "Game/Solar/CommunicationLabel.h"

CommunicationLabel* CommunicationLabel::FindChild(const std::string& childName) const
{
    const auto found = children.find(childName);
    return found == children.end() ? nullptr : found->second.get();
}

std::string CommunicationLabel::Path() const
{
    std::string path;
    for (const CommunicationLabel* label = this; label; label = label->parent)
        path.insert(0, label->name + "/");
    return path;
}
