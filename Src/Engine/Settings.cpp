#include "Engine/Settings.h"

#include "Engine/StringUtil.h"
#include "Engine/Xml.h"
#include "Engine/XmlNesting.h"
#include "Platform/FileSystem.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <tinyxml.h>

const char* const GameTitle = "ZEV - Quillmere";
const char* const GameVersion = "0.3 (build 280M)";

float StepSeconds;

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

const char* const FileName = "settings.xml";
const char* const TemporaryFileName = "settings.xml.tmp";

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
bool IsAnyInt(int)
{
    return true;
}

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

} // namespace

Settings::Settings()
{
    SetDefaults();
}

Settings::~Settings() = default;

void Settings::SetDefaults()
{
    width = 640;
    height = 480;
    bitsPerPixel = 32;
    fullScreen = false;
    waitVerticalRetrace = true;
    gammaCorrection = 1.0f;
    enabled = true;
    frequency = 0;
    chunkSize = 0;
    channels = 0;
    speakers = 0;
    reverseStereo = false;
    musicVolume = 1.0f;
    sfxVolume = 1.0f;
    serverAddress = "127.0.0.1";
    serverPort = 2000;
    rootXml = "Data/Root.xml";
    timeStep = 15;
    useDelay = true;
    StepSeconds = 0.015f;
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
    std::string problem = CheckXmlNesting(text.c_str());
    if (problem.empty())
    {
        XmlParse(*document, text.c_str());
        if (document->Error())
            problem = std::string(document->ErrorDesc()) + " at line " +
                      ToString(document->ErrorRow());
    }
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

// Line ends become "\n", as the parser's own file loading makes them.
bool Settings::ReadText(std::FILE* file, std::string& text)
{
    std::string raw;
    char chunk[4096];
    std::size_t count;
    while ((count = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        raw.append(chunk, count);
    if (std::ferror(file))
        return false;
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
    for (const TiXmlElement* section = root->FirstChildElement(); section;
         section = section->NextSiblingElement())
    {
        std::string name = section->ValueStr();
        ToLower(name);
        if (name == "display")
            ForEachOption(section, ReadDisplay);
        else if (name == "audio")
            ForEachOption(section, ReadAudio);
        else if (name == "net")
            ForEachOption(section, ReadNet);
        else if (name == "other")
            ForEachOption(section, ReadOther);
    }
}

// Without a document Save writes nothing, so the user's file stays as it is.
void Settings::KeepUserFile(const std::string& reason)
{
    std::printf("Can't read '%s' (%s): using the default settings and leaving the file as it is\n",
                FileName, reason.c_str());
    document.reset();
}

void Settings::ForEachOption(const TiXmlElement* section, OptionReader reader)
{
    for (const TiXmlElement* option = section->FirstChildElement(); option;
         option = option->NextSiblingElement())
    {
        std::string name = option->ValueStr();
        ToLower(name);
        if (name == "option" && option->FirstAttribute())
            reader(*option->FirstAttribute());
    }
}

void Settings::ReadDisplay(const TiXmlAttribute& option)
{
    const char* const section = "Display";
    const std::string& key = option.NameTStr();
    if (key == "width")
        ReadInt(option, section, width, IsWindowSide);
    else if (key == "height")
        ReadInt(option, section, height, IsWindowSide);
    else if (key == "bitsPerPixel")
        ReadInt(option, section, bitsPerPixel, IsColourDepth);
    else if (key == "fullScreen")
        ReadBool(option, section, fullScreen);
    else if (key == "waitVerticalRetrace")
        ReadBool(option, section, waitVerticalRetrace);
    else if (key == "gammaCorrection")
        ReadFloat(option, section, gammaCorrection);
}

void Settings::ReadAudio(const TiXmlAttribute& option)
{
    const char* const section = "Audio";
    const std::string& key = option.NameTStr();
    if (key == "enabled")
        ReadBool(option, section, enabled);
    else if (key == "frequency")
        ReadInt(option, section, frequency, IsMixerRate);
    else if (key == "chunkSize")
        ReadInt(option, section, chunkSize, IsChunkSize);
    else if (key == "channels")
        ReadInt(option, section, channels, IsMixChannelCount);
    else if (key == "speakers")
        ReadInt(option, section, speakers, IsSpeakerCount);
    else if (key == "reverseStereo")
        ReadBool(option, section, reverseStereo);
    else if (key == "musicVolume")
        ReadFloat(option, section, musicVolume);
    else if (key == "sfxVolume")
        ReadFloat(option, section, sfxVolume);
}

void Settings::ReadNet(const TiXmlAttribute& option)
{
    const std::string& key = option.NameTStr();
    if (key == "serverAddress")
        ReadString(option, serverAddress);
    else if (key == "serverPort")
        ReadInt(option, "Net", serverPort, IsAnyInt);
}

void Settings::ReadOther(const TiXmlAttribute& option)
{
    const char* const section = "Other";
    const std::string& key = option.NameTStr();
    if (key == "rootXml")
        ReadString(option, rootXml);
    else if (key == "timeStep")
        ReadInt(option, section, timeStep, IsTimeStep);
    else if (key == "useDelay")
        ReadBool(option, section, useDelay);
    StepSeconds = timeStep / 1000.0f;
}

void Settings::ReadInt(const TiXmlAttribute& option, const char* section, int& value,
                       bool (*usable)(int))
{
    int read = 0;
    if (StringToInt(option.Value(), read) && usable(read))
        value = read;
    else
        WarnKept(option, section, ToString(value));
}

void Settings::ReadFloat(const TiXmlAttribute& option, const char* section, float& value)
{
    if (!StringToFloat(option.Value(), value))
        WarnKept(option, section, FloatText(value));
}

// Only "true" and "false" set the value whatever it was before.
void Settings::ReadBool(const TiXmlAttribute& option, const char* section, bool& value)
{
    bool fromFalse = false;
    bool fromTrue = true;
    StringToBool(option.ValueStr(), fromFalse);
    StringToBool(option.ValueStr(), fromTrue);
    if (fromFalse == fromTrue)
        value = fromFalse;
    else
        WarnKept(option, section, BoolToString(value));
}

void Settings::ReadString(const TiXmlAttribute& option, std::string& value)
{
    value = option.ValueStr();
}

void Settings::WarnKept(const TiXmlAttribute& option, const char* section, const std::string& kept)
{
    std::printf("Invalid value '%s' of the %s option '%s' in '%s': keeping %s\n", option.Value(),
                section, option.Name(), FileName, kept.c_str());
}

void Settings::Save()
{
    if (!document)
        return;
    TiXmlElement* root = document->FirstChildElement("Settings");
    bool changed = !root;
    if (!root)
        root = AppendElement(document.get(), "Settings");
    changed |= WriteSection(root, "Display", &Settings::WriteDisplay);
    changed |= WriteSection(root, "Audio", &Settings::WriteAudio);
    changed |= WriteSection(root, "Net", &Settings::WriteNet);
    changed |= WriteSection(root, "Other", &Settings::WriteOther);
    if (changed)
        WriteFile();
}

// Writes beside the file and renames over it, so that an interrupted save
// leaves the old file whole. TinyXML reads some malformed text that it then
// writes in a form it reads differently (an unquoted value ending in a stray
// byte comes back quoted, and the byte swallows the quote; a broken character
// reference in the declaration swallows the rest of the file), so what was
// written replaces the file only once it reads back as the same document.
void Settings::WriteFile() const
{
    std::FILE* file = Platform::OpenFile(TemporaryFileName, "w");
    if (!file)
        return;
    document->SaveFile(file);
    const bool written = !std::ferror(file);
    TiXmlDocument saved;
    const bool readable = std::fclose(file) == 0 && written &&
                          saved.LoadFile(TemporaryFileName) && Printed(saved) == Printed(*document);
    if (!readable)
        std::printf("Can't save '%s' so that it reads back: leaving the file as it is\n",
                    FileName);
    if (!readable || std::rename(TemporaryFileName, FileName) != 0)
        std::remove(TemporaryFileName);
}

bool Settings::WriteSection(TiXmlElement* root, const char* name, SectionWriter writer) const
{
    TiXmlElement* section = root->FirstChildElement(name);
    const bool added = !section;
    if (added)
        section = AppendElement(root, name);
    return (this->*writer)(section) || added;
}

bool Settings::WriteDisplay(TiXmlElement* section) const
{
    bool changed = SetInt(section, "width", width);
    changed |= SetInt(section, "height", height);
    changed |= SetInt(section, "bitsPerPixel", bitsPerPixel);
    changed |= SetBool(section, "fullScreen", fullScreen);
    changed |= SetBool(section, "waitVerticalRetrace", waitVerticalRetrace);
    changed |= SetFloat(section, "gammaCorrection", gammaCorrection);
    return changed;
}

bool Settings::WriteAudio(TiXmlElement* section) const
{
    bool changed = SetBool(section, "enabled", enabled);
    // A mixer that did not open used none of these: the file keeps its own.
    if (mixerOpened)
    {
        changed |= SetInt(section, "frequency", frequency);
        changed |= SetInt(section, "chunkSize", chunkSize);
        changed |= SetInt(section, "channels", channels);
        changed |= SetInt(section, "speakers", speakers);
    }
    changed |= SetBool(section, "reverseStereo", reverseStereo);
    changed |= SetFloat(section, "musicVolume", musicVolume);
    changed |= SetFloat(section, "sfxVolume", sfxVolume);
    return changed;
}

bool Settings::WriteNet(TiXmlElement* section) const
{
    bool changed = SetString(section, "serverAddress", serverAddress);
    changed |= SetInt(section, "serverPort", serverPort);
    return changed;
}

bool Settings::WriteOther(TiXmlElement* section) const
{
    bool changed = SetString(section, "rootXml", rootXml);
    changed |= SetInt(section, "timeStep", timeStep);
    changed |= SetBool(section, "useDelay", useDelay);
    return changed;
}

TiXmlAttribute* Settings::GetOption(TiXmlElement* section, const char* key)
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

bool Settings::SetInt(TiXmlElement* section, const char* key, int value)
{
    TiXmlAttribute* option = GetOption(section, key);
    int previous = 0;
    StringToInt(option->Value(), previous);
    option->SetValue(ToString(value));
    return previous != value;
}

bool Settings::SetFloat(TiXmlElement* section, const char* key, float value)
{
    TiXmlAttribute* option = GetOption(section, key);
    float previous = 0;
    const bool isNumber = StringToFloat(option->Value(), previous);
    option->SetValue(FloatText(value));
    return !isNumber || std::isnan(value) || previous != value;
}

bool Settings::SetBool(TiXmlElement* section, const char* key, bool value)
{
    return SetString(section, key, BoolToString(value));
}

bool Settings::SetString(TiXmlElement* section, const char* key, const std::string& value)
{
    TiXmlAttribute* option = GetOption(section, key);
    const bool changed = option->ValueStr() != value;
    option->SetValue(value);
    return changed;
}
