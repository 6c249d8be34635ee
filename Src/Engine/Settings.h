#pragma once

#include <cstdio>
#include <memory>
#include <string>

class TiXmlDocument;
class TiXmlElement;

extern const char* const GameTitle;
extern const char* const GameVersion;

// The length of a fixed update step in seconds: Settings::timeStep / 1000.
extern float StepSeconds;

// The process-wide settings, read from "settings.xml" in the working directory
// at start-up and written back at exit when the file lacked a part or a value
// differs. The values are valid once a Settings object exists: its constructor
// writes the defaults.
class Settings
{
public:
    // One variable per option of "settings.xml"; the table of options in
    // Settings.cpp gives each its section, key and default.
    // Display
    static int width;
    static int height;
    static int bitsPerPixel;
    static bool fullScreen;
    static bool waitVerticalRetrace;
    static float gammaCorrection;
    // Audio
    static bool enabled;
    static int frequency;
    static int chunkSize;
    static int channels;
    static int speakers;
    static bool reverseStereo;
    static float musicVolume;
    static float sfxVolume;
    // Net
    static std::string serverAddress;
    static int serverPort;
    // Other
    static std::string rootXml;
    static int timeStep; // milliseconds, at least 1
    static bool useDelay;

    // "settings.xml", in the working directory.
    static const char* const FileName;

    Settings();
    ~Settings();
    Settings(const Settings&) = delete;
    Settings& operator=(const Settings&) = delete;

    static void SetDefaults();

    // Overrides the values with those of "settings.xml". Never throws: a
    // missing or empty file leaves the defaults. A file that exists but cannot
    // be read or parsed (or nests too deep to be parsed, or holds no element)
    // leaves the defaults too, says so in one line, and is never overwritten
    // by Save. A value that is no number of its type, or one the game cannot
    // run with, keeps the value it had, with a line that names the option.
    void Load();

    // The sound start-up calls this once the mixer has opened: only then are
    // the audio values it used (frequency, chunkSize, channels, speakers)
    // written back.
    void MixerOpened();

    // Writes the values back into the document Load read and saves it, but
    // only when that changed the document. The file is replaced in one step,
    // keeping its permissions; when it is a link, the file it leads to is
    // replaced. A save that cannot be done says why in one line.
    void Save();

private:
    static bool ReadText(std::FILE* file, std::string& text);
    void ReadSections();
    void KeepUserFile(const std::string& reason);
    bool WriteSections(TiXmlElement* root) const;
    void WriteFile() const;

    std::unique_ptr<TiXmlDocument> document;
    bool mixerOpened = false;
};
