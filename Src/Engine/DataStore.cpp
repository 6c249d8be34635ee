#include "Engine/DataStore.h"

#include "Engine/Error.h"
#include "Engine/PointerResource.h"
#include "Engine/ResourceType.h"
#include "Engine/ScopedLock.h"

#include <cstdio>
#include <tinyxml.h>

namespace
{

// An alias chain longer than this is taken for a loop.
const int MaxAliasHops = 32;

// Guards the maps of every store, the kind registry and the definitions
// handed to loads. SDL mutexes are recursive, so an operation may call
// another.
SDL_mutex* StoresMutex()
{
    static SDL_mutex* const mutex = SDL_CreateMutex();
    return mutex;
}

std::map<int, DataStore::ResourceMaker>& Makers()
{
    static std::map<int, DataStore::ResourceMaker> makers;
    return makers;
}

} // namespace

void DataStore::RegisterKind(int type, ResourceMaker maker)
{
    const ScopedLock lock(StoresMutex());
    if (maker)
        Makers()[type] = maker;
    else
        Makers().erase(type);
}

DataStore::DataStore(DataStore* parent, unsigned stopTimeoutMs)
    : parent(parent), loader(std::make_unique<ResourceLoader>(stopTimeoutMs))
{
}

DataStore::~DataStore()
{
    // Loads still running may use this store, so the loader stays in place
    // until its thread has ended.
    loader->Stop();
    Clear();
}

Resource* DataStore::AddResource(const std::string& path, const char* alias, int type)
{
    const ScopedLock lock(StoresMutex());
    Resource* resource = FindLocal(path);
    if (!resource)
        resource = Create(path, alias, type);
    if (alias)
        AddAlias(alias, path);
    return resource ? resource : FindLocal(alias);
}

Resource* DataStore::AddAndGet(const std::string& path, const char* alias, int type)
{
    const ScopedLock lock(StoresMutex());
    AddResource(path, alias, type);
    return GetResource(path, false);
}

bool DataStore::AddExisting(const std::string& name, const char* alias, Resource* resource)
{
    const ScopedLock lock(StoresMutex());
    const bool kept = !Follow(name, MaxAliasHops) && !FindLocal(name);
    if (kept)
        resources.emplace(name, std::unique_ptr<Resource>(resource));
    if (alias && !Follow(alias, MaxAliasHops))
        AddAlias(alias, name);
    return kept;
}

void DataStore::Publish(const std::string& name, Resource* resource)
{
    if (!AddExisting(name, nullptr, resource))
    {
        delete resource;
        throw Error("Internal error, the resource '", name, "' is published already");
    }
}

void DataStore::SetDefinition(Resource& resource, const TiXmlElement& element)
{
    const ScopedLock lock(StoresMutex());
    if (!resource.queued)
        resource.definition.reset(static_cast<TiXmlElement*>(element.Clone()));
}

Resource* DataStore::Find(const std::string& name, bool follow) const
{
    const ScopedLock lock(StoresMutex());
    if (follow)
        return Follow(name, MaxAliasHops);
    for (const DataStore* store = this; store; store = store->parent)
    {
        if (Resource* entry = store->FindLocal(name))
            return dynamic_cast<AliasResource*>(entry);
    }
    return nullptr;
}

Resource* DataStore::GetResource(const std::string& name, bool mustExist)
{
    if (name.empty())
        return nullptr;
    const ScopedLock lock(StoresMutex());
    Resource* resource = Follow(name, MaxAliasHops);
    if (resource)
    {
        loader->Request(resource);
        return resource;
    }
    if (mustExist)
        ThrowMissing(name);
    std::printf("Missing resource: '%s'", name.c_str());
    std::fflush(stdout);
    return nullptr;
}

Object* DataStore::GetPointer(const std::string& name, bool mustExist)
{
    const PointerResource* pointer = Get<PointerResource>(name, mustExist);
    return pointer ? pointer->GetObject() : nullptr;
}

const std::string& DataStore::GetAliasTarget(const std::string& name) const
{
    const Resource* alias = Find(name, false);
    if (!alias)
        ThrowMissing(name);
    return alias->GetPath();
}

bool DataStore::Remove(const std::string& name, bool deleteResource)
{
    const ScopedLock lock(StoresMutex());
    const ResourceMap::iterator entry = resources.find(name);
    if (entry == resources.end())
        return false;
    const Resource& resource = *entry->second;
    if (resource.queued && !resource.ready)
        return false;
    if (!deleteResource)
        entry->second.release();
    resources.erase(entry);
    return true;
}

void DataStore::Clear()
{
    const ScopedLock lock(StoresMutex());
    resources.clear();
}

void DataStore::ProcessLoaded()
{
    loader->ProcessResults();
    if (parent)
        parent->ProcessLoaded();
}

void DataStore::ThrowMissing(const std::string& name)
{
    throw Error("Missing resource: '", name, "'");
}

Resource* DataStore::FindLocal(const std::string& name) const
{
    const ResourceMap::const_iterator entry = resources.find(name);
    return entry == resources.end() ? nullptr : entry->second.get();
}

// The nearest store that has the name decides; an alias is followed from the
// store that holds it.
Resource* DataStore::Follow(const std::string& name, int hops) const
{
    for (const DataStore* store = this; store; store = store->parent)
    {
        Resource* entry = store->FindLocal(name);
        if (!entry)
            continue;
        const AliasResource* alias = dynamic_cast<const AliasResource*>(entry);
        if (!alias)
            return entry;
        return hops > 0 ? store->Follow(alias->GetPath(), hops - 1) : nullptr;
    }
    return nullptr;
}

Resource* DataStore::Create(const std::string& path, const char* alias, int type)
{
    if (type == ResourceType::Alias)
    {
        if (!alias)
            throw Error("Alias field missing from alias resource!");
        return nullptr;
    }
    const std::map<int, ResourceMaker>::const_iterator maker = Makers().find(type);
    if (maker == Makers().end())
        throw Error("Invalid data type requested!");
    std::unique_ptr<Resource> resource(maker->second(path, *this));
    return resources.emplace(path, std::move(resource)).first->second.get();
}

// An alias name that stands here already keeps its entry.
void DataStore::AddAlias(const char* alias, const std::string& target)
{
    if (!FindLocal(alias))
        resources.emplace(alias, std::make_unique<AliasResource>(target));
}
