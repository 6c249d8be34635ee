#pragma once

#include <atomic>
#include <memory>
#include <string>

class TiXmlElement;

// A loadable asset held by name in a DataStore. The store's loader thread runs
// Load; the main thread then runs Finish and marks the resource ready. Users
// poll IsReady.
//
// The flags are atomic because a load may request resources from a loader
// thread (model materials register their textures while the model loads).
class Resource
{
public:
    explicit Resource(const std::string& path);
    virtual ~Resource();
    Resource(const Resource&) = delete;
    Resource& operator=(const Resource&) = delete;

    // Loads the data on a loader thread; failures are thrown as any standard
    // exception.
    virtual void Load() = 0;

    // Runs on the main thread after a successful load.
    virtual void Finish() {}

    // Handles one child element of the definition, given with its name
    // lower-cased; returns whether the kind knows the element.
    virtual bool ParseElement(const TiXmlElement* element, const std::string& lowerTag);

    // True once the load succeeded and Finish ran on the main thread.
    bool IsReady() const { return ready; }

    // True once a load was queued; a failed load stays queued, so it is never
    // retried.
    bool IsQueued() const { return queued; }

    // True once the main thread has received the failure of the load, whose
    // message is then GetFailure.
    bool HasFailed() const { return failed; }
    const std::string& GetFailure() const { return failure; }

    // The file to load; a descriptor file's "file" redirect replaces it while
    // the definition is read.
    const std::string& GetPath() const { return path; }

    // The copy of the registering "resource" element, or null.
    const TiXmlElement* GetDefinition() const { return definition.get(); }

    // Handles the resource's settings once in its life: first the children of
    // the root element rootName of the descriptor file when the path's
    // extension is "xml" (which, with redirect, also moves the path to the
    // file named by the root's "file" attribute, relative to the descriptor),
    // then the children of the inline definition. Each kind's load calls it.
    void ReadDefinition(const std::string& rootName, bool redirect);

protected:
    // For kinds that are ready from the start (published objects).
    Resource(const std::string& path, bool ready);

    void ParseDescriptorFile(const std::string& rootName, bool redirect);
    void ParseChildren(const TiXmlElement* element);

    std::string path;

private:
    friend class DataStore;
    friend class ResourceLoader;

    std::atomic<bool> ready;
    std::atomic<bool> queued;
    // Written and read on the main thread only.
    bool failed = false;
    std::string failure;
    std::unique_ptr<TiXmlElement> definition;
    bool definitionRead;
};
