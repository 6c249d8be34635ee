#pragma once

#include <memory>
#include <string>
#include <vector>

class DataStore;
class EventDispatcher;
class LuaState;
class Object;
class TiXmlElement;
class TiXmlNode;

// Reads the data XML files of a game state: "include" reads another file,
// "resource" registers a resource in the store, "lua" runs a script at once,
// and "ui" and "ship" go to the readers registered for them. Tags are matched
// lower-cased, so any case works. Derived readers add their own tags and hand
// the others to DataReader::HandleTag, so these five are known at every level.
//
// Relative paths are resolved against the directory of the file being read.
// Every failure leaves as Error, each file on the way putting
// "Error while reading file: '<path>'" in front. A reader whose read failed is
// not used again. An include of a file that is being read, by this reader or
// the readers it took over from, is an error naming the chain of files; so is
// nesting elements deeper than MaxXmlNesting, counted through includes, sub
// readers and templates, reading more files than any game state has, and
// building more frames than any interface has, or storing and building more
// template elements. Once a termination signal came, the read stops at the
// next element with an error.
class DataReader
{
public:
    using ReaderMaker = DataReader* (*)(DataStore* store, EventDispatcher* events, LuaState* lua,
                                        Object* parent);

    // The subsystems that read "ui" and "ship" elements register their reader
    // for the lower-cased tag; a null maker removes it.
    static void RegisterReader(const std::string& tag, ReaderMaker maker);

    // The Lua state may be null: "lua" elements are then reported and skipped.
    DataReader(DataStore* store, EventDispatcher* events, LuaState* lua);
    virtual ~DataReader() = default;
    DataReader(const DataReader&) = delete;
    DataReader& operator=(const DataReader&) = delete;

    // The object under which interface definitions are built.
    void SetParent(Object* parent) { this->parent = parent; }
    void SetUserContext(void* context) { userContext = context; }

    // Reads the file, relative to the current directory, and in it the first
    // root element named rootName, or with an empty rootName every top-level
    // element of the document.
    void ReadFile(const std::string& file, const std::string& rootName);

    // Reads an element kept from an earlier read as if it stood in the file.
    void ReadElementFromFile(const std::string& file, const TiXmlNode* element);

    // Takes over the other reader's place: its directory and chain of files,
    // its depth of nesting, its user context, parent and Lua state.
    virtual void InheritContext(const DataReader& other);

    // Hands the element to a new reader of the kind registered for the tag.
    virtual void ReadWithSubReader(const TiXmlElement* element, const std::string& lowerTag);

    // Reads the children of an element or of a document.
    virtual void ReadElement(const TiXmlNode* element);

    // Dispatches each child element to HandleTag with the context on top of
    // the context stack; unknown tags are reported and skipped.
    void ReadChildren(const TiXmlNode* element, void* context);

    // Handles one child element; returns whether the tag was known.
    virtual bool HandleTag(const TiXmlElement* element, const std::string& lowerTag);

protected:
    void HandleResource(const TiXmlElement* element);
    void HandleLua(const TiXmlElement* element);

    // Counts a frame that a derived reader builds for the element; throws
    // past the frames one read (with its sub readers) may build.
    void CountFrame(const TiXmlNode* element);
    // Count the elements of a template that a derived reader is about to
    // store for the element, and those it is about to build from templates;
    // each throws past what one read (with its sub readers) may store or
    // build, before the copy takes the memory.
    void CountStoredTemplate(const TiXmlNode* element, int elements);
    void CountBuiltFromTemplates(const TiXmlNode* element, int elements);

    // The node's file and line; for a node built while reading (a template's
    // copy), the file being read.
    std::string LocationOf(const TiXmlNode* node) const;
    const std::string& CurrentDirectory() const { return directories.back(); }
    const std::string& CurrentFile() const { return files.back(); }
    // The context of the element being read, or null outside any.
    void* CurrentContext() const { return contexts.empty() ? nullptr : contexts.back(); }
    // The context replaces that of the element being read, for the rest of
    // its children; outside any read nothing changes.
    void SetCurrentContext(void* context);

    DataStore* const store;
    EventDispatcher* const events;
    LuaState* lua;
    void* userContext;
    Object* parent;

private:
    // The most one read may count of a kind, and the words around the number
    // in the error that names it.
    struct Limit
    {
        int most;
        const char* before;
        const char* after;
    };

    void RefuseIncludeCycle(const std::string& path) const;
    // Adds to one of the totals; throws past its limit, naming the element.
    void Count(int& total, int added, const Limit& limit, const TiXmlNode* element) const;
    void PushFile(const std::string& path);
    void PopFile();
    int Nesting() const { return outerNesting + static_cast<int>(contexts.size()); }

    // What one read has done so far, shared with the readers it took over
    // from and its sub readers.
    struct Totals
    {
        int files = 0;
        int frames = 0;
        int storedTemplateElements = 0;
        int builtTemplateElements = 0;
        std::size_t openXmlBytes = 0; // of the documents parsed and being read
    };

    std::vector<std::string> directories;
    std::vector<std::string> files;
    std::vector<void*> contexts;
    int outerNesting = 0; // the nesting of the reader taken over from
    std::shared_ptr<Totals> totals;
};
