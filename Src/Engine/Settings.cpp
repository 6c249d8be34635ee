#include "Engine/Settings.h"

#include "Engine/StringUtil.h"
#include "Engine/Xml.h"
#include "Platform/FileSystem.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <tinyxml.h>
#include <variant>
#include <vector>

const char* const GameTitle = "ZEV - Quillmere";
const char* const GameVersion = "0.3 (build 280M)";

float StepSeconds;

const char* const Settings::FileName = "settings.xml";

int Settings::width;
int Settings::height;
int Settings::bitsPerPixel;
bool Settings::fullScreen;
bool Settings::waitVerticalRetrace;
float Settings::gammaCorrection;
bool Settings::enabled;
int Settings::frequency;
int Settings::chunkSize;
int Settings::channels;
int Settings::speakers;
bool Settings::reverseStereo;
float Settings::musicVolume;
float Settings::sfxVolume;
std::string Settings::serverAddress;
int Settings::serverPort;
std::string Settings::rootXml;
int Settings::timeStep;
bool Settings::useDelay;

namespace
{

TiXmlElement* AppendElement(TiXmlNode* parent, const char* name)
{
    return parent->InsertEndChild(TiXmlElement(name))->ToElement();
}

std::string Printed(const TiXmlDocument& document)
{
    std::string text;
    text << document;
    return text;
}

std::string FloatText(float value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%f", value);
    return text;
}

// The values the game can run with. The audio values below 1 let the sound
// start-up choose (Audio::Init); the others must suit SDL and the mixer.
bool IsWindowSide(int pixels)
{
    return pixels >= 1 && pixels <= 16384;
}

bool IsColourDepth(int bits)
{
    return bits == 8 || bits == 15 || bits == 16 || bits == 24 || bits == 32;
}

bool IsMixerRate(int hertz)
{
    return hertz < 1 || (hertz >= 8000 && hertz <= 192000);
}

// SDL counts the samples of a chunk in 16 bits.
bool IsChunkSize(int samples)
{
    return samples < 1 || (samples >= 64 && samples <= 65535);
}

bool IsMixChannelCount(int count)
{
    return count <= 256;
}

bool IsSpeakerCount(int count)
{
    return count <= 2 || count == 4 || count == 6;
}

// The frame timer divides by the step.
bool IsTimeStep(int ms)
{
    return ms >= 1 && ms <= 1000;
}

// One option of "settings.xml": where it stands, the variable it sets, its
// default and, for numbers, the values the game can run with (null: any).
template <class T>
struct Value
{
    T* variable;
    T defaultValue;
    bool (*usable)(T) = nullptr;
};

struct Option
{
    const char* section;
    const char* key;
    std::variant<Value<int>, Value<float>, Value<bool>, Value<std::string>> value;
    // Chosen by the sound start-up: written back only once the mixer opened.
    bool mixerChosen = false;
};

// In the order the file is written, grouped by section.
const std::vector<Option>& Options()
{
    static const std::vector<Option> options = {
        {"Display", "width", Value<int>{&Settings::width, 640, IsWindowSide}},
        {"Display", "height", Value<int>{&Settings::height, 480, IsWindowSide}},
        {"Display", "bitsPerPixel", Value<int>{&Settings::bitsPerPixel, 32, IsColourDepth}},
        {"Display", "fullScreen", Value<bool>{&Settings::fullScreen, false}},
        {"Display", "waitVerticalRetrace", Value<bool>{&Settings::waitVerticalRetrace, true}},
        {"Display", "gammaCorrection", Value<float>{&Settings::gammaCorrection, 1.0f}},
        {"Audio", "enabled", Value<bool>{&Settings::enabled, true}},
        {"Audio", "frequency", Value<int>{&Settings::frequency, 0, IsMixerRate}, true},
        {"Audio", "chunkSize", Value<int>{&Settings::chunkSize, 0, IsChunkSize}, true},
        {"Audio", "channels", Value<int>{&Settings::channels, 0, IsMixChannelCount}, true},
        {"Audio", "speakers", Value<int>{&Settings::speakers, 0, IsSpeakerCount}, true},
        {"Audio", "reverseStereo", Value<bool>{&Settings::reverseStereo, false}},
        {"Audio", "musicVolume", Value<float>{&Settings::musicVolume, 1.0f}},
        {"Audio", "sfxVolume", Value<float>{&Settings::sfxVolume, 1.0f}},
        {"Net", "serverAddress", Value<std::string>{&Settings::serverAddress, "127.0.0.1"}},
        {"Net", "serverPort", Value<int>{&Settings::serverPort, 2000}},
        {"Other", "rootXml", Value<std::string>{&Settings::rootXml, "Data/Root.xml"}},
        {"Other", "timeStep", Value<int>{&Settings::timeStep, 15, IsTimeStep}},
        {"Other", "useDelay", Value<bool>{&Settings::useDelay, true}}};
    return options;
}

void WarnKept(const TiXmlAttribute& option, const char* section, const std::string& kept)
{
    std::printf("Invalid value '%s' of the %s option '%s' in '%s': keeping %s\n", option.Value(),
                section, option.Name(), Settings::FileName, kept.c_str());
}

// Each reader keeps the value, with a warning naming the section and the
// option, when the text is not one it accepts.
void ReadValue(const TiXmlAttribute& option, const char* section, const Value<int>& value)
{
    int read = 0;
    if (StringToInt(option.Value(), read) && (!value.usable || value.usable(read)))
        *value.variable = read;
    else
        WarnKept(option, section, ToString(*value.variable));
}

void ReadValue(const TiXmlAttribute& option, const char* section, const Value<float>& value)
{
    if (!StringToFloat(option.Value(), *value.variable))
        WarnKept(option, section, FloatText(*value.variable));
}

// Only "true" and "false" set the value whatever it was before.
void ReadValue(const TiXmlAttribute& option, const char* section, const Value<bool>& value)
{
    bool fromFalse = false;
    bool fromTrue = true;
    StringToBool(option.ValueStr(), fromFalse);
    StringToBool(option.ValueStr(), fromTrue);
    if (fromFalse == fromTrue)
        *value.variable = fromFalse;
    else
        WarnKept(option, section, BoolToString(*value.variable));
}

void ReadValue(const TiXmlAttribute& option, const char*, const Value<std::string>& value)
{
    *value.variable = option.ValueStr();
}

// The option of the section whose first attribute is the key; a new one
// holding "0" when there is none.
TiXmlAttribute* GetOption(TiXmlElement* section, const char* key)
{
    for (TiXmlElement* option = section->FirstChildElement("Option"); option;
         option = option->NextSiblingElement("Option"))
    {
        TiXmlAttribute* first = option->FirstAttribute();
        if (first && first->NameTStr() == key)
            return first;
    }
    TiXmlElement* option = AppendElement(section, "Option");
    option->SetAttribute(key, "0");
    return option->FirstAttribute();
}

// Each writer stores the value and says whether that changed the file.
bool WriteValue(TiXmlAttribute& option, const Value<int>& value)
{
    int previous = 0;
    StringToInt(option.Value(), previous);
    option.SetValue(ToString(*value.variable));
    return previous != *value.variable;
}

bool WriteValue(TiXmlAttribute& option, const Value<float>& value)
{
    float previous = 0;
    const bool isNumber = StringToFloat(option.Value(), previous);
    option.SetValue(FloatText(*value.variable));
    return !isNumber || std::isnan(*value.variable) || previous != *value.variable;
}

bool WriteText(TiXmlAttribute& option, const std::string& text)
{
    const bool changed = option.ValueStr() != text;
    option.SetValue(text);
    return changed;
}

bool WriteValue(TiXmlAttribute& option, const Value<bool>& value)
{
    return WriteText(option, BoolToString(*value.variable));
}

bool WriteValue(TiXmlAttribute& option, const Value<std::string>& value)
{
    return WriteText(option, *value.variable);
}

void ReadOption(const TiXmlAttribute& attribute, const char* section)
{
    for (const Option& option : Options())
    {
        if (std::strcmp(option.section, section) == 0 && attribute.NameTStr() == option.key)
        {
            std::visit([&](const auto& value) { ReadValue(attribute, section, value); },
                       option.value);
            return;
        }
    }
}

// Reads every "Option" element of the section by its first attribute.
void ForEachOption(const TiXmlElement* element, const char* section)
{
    for (const TiXmlElement* option = element->FirstChildElement(); option;
         option = option->NextSiblingElement())
    {
        if (XmlLowerTag(option) == "option" && option->FirstAttribute())
            ReadOption(*option->FirstAttribute(), section);
    }
}

// The section of the table that the element's name stands for, in any case.
const char* FindSection(const TiXmlElement* element)
{
    const std::string lowerName = XmlLowerTag(element);
    for (const Option& option : Options())
    {
        std::string section = option.section;
        ToLower(section);
        if (section == lowerName)
            return option.section;
    }
    return nullptr;
}

const std::size_t NotFound = std::string::npos;

// Where the document type declaration starts when the prolog holds one: after
// the white space, comments and processing instructions that may precede it.
std::size_t FindDoctype(const std::string& text)
{
    std::size_t at = 0;
    while ((at = text.find_first_not_of(" \t\n", at)) != NotFound)
    {
        const bool comment = text.compare(at, 4, "<!--") == 0;
        if (!comment && text.compare(at, 2, "<?") != 0)
            return text.compare(at, 9, "<!DOCTYPE") == 0 ? at : NotFound;
        const std::string end = comment ? "-->" : ">";
        at = text.find(end, at);
        if (at == NotFound)
            return NotFound;
        at += end.size();
    }
    return NotFound;
}

// Just past the '>' that ends the declaration starting there, when it holds
// an internal subset in brackets; NotFound otherwise.
std::size_t InternalSubsetEnd(const std::string& text, std::size_t start)
{
    const std::size_t open = text.find_first_of("[>", start);
    if (open == NotFound || text[open] != '[')
        return NotFound;
    char quote = '\0';
    for (std::size_t at = open + 1; at < text.size(); ++at)
    {
        const char c = text[at];
        if (quote)
            quote = c == quote ? '\0' : quote;
        else if (c == '"' || c == '\'')
            quote = c;
        else if (c == ']')
        {
            const std::size_t close = text.find_first_not_of(" \t\n", at + 1);
            return close != NotFound && text[close] == '>' ? close + 1 : NotFound;
        }
    }
    return NotFound;
}

// TinyXML ends a document type declaration at its first '>', so one with an
// internal subset (<!DOCTYPE Settings [<!ENTITY a "b">]>) would lose its end
// and the document after it. The declaration is parsed as a placeholder of
// as many lines, which then takes the declaration's text to be written back.
// Empty when the text parses into a document with a root element; otherwise
// what is wrong.
std::string Parse(TiXmlDocument& document, std::string text)
{
    const std::size_t size = text.size(); // the document's, before the placeholder
    const std::size_t start = FindDoctype(text);
    const std::size_t end = start == NotFound ? NotFound : InternalSubsetEnd(text, start);
    std::string declaration;
    if (end != NotFound)
    {
        declaration = text.substr(start + 1, end - start - 2);
        const std::string lines(std::count(declaration.begin(), declaration.end(), '\n'), '\n');
        text.replace(start, end - start, "<!DOCTYPE" + lines + ">");
    }
    const std::string problem = XmlTextProblem(text.c_str(), size);
    if (!problem.empty())
        return problem;
    XmlParse(document, text.c_str());
    if (document.Error())
        return std::string(document.ErrorDesc()) + " at line " + ToString(document.ErrorRow());
    if (!document.RootElement())
        return "it holds no element";
    for (TiXmlNode* node = document.FirstChild(); node && !declaration.empty();
         node = node->NextSibling())
    {
        if (node->ToUnknown())
        {
            node->SetValue(declaration);
            break;
        }
    }
    return "";
}

void WarnNotSaved(const std::string& file, const std::string& reason)
{
    std::printf("Can't save '%s' (%s): the settings of this run are not kept\n", file.c_str(),
                reason.c_str());
}

// settings.xml, or the file a link of that name leads to, so that the link
// stays. A link that leads nowhere is replaced.
std::string SaveTarget()
{
    std::error_code error;
    if (!std::filesystem::is_symlink(Settings::FileName, error) ||
        !std::filesystem::exists(Settings::FileName, error))
        return Settings::FileName;
    const std::filesystem::path target = std::filesystem::canonical(Settings::FileName, error);
    return error ? Settings::FileName : target.string();
}

} // namespace

