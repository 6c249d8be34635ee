#pragma once

#include "Engine/Resource.h"
#include "Engine/ResourceLoader.h"

#include <map>
#include <memory>
#include <string>

class AnimatedTexture;
class CubeMap;
class Font;
class Model;
class Music;
class Object;
class Sample;
class Texture;
class TiXmlElement;

// One scope of resource names, with its own loader thread. A look-up that
// finds nothing here goes on to the parent store, and so up the chain. Names
// are case-sensitive. The store owns every resource in its map.
//
// The main thread registers, looks up, finishes and deletes, but a load may
// register and request resources from a loader thread (model materials add
// their textures while the model loads), and a resource of one store may be
// loaded by the thread of a child store. So one mutex, shared by every store,
// guards all the maps and the hand-over of a resource's definition to its
// load; it is held for map operations only, never during a load.
class DataStore
{
public:
    // An alias name for a path. Look-ups pass through it to the resource of
    // the path, as seen from the store that holds the alias; it is never
    // loaded and never ready.
    class AliasResource : public Resource
    {
    public:
        explicit AliasResource(const std::string& target) : Resource(target) {}

        void Load() override {}
    };

    using ResourceMaker = Resource* (*)(const std::string& path, DataStore& store);

    // The subsystems that implement the resource kinds register a maker for
    // each type number (ResourceType) before any data is read; a null maker
    // removes the type.
    static void RegisterKind(int type, ResourceMaker maker);

    explicit DataStore(DataStore* parent,
                       unsigned stopTimeoutMs = ResourceLoader::DefaultStopTimeoutMs);
    // Stops the loader, finishing what completed, then deletes the resources.
    ~DataStore();
    DataStore(const DataStore&) = delete;
    DataStore& operator=(const DataStore&) = delete;

    // Registers a resource of the type under the path, and the alias (when not
    // null and not yet taken here) for it; loads nothing. An entry that stands
    // under the path or the alias name in this store keeps its place, silently,
    // and one under the path is returned whatever its kind; ancestors are not
    // consulted. The type Alias creates only the alias and returns the entry
    // under the alias name. Throws Error for a type without a maker.
    Resource* AddResource(const std::string& path, const char* alias, int type);

    // AddResource, then GetResource of the path, so the load starts at once.
    Resource* AddAndGet(const std::string& path, const char* alias, int type);
    Texture* AddTexture(const std::string& path, const char* alias);

    // Publishes a resource made by the caller, unless the name is found in this
    // store or an ancestor; returns whether the store kept it (and now owns
    // it). The alias, when not null and not found either, stands for the name.
    bool AddExisting(const std::string& name, const char* alias, Resource* resource);
    // AddExisting without an alias, for a name the game itself gives: a name
    // taken already deletes the resource and throws Error.
    void Publish(const std::string& name, Resource* resource);

    // Gives the resource a copy of the element as its inline definition,
    // replacing an earlier one; a resource whose load is queued keeps its own.
    void SetDefinition(Resource& resource, const TiXmlElement& element);

    // With follow: the resource of the name, looked up here and then in the
    // ancestors, through aliases; null when there is none or the aliases loop.
    // Without follow: the alias entry of the nearest store that has the name,
    // or null when that entry is no alias.
    Resource* Find(const std::string& name, bool follow) const;

    // The resource of the name, its load queued on this store's thread (also
    // for a resource of an ancestor). An empty name gives null silently. A
    // missing name throws with mustExist; otherwise "Missing resource: '...'"
    // is printed without a line end and null returned.
    Resource* GetResource(const std::string& name, bool mustExist);

    // GetResource converted to the kind T; a resource of another kind gives
    // null, or with mustExist the same Error as a missing one.
    template <class T>
    T* Get(const std::string& name, bool mustExist)
    {
        T* resource = dynamic_cast<T*>(GetResource(name, mustExist));
        if (!resource && mustExist && !name.empty())
            ThrowMissing(name);
        return resource;
    }

    // Defined beside each kind, in the subsystem that implements it.
    Texture* GetTexture(const std::string& name, bool mustExist);
    AnimatedTexture* GetAnimatedTexture(const std::string& name, bool mustExist);
    CubeMap* GetCubeMap(const std::string& name, bool mustExist);
    Font* GetFont(const std::string& name, bool mustExist);
    Model* GetModel(const std::string& name, bool mustExist);
    Sample* GetSample(const std::string& name, bool mustExist);
    Music* GetMusic(const std::string& name, bool mustExist);

    // The object of a PointerResource.
    Object* GetPointer(const std::string& name, bool mustExist);

    // The name the alias stands for; throws "Missing resource: '...'" when the
    // name is no alias.
    const std::string& GetAliasTarget(const std::string& name) const;

    // Takes the local entry off the map, deleting it when asked; refuses a
    // resource whose load is queued and not finished. Returns whether it was
    // taken.
    bool Remove(const std::string& name, bool deleteResource);

    // Deletes every local resource; only while none of them is loading.
    void Clear();

    // Main thread, once per frame: finishes the completed loads of this store,
    // then of each ancestor. Throws the first failed load of the first store
    // that has one.
    void ProcessLoaded();

private:
    using ResourceMap = std::map<std::string, std::unique_ptr<Resource>>;

    [[noreturn]] static void ThrowMissing(const std::string& name);

    Resource* FindLocal(const std::string& name) const;
    Resource* Follow(const std::string& name, int hops) const;
    Resource* Create(const std::string& path, const char* alias, int type);
    void AddAlias(const char* alias, const std::string& target);

    ResourceMap resources;
    DataStore* const parent;
    const std::unique_ptr<ResourceLoader> loader;
};
