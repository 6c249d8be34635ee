#include "Graphics/Model3D/ModelLoader.h"

#include "Engine/DataFile.h"
#include "Engine/Error.h"
#include "Engine/ResourceLoader.h"
#include "Engine/StringUtil.h"
#include "Engine/obinstream.h"
#include "Graphics/Model3D/LoaderModel.h"
#include "Graphics/Model3D/LoaderX.h"
#include "Graphics/Model3D/ModelFile.h"
#include "Platform/FileSystem.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace Model3D
{

namespace
{

const char* const ModelFileExtension = "3d";

using ReaderMaker = std::unique_ptr<ModelLoader> (*)(DataStore* store,
                                                     const std::string& fileName);

template <class Reader>
std::unique_ptr<ModelLoader> MakeReader(DataStore* store, const std::string& fileName)
{
    return std::make_unique<Reader>(store, fileName);
}

// The readers by the lower-cased extension of the file.
const struct
{
    const char* extension;
    ReaderMaker make;
} Readers[] = {{ModelFileExtension, MakeReader<LoaderModel>}, {"x", MakeReader<LoaderX>}};

ReaderMaker FindReader(const std::string& extension)
{
    for (const auto& reader : Readers)
    {
        if (extension == reader.extension)
            return reader.make;
    }
    return nullptr;
}

Error CantWrite(const std::string& target, int reason)
{
    return Error("Can't write file '", target, "': ", std::strerror(reason));
}

bool ExistsOnDisk(const std::string& name)
{
    std::FILE* file = Platform::OpenFile(name, "rb");
    if (!file)
        return false;
    std::fclose(file);
    return true;
}

} // namespace

std::streamsize ModelLoader::mem_source::read(char* buffer, std::streamsize n)
{
    const std::streamsize left = loader->end - loader->cursor;
    if (left <= 0)
        return -1;
    const std::streamsize count = std::min(n, left);
    std::memcpy(buffer, loader->cursor, static_cast<std::size_t>(count));
    loader->cursor += count;
    return count;
}

ModelLoader::ModelLoader(DataStore* store, const std::string& fileName)
    : store(store), fileName(fileName), directory(GetDirectory(fileName))
{
}

ModelLoader::~ModelLoader() = default;

void ModelLoader::Load(MeshList& meshes)
{
    try
    {
        const ReaderMaker makeReader = FindReader(GetExtension(fileName));
        if (!makeReader)
            throw Error("Don't know how to load file: ", fileName);
        try
        {
            makeReader(store, fileName)->Load(meshes);
        }
        catch (const std::exception& e)
        {
            throw Error("Error while loading: '", fileName, "':\n", e.what());
        }
        if (meshes.empty())
            throw Error("Can't load file: ", fileName);
        // A model file stores its meshes prepared; an import is prepared and
        // converted once.
        if (GetExtension(fileName) != ModelFileExtension)
        {
            PrepareMeshes(meshes);
            ConvertOrWarn(meshes);
        }
    }
    catch (...)
    {
        meshes.clear();
        throw;
    }
}

void ModelLoader::PrepareMeshes(const MeshList& meshes)
{
    for (const std::unique_ptr<Mesh>& mesh : meshes)
    {
        ResourceLoader::StopPoint();
        mesh->Prepare();
    }
}

void ModelLoader::Convert(const MeshList& meshes) const
{
    const std::string target = GetTarget();
    if (ExistsOnDisk(target))
        return;
    try
    {
        ModelFile::CheckCount(meshes.size(), ModelFile::MaxCount, "The model", "meshes");
        for (const std::unique_ptr<Mesh>& mesh : meshes)
            mesh->CheckWritable(directory);
    }
    catch (const std::exception& e)
    {
        throw Error("Can't write file '", target, "': ", e.what());
    }
    // Each writer has a file of its own until its file is whole.
    const std::string temporary = Platform::CreateUniqueFile(target + ".");
    if (temporary.empty())
        throw CantWrite(target, errno);
    bool written = true;
    try
    {
        Write(temporary, meshes);
    }
    catch (const std::exception&)
    {
        written = false;
    }
    const Platform::RenameResult placed =
        written ? Platform::RenameUnlessExists(temporary, target) : Platform::RenameResult::Failed;
    if (placed == Platform::RenameResult::Failed)
    {
        const int reason = errno;
        std::remove(temporary.c_str());
        throw CantWrite(target, reason);
    }
    if (placed == Platform::RenameResult::Renamed)
    {
        std::printf("Converting '%s' to '%s'\n", fileName.c_str(), target.c_str());
        std::fflush(stdout);
    }
}

void ModelLoader::ConvertOrWarn(const MeshList& meshes) const
{
    try
    {
        Convert(meshes);
    }
    catch (const std::exception& e)
    {
        std::printf("Warning: %s; the meshes imported from '%s' are used\n", e.what(), fileName.c_str());
        std::fflush(stdout);
    }
}

void ModelLoader::LoadData()
{
    std::size_t size = 0;
    data.reset(ReadFile(fileName, &size));
    cursor = data.get();
    end = cursor + size;
}

std::string ModelLoader::GetTarget() const
{
    const std::string::size_type dot = fileName.rfind('.');
    const std::string stem = dot == std::string::npos ? fileName + "." : fileName.substr(0, dot + 1);
    return stem + ModelFileExtension;
}

void ModelLoader::Write(const std::string& name, const MeshList& meshes) const
{
    obinstream out(name);
    out << "Modelfile version " << ModelFile::Version << "MeshCount: "
        << static_cast<unsigned>(meshes.size());
    for (const std::unique_ptr<Mesh>& mesh : meshes)
        mesh->Write(out, directory);
    out << "Done\n";
    out.Close();
}

} // namespace Model3D
