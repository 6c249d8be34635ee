#include "Engine/Settings.h"

#include "Engine/StringUtil.h"
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
    std::FILE* file = Platform::OpenFile(FileName, "rb");
    if (!file)
    {
        if (errno != ENOENT)
            KeepUserFile(std::strerror(errno));
        return;
    }
    const bool parsed = document->LoadFile(file);
    std::fclose(file);
    if (!parsed)
    {
        KeepUserFile(std::string(document->ErrorDesc()) + " at line " +
                     ToString(document->ErrorRow()));
        return;
    }

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
    const std::string& key = option.NameTStr();
    if (key == "width")
        ReadInt(option, width);
    else if (key == "height")
        ReadInt(option, height);
    else if (key == "bitsPerPixel")
        ReadInt(option, bitsPerPixel);
    else if (key == "fullScreen")
        ReadBool(option, fullScreen);
    else if (key == "waitVerticalRetrace")
        ReadBool(option, waitVerticalRetrace);
    else if (key == "gammaCorrection")
        ReadFloat(option, gammaCorrection);
}

void Settings::ReadAudio(const TiXmlAttribute& option)
{
    const std::string& key = option.NameTStr();
    if (key == "enabled")
        ReadBool(option, enabled);
    else if (key == "frequency")
        ReadInt(option, frequency);
    else if (key == "chunkSize")
        ReadInt(option, chunkSize);
    else if (key == "channels")
        ReadInt(option, channels);
    else if (key == "speakers")
        ReadInt(option, speakers);
    else if (key == "reverseStereo")
        ReadBool(option, reverseStereo);
    else if (key == "musicVolume")
        ReadFloat(option, musicVolume);
    else if (key == "sfxVolume")
        ReadFloat(option, sfxVolume);
}

void Settings::ReadNet(const TiXmlAttribute& option)
{
    const std::string& key = option.NameTStr();
    if (key == "serverAddress")
        ReadString(option, serverAddress);
    else if (key == "serverPort")
        ReadInt(option, serverPort);
}

void Settings::ReadOther(const TiXmlAttribute& option)
{
    const std::string& key = option.NameTStr();
    if (key == "rootXml")
        ReadString(option, rootXml);
    else if (key == "timeStep")
        ReadTimeStep(option);
    else if (key == "useDelay")
        ReadBool(option, useDelay);
    StepSeconds = timeStep / 1000.0f;
}

// The frame timer divides by the step, so a step below 1 ms cannot run.
void Settings::ReadTimeStep(const TiXmlAttribute& option)
{
    int value = 0;
    ReadInt(option, value);
    if (value >= 1)
        timeStep = value;
    else
        std::printf("Invalid timeStep '%s' in '%s': keeping %d\n", option.Value(), FileName,
                    timeStep);
}

void Settings::ReadInt(const TiXmlAttribute& option, int& value)
{
    value = 0;
    StringToInt(option.Value(), value);
}

void Settings::ReadFloat(const TiXmlAttribute& option, float& value)
{
    value = 0;
    StringToFloat(option.Value(), value);
}

void Settings::ReadBool(const TiXmlAttribute& option, bool& value)
{
    StringToBool(option.ValueStr(), value);
}

void Settings::ReadString(const TiXmlAttribute& option, std::string& value)
{
    value = option.ValueStr();
}

void Settings::Save()
{
    if (!document)
        return;
    TiXmlElement* root = document->FirstChildElement("Settings");
    bool changed = !root;
    if (!root)
        root = AppendElement(document.get(), "Settings");
    changed |= WriteSection(root, "Display", WriteDisplay);
    changed |= WriteSection(root, "Audio", WriteAudio);
    changed |= WriteSection(root, "Net", WriteNet);
    changed |= WriteSection(root, "Other", WriteOther);
    if (changed)
        WriteFile();
}

// Writes beside the file and renames over it, so that an interrupted save
// leaves the old file whole. TinyXML reads some malformed text that it then
// writes in a form it cannot read (an unquoted value ending in a stray byte
// comes back quoted, and the byte swallows the quote), so what was written
// replaces the file only once it reads back.
void Settings::WriteFile() const
{
    std::FILE* file = Platform::OpenFile(TemporaryFileName, "w");
    if (!file)
        return;
    document->SaveFile(file);
    const bool written = !std::ferror(file);
    TiXmlDocument saved;
    const bool readable = std::fclose(file) == 0 && written &&
                          saved.LoadFile(TemporaryFileName);
    if (!readable)
        std::printf("Can't save '%s' so that it reads back: leaving the file as it is\n",
                    FileName);
    if (!readable || std::rename(TemporaryFileName, FileName) != 0)
        std::remove(TemporaryFileName);
}

bool Settings::WriteSection(TiXmlElement* root, const char* name, SectionWriter writer)
{
    TiXmlElement* section = root->FirstChildElement(name);
    const bool added = !section;
    if (added)
        section = AppendElement(root, name);
    return writer(section) || added;
}

bool Settings::WriteDisplay(TiXmlElement* section)
{
    bool changed = SetInt(section, "width", width);
    changed |= SetInt(section, "height", height);
    changed |= SetInt(section, "bitsPerPixel", bitsPerPixel);
    changed |= SetBool(section, "fullScreen", fullScreen);
    changed |= SetBool(section, "waitVerticalRetrace", waitVerticalRetrace);
    changed |= SetFloat(section, "gammaCorrection", gammaCorrection);
    return changed;
}

bool Settings::WriteAudio(TiXmlElement* section)
{
    bool changed = SetBool(section, "enabled", enabled);
    changed |= SetInt(section, "frequency", frequency);
    changed |= SetInt(section, "chunkSize", chunkSize);
    changed |= SetInt(section, "channels", channels);
    changed |= SetInt(section, "speakers", speakers);
    changed |= SetBool(section, "reverseStereo", reverseStereo);
    changed |= SetFloat(section, "musicVolume", musicVolume);
    changed |= SetFloat(section, "sfxVolume", sfxVolume);
    return changed;
}

bool Settings::WriteNet(TiXmlElement* section)
{
    bool changed = SetString(section, "serverAddress", serverAddress);
    changed |= SetInt(section, "serverPort", serverPort);
    return changed;
}

bool Settings::WriteOther(TiXmlElement* section)
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
    char text[64];
    std::snprintf(text, sizeof text, "%f", value);
    option->SetValue(text);
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
