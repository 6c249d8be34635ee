#include "Engine/DataReader.h"

#include "Engine/DataFile.h"
#include "Engine/DataStore.h"
#include "Engine/Error.h"
#include "Engine/LuaState.h"
#include "Engine/ResourceType.h"
#include "Engine/StringUtil.h"
#include "Engine/Xml.h"
#include "Engine/XmlNesting.h"
#include "Platform/TerminationSignals.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>

namespace
{

std::map<std::string, DataReader::ReaderMaker>& Readers()
{
    static std::map<std::string, DataReader::ReaderMaker> readers;
    return readers;
}

// Files may include a file more than once, so a few could stand for more
// reads than any game state needs; one read (with its sub-readers) reads at
// most this many files.
const int MaxFilesRead = 1024;

// Our interfaces have tens of frames. A frame with its Lua table takes some
// kilobytes, so no more are built.
const int MaxFrames = 10000;

// Our templates have a few elements each. Stored ones stay to the end of the
// read, some hundred bytes an element, and templates may inherit templates,
// so a few lines could stand for more elements than any interface has.
const int MaxStoredTemplateElements = 100000;
const int MaxBuiltTemplateElements = 100000;

// Counts a document's text as open while the document is read. It keeps the
// totals it counted in: a reader that takes over another's place takes the
// other's totals meanwhile.
template <class Totals>
class OpenDocument
{
public:
    OpenDocument(std::shared_ptr<Totals> totals, std::size_t size)
        : totals(std::move(totals)), size(size)
    {
        this->totals->openXmlBytes += size;
    }
    ~OpenDocument() { totals->openXmlBytes -= size; }
    OpenDocument(const OpenDocument&) = delete;
    OpenDocument& operator=(const OpenDocument&) = delete;

private:
    const std::shared_ptr<Totals> totals;
    const std::size_t size;
};

Error FileError(const std::string& path, const std::exception& inner)
{
    return Error("Error while reading file: '", path, "'\n", inner.what());
}

// The path without empty and "." components, so that "Data/./Root.xml" and
// "Data//Root.xml" name the file "Data/Root.xml" names.
std::string FileKey(const std::string& path)
{
    std::string key;
    std::size_t start = 0;
    while (start <= path.size())
    {
        std::size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        const std::string component = path.substr(start, end - start);
        if (!component.empty() && component != ".")
            key += (key.empty() ? "" : "/") + component;
        start = end + 1;
    }
    return key;
}

} // namespace

void DataReader::RegisterReader(const std::string& tag, ReaderMaker maker)
{
    if (maker)
        Readers()[tag] = maker;
    else
        Readers().erase(tag);
}

DataReader::DataReader(DataStore* store, EventDispatcher* events, LuaState* lua)
    : store(store), events(events), lua(lua), userContext(nullptr), parent(nullptr), directories(1),
      files(1), totals(std::make_shared<Totals>())
{
}

void DataReader::ReadFile(const std::string& file, const std::string& rootName)
{
    const std::string path = DataPath(CurrentDirectory() + file);
    TiXmlDocument document(path);
    std::size_t size = 0;
    try
    {
        RefuseIncludeCycle(path);
        if (++totals->files > MaxFilesRead)
            throw Error("More than ", ToString(MaxFilesRead), " files read through includes");
        size = XmlLoadFile(path, document, totals->openXmlBytes);
    }
    catch (const std::exception& e)
    {
        throw FileError(path, e);
    }
    const OpenDocument open(totals, size);
    if (rootName.empty())
        ReadElementFromFile(path, &document);
    else
        ReadElementFromFile(path, document.FirstChildElement(rootName));
}

void DataReader::ReadElementFromFile(const std::string& file, const TiXmlNode* element)
{
    PushFile(file);
    try
    {
        ReadElement(element);
    }
    catch (const std::exception& e)
    {
        throw FileError(file, e);
    }
    PopFile();
}

// The other's whole chain of files comes along, so that an include further
// down still finds the files being read above it.
void DataReader::InheritContext(const DataReader& other)
{
    directories.push_back(other.CurrentDirectory());
    files.insert(files.end(), other.files.begin() + 1, other.files.end());
    outerNesting = other.Nesting();
    totals = other.totals;
    userContext = other.userContext;
    parent = other.parent;
    lua = other.lua;
}

void DataReader::ReadWithSubReader(const TiXmlElement* element, const std::string& lowerTag)
{
    const std::map<std::string, ReaderMaker>::const_iterator maker = Readers().find(lowerTag);
    if (maker == Readers().end())
        throw Error("Unknown reader invoked, internal error!");
    const std::unique_ptr<DataReader> reader(maker->second(store, events, lua, parent));
    try
    {
        reader->InheritContext(*this);
        reader->ReadElement(element);
    }
    catch (const std::exception& e)
    {
        throw FileError(CurrentFile(), e);
    }
}