Settings::Settings()
{
    SetDefaults();
}

Settings::~Settings() = default;

void Settings::SetDefaults()
{
    for (const Option& option : Options())
        std::visit([](const auto& value) { *value.variable = value.defaultValue; }, option.value);
    StepSeconds = timeStep / 1000.0f;
}

void Settings::Load()
{
    document = std::make_unique<TiXmlDocument>(FileName);
    std::string text;
    std::FILE* file = Platform::OpenFile(FileName, "rb");
    if (!file)
    {
        if (errno != ENOENT)
            KeepUserFile(std::strerror(errno));
        return;
    }
    const bool read = ReadText(file, text);
    std::fclose(file);
    if (!read)
    {
        KeepUserFile("it cannot be read");
        return;
    }
    // An empty file holds nothing to keep: like a missing one, it is written
    // in full at exit.
    if (text.empty())
        return;
    const std::string problem = Parse(*document, text);
    if (!problem.empty())
    {
        KeepUserFile(problem);
        return;
    }
    ReadSections();
}

void Settings::MixerOpened()
{
    mixerOpened = true;
}

// Line ends become "\n", as the parser's own file loading makes them. Of a
// file larger than an XML text may be, only as much is read as refuses it.
bool Settings::ReadText(std::FILE* file, std::string& text)
{
    std::string raw;
    char chunk[4096];
    std::size_t count;
    while (raw.size() <= MaxXmlBytes && (count = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        raw.append(chunk, count);
    if (std::ferror(file))
        return false;
    if (raw.size() > MaxXmlBytes)
    {
        text = std::move(raw);
        return true;
    }
    text.reserve(raw.size());
    for (std::size_t at = 0; at < raw.size(); ++at)
    {
        if (raw[at] != '\r')
            text += raw[at];
        else if (at + 1 == raw.size() || raw[at + 1] != '\n')
            text += '\n';
    }
    return true;
}

void Settings::ReadSections()
{
    const TiXmlElement* root = document->FirstChildElement("Settings");
    if (!root)
        return;
    for (const TiXmlElement* element = root->FirstChildElement(); element;
         element = element->NextSiblingElement())
    {
        if (const char* const section = FindSection(element))
            ForEachOption(element, section);
    }
    StepSeconds = timeStep / 1000.0f;
}

// Without a document Save writes nothing, so the user's file stays as it is.
void Settings::KeepUserFile(const std::string& reason)
{
    std::printf("Can't read '%s' (%s): using the default settings and leaving the file as it is\n",
                FileName, reason.c_str());
    document.reset();
}

void Settings::Save()
{
    if (!document)
        return;
    TiXmlElement* root = document->FirstChildElement("Settings");
    bool changed = !root;
    if (!root)
        root = AppendElement(document.get(), "Settings");
    changed |= WriteSections(root);
    if (changed)
        WriteFile();
}

// Writes beside the file and renames over it, so that an interrupted save
// leaves the old file whole. TinyXML reads some malformed text that it then
// writes in a form it reads differently (an unquoted value ending in a stray
// byte comes back quoted, and the byte swallows the quote; a broken character
// reference in the declaration swallows the rest of the file), so what was
// written replaces the file only once it reads back as the same document.
// The file written is new and only ours, whatever stands beside it, and gets
// the permissions of the one it replaces.
void Settings::WriteFile() const
{
    const std::string target = SaveTarget();
    std::string temporary;
    std::FILE* const file = Platform::OpenUniqueFile(target + ".", temporary);
    if (!file)
    {
        WarnNotSaved(target, std::strerror(errno));
        return;
    }
    document->SaveFile(file);
    std::string text;
    TiXmlDocument saved;
    const bool readable = std::fflush(file) == 0 && !std::ferror(file) &&
                          std::fseek(file, 0, SEEK_SET) == 0 && ReadText(file, text) &&
                          Parse(saved, text).empty() && Printed(saved) == Printed(*document);
    Platform::CopyPermissions(target, file);
    const bool closed = std::fclose(file) == 0;
    if (!readable)
        std::printf("Can't save '%s' so that it reads back: leaving the file as it is\n",
                    target.c_str());
    else if (!closed || std::rename(temporary.c_str(), target.c_str()) != 0)
        WarnNotSaved(target, std::strerror(errno));
    else
        return;
    std::remove(temporary.c_str());
}

// A section the file lacks is added at the end; the options of the table
// are written into the first element of each section's exact name.
bool Settings::WriteSections(TiXmlElement* root) const
{
    bool changed = false;
    const char* sectionName = "";
    TiXmlElement* section = nullptr;
    for (const Option& option : Options())
    {
        if (std::strcmp(option.section, sectionName) != 0)
        {
            sectionName = option.section;
            section = root->FirstChildElement(sectionName);
            if (!section)
            {
                section = AppendElement(root, sectionName);
                changed = true;
            }
        }
        // A mixer that did not open used none of its values: the file keeps
        // its own.
        if (option.mixerChosen && !mixerOpened)
            continue;
        TiXmlAttribute& attribute = *GetOption(section, option.key);
        changed |= std::visit([&](const auto& value) { return WriteValue(attribute, value); },
                              option.value);
    }
    return changed;
}
