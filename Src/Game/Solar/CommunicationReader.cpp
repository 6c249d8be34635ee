#include "Game/Solar/CommunicationReader.h"

#include "Engine/Xml.h"
#include "Game/Solar/CommunicationLabel.h"

#include <cstdio>
#include <limits>

namespace
{

// The longest a line can stay: the whole range of its milliseconds.
const float LongestLineMs = static_cast<float>(std::numeric_limits<std::uint32_t>::max());

// The element's text, or "" when it holds none.
std::string TextOf(const TiXmlElement* element)
{
    const char* const text = element->GetText();
    return text ? text : "";
}

// Seconds to whole milliseconds, truncated; a negative time stays no time and
// a time beyond the range the longest.
std::uint32_t LineMs(float seconds)
{
    const float ms = seconds * 1000.0f;
    if (!(ms > 0.0f))
        return 0;
    if (ms >= LongestLineMs)
        return std::numeric_limits<std::uint32_t>::max();
    return static_cast<std::uint32_t>(ms);
}

// A byte that a Lua string literal cannot hold as it is.
bool NeedsEscape(unsigned char c)
{
    return c < 0x20 || c == 0x7F || c == '"' || c == '\\';
}

// The Lua call of a "goto" element: the path as written, in a Lua string that
// keeps every byte of it.
std::string GotoScript(const std::string& path)
{
    std::string script = "Communication:Goto(\"";
    for (const char c : path)
    {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (!NeedsEscape(byte))
        {
            script += c;
            continue;
        }
        // Always three digits, so that a digit after it is not taken in.
        char escape[5];
        std::snprintf(escape, sizeof escape, "\\%03u", static_cast<unsigned>(byte));
        script += escape;
    }
    return script + "\");";
}

} // namespace

CommunicationReader::CommunicationReader(DataStore* store, EventDispatcher* events, LuaState* lua)
    : DataReader(store, events, lua), root(std::make_unique<CommunicationLabel>(nullptr, ""))
{
}

CommunicationReader::~CommunicationReader() = default;

std::unique_ptr<CommunicationLabel> CommunicationReader::TakeRoot()
{
    return std::move(root);
}

void CommunicationReader::ReadElement(const TiXmlNode* element)
{
    ReadChildren(element, &CurrentLabel());
}

CommunicationLabel& CommunicationReader::CurrentLabel() const
{
    void* const context = CurrentContext();
    return context ? *static_cast<CommunicationLabel*>(context) : *root;
}

bool CommunicationReader::HandleTag(const TiXmlElement* element, const std::string& lowerTag)
{
    const TagReader reader = FindTag(lowerTag);
    if (!reader)
        return DataReader::HandleTag(element, lowerTag);
    (this->*reader)(element, CurrentLabel());
    return true;
}

CommunicationReader::TagReader CommunicationReader::FindTag(const std::string& lowerTag)
{
    static const struct
    {
        const char* tag;
        TagReader reader;
    } tags[] = {{"communication", &CommunicationReader::ReadLabel},
                {"line", &CommunicationReader::ReadLine},
                {"option", &CommunicationReader::ReadOption},
                {"audio", &CommunicationReader::ReadAudio},
                {"script", &CommunicationReader::ReadScript},
                {"exit", &CommunicationReader::ReadExit},
                {"return", &CommunicationReader::ReadReturn},
                {"goto", &CommunicationReader::ReadGoto}};
    for (const auto& entry : tags)
    {
        if (lowerTag == entry.tag)
            return entry.reader;
    }
    return nullptr;
}

// The label joins its parent only when it is whole, so that a path never
// reaches a label half read.
void CommunicationReader::ReadLabel(const TiXmlElement* element, CommunicationLabel& label)
{
    const std::string name = XmlRequireAttribute(element, "label");
    if (name.find_first_of("./\\") != std::string::npos)
        XmlError(element, "Illegal communication label, it contains '.' or '/' or '\\'");
    auto child = std::make_unique<CommunicationLabel>(&label, name);
    ReadChildren(element, child.get());
    label.children[name] = std::move(child);
}

void CommunicationReader::ReadLine(const TiXmlElement* element, CommunicationLabel& label)
{
    float seconds;
    XmlGetFloat(element, "time", seconds, 1.0f);
    label.lines.push_back({TextOf(element), LineMs(seconds)});
}

void CommunicationReader::ReadOption(const TiXmlElement* element, CommunicationLabel& label)
{
    const std::string text = TextOf(element);
    if (text.empty())
        return;
    label.options.push_back({text, XmlRequireAttribute(element, "label")});
}

void CommunicationReader::ReadAudio(const TiXmlElement* element, CommunicationLabel& label)
{
    label.audio = XmlRequirePath(element, "file", CurrentDirectory());
}

void CommunicationReader::ReadScript(const TiXmlElement* element, CommunicationLabel& label)
{
    label.script += TextOf(element) + "\n";
}

void CommunicationReader::ReadExit(const TiXmlElement*, CommunicationLabel& label)
{
    label.script += "Communication:Exit();";
}

void CommunicationReader::ReadReturn(const TiXmlElement*, CommunicationLabel& label)
{
    label.script += "Communication:Return();";
}

void CommunicationReader::ReadGoto(const TiXmlElement* element, CommunicationLabel& label)
{
    label.script += GotoScript(XmlRequireAttribute(element, "label"));
}