void DataReader::ReadElement(const TiXmlNode* element)
{
    ReadChildren(element, nullptr);
}

void DataReader::ReadChildren(const TiXmlNode* element, void* context)
{
    if (!element)
        throw Error("Internal error, received NULL element!");
    if (Nesting() >= MaxXmlNesting)
        throw Error("Elements nested deeper than ", ToString(MaxXmlNesting),
                    " through includes and templates in:\n", LocationOf(element));
    contexts.push_back(context);
    for (const TiXmlElement* child = element->FirstChildElement(); child;
         child = child->NextSiblingElement())
    {
        // A long read must not keep the game from ending.
        if (Platform::TerminationRequested())
            throw Error("The reading of '", CurrentFile(), "' was stopped: the game is quitting");
        const std::string tag = XmlLowerTag(child);
        if (!HandleTag(child, tag))
            XmlUnknownTag(child);
    }
    contexts.pop_back();
}

bool DataReader::HandleTag(const TiXmlElement* element, const std::string& lowerTag)
{
    if (lowerTag == "include")
    {
        const std::string type = XmlGetAttribute(element, "type", "");
        ReadFile(XmlRequireAttribute(element, "file"), type);
    }
    else if (lowerTag == "resource")
    {
        HandleResource(element);
    }
    else if (lowerTag == "lua")
    {
        HandleLua(element);
    }
    else if (lowerTag == "ui" || lowerTag == "ship")
    {
        ReadWithSubReader(element, lowerTag);
    }
    else
    {
        return false;
    }
    return true;
}

void DataReader::HandleResource(const TiXmlElement* element)
{
    const std::string word = XmlRequireAttribute(element, "type");
    const std::string path = NormalizePath(XmlRequirePath(element, "file", CurrentDirectory()));
    const std::string alias = XmlGetAttribute(element, "name", "");
    const int type = ResourceType::FromWord(word);
    if (!type)
        throw Error("Unknown resource type: '", word, "'");
    Resource* resource = store->AddResource(path, alias.empty() ? nullptr : alias.c_str(), type);
    // TinyXML condenses content that is only white space away, so such an
    // element has no inline definition.
    if (element->FirstChild())
        store->SetDefinition(*resource, *element);
}

void DataReader::HandleLua(const TiXmlElement* element)
{
    if (!lua)
    {
        std::printf("Can't handle <Lua> tag in: '%s', Lua is not initialized\n",
                    CurrentFile().c_str());
        return;
    }
    lua->RunFile(XmlRequirePath(element, "file", CurrentDirectory()));
}

void DataReader::CountFrame(const TiXmlNode* element)
{
    Count(totals->frames, 1, {MaxFrames, "The interface builds more than ", " frames"}, element);
}

void DataReader::CountStoredTemplate(const TiXmlNode* element, int elements)
{
    Count(totals->storedTemplateElements, elements,
          {MaxStoredTemplateElements, "The templates stored hold more than ", " elements"},
          element);
}

void DataReader::CountBuiltFromTemplates(const TiXmlNode* element, int elements)
{
    Count(totals->builtTemplateElements, elements,
          {MaxBuiltTemplateElements, "Templates build more than ", " elements"}, element);
}

void DataReader::Count(int& total, int added, const Limit& limit, const TiXmlNode* element) const
{
    total += added;
    if (total > limit.most)
        throw Error(limit.before, ToString(limit.most), limit.after, " in:\n", LocationOf(element));
}

std::string DataReader::LocationOf(const TiXmlNode* node) const
{
    return node->GetDocument() ? XmlLocation(node) : CurrentFile();
}

void DataReader::RefuseIncludeCycle(const std::string& path) const
{
    // The first entry is the empty name a reader starts with.
    const std::string key = FileKey(path);
    const auto found = std::find_if(files.begin() + 1, files.end(),
                                    [&](const std::string& file) { return FileKey(file) == key; });
    if (found == files.end())
        return;
    std::string chain;
    for (auto file = found; file != files.end(); ++file)
    {
        if (file == found || *file != *(file - 1))
            chain += *file + " -> ";
    }
    throw Error("Include cycle: '", path, "' is already being read (", chain + path, ")");
}

void DataReader::SetCurrentContext(void* context)
{
    if (!contexts.empty())
        contexts.back() = context;
}

void DataReader::PushFile(const std::string& path)
{
    directories.push_back(GetDirectory(path));
    files.push_back(path);
}

void DataReader::PopFile()
{
    directories.pop_back();
    files.pop_back();
}
