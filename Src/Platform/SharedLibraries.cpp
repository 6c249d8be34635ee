#include "Platform/SharedLibraries.h"

#include <cstring>
#include <dlfcn.h>
#include <link.h>
#include <string>

namespace Platform
{

namespace
{

struct StorageVisit
{
    StorageVisitor visit;
    void* context;
};

const char* BaseName(const char* path)
{
    const char* const slash = std::strrchr(path, '/');
    return slash ? slash + 1 : path;
}

int VisitStorage(dl_phdr_info* library, std::size_t, void* data)
{
    // The program itself comes first, without a name.
    if (library->dlpi_name[0] == '\0' || std::strncmp(BaseName(library->dlpi_name), "libc.so", 7) == 0)
        return 0;
    const StorageVisit& storage = *static_cast<const StorageVisit*>(data);
    for (int i = 0; i < library->dlpi_phnum; ++i)
    {
        const ElfW(Phdr)& segment = library->dlpi_phdr[i];
        if (segment.p_type != PT_LOAD || (segment.p_flags & PF_W) == 0)
            continue;
        const char* const begin = reinterpret_cast<const char*>(library->dlpi_addr + segment.p_vaddr);
        storage.visit(begin, begin + segment.p_memsz, storage.context);
    }
    return 0;
}

int FindLlvm(dl_phdr_info* library, std::size_t, void* data)
{
    if (std::strncmp(BaseName(library->dlpi_name), "libLLVM", 7) != 0)
        return 0;
    *static_cast<std::string*>(data) = library->dlpi_name;
    return 1;
}

} // namespace

void ForEachLibraryStorage(StorageVisitor visit, void* context)
{
    StorageVisit storage = {visit, context};
    dl_iterate_phdr(VisitStorage, &storage);
}

void ShutDownLlvm()
{
    std::string path;
    if (dl_iterate_phdr(FindLlvm, &path) == 0)
        return;
    void* const llvm = dlopen(path.c_str(), RTLD_LAZY | RTLD_NOLOAD);
    if (!llvm)
        return;
    using Shutdown = void (*)();
    if (const auto shutdown = reinterpret_cast<Shutdown>(dlsym(llvm, "LLVMShutdown")))
        shutdown();
    dlclose(llvm);
}

} // namespace Platform
