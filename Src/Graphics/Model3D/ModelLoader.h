#pragma once

#include "Graphics/Model3D/Mesh.h"

#include <boost/iostreams/categories.hpp>
#include <ios>
#include <memory>
#include <string>

class DataStore;

namespace Model3D
{

// Turns one model file into meshes, on the loader thread of the model's
// store. The base picks the reader by the file's extension; each reader reads
// the whole file into memory first and reads its meshes from there.
class ModelLoader
{
public:
    // A source of Boost iostreams over the data between the loader's cursor
    // and its end.
    class mem_source
    {
    public:
        using char_type = char;
        using category = boost::iostreams::source_tag;

        explicit mem_source(ModelLoader& loader) : loader(&loader) {}

        // Up to n bytes from the cursor on; -1 once the cursor is at the end.
        std::streamsize read(char* buffer, std::streamsize n);

    private:
        ModelLoader* loader;
    };

    // store receives the material textures; fileName is the model's path.
    ModelLoader(DataStore* store, const std::string& fileName);
    virtual ~ModelLoader();
    ModelLoader(const ModelLoader&) = delete;
    ModelLoader& operator=(const ModelLoader&) = delete;

    // Fills the empty list with at least one mesh, or throws Error and
    // leaves it empty. An import (any file but a model file) is prepared
    // and converted once; when its model file cannot be written, a warning
    // says why and the imported meshes are kept.
    virtual void Load(MeshList& meshes);

    // Prepares every mesh in order (Mesh::Prepare).
    static void PrepareMeshes(const MeshList& meshes);

    // Writes the meshes as the model file beside the source: its path up to
    // the last "." followed by "3d". A file already there is never
    // overwritten. The file is written under another name and renamed into
    // place once whole, and only then is "Converting" printed; a model that
    // could not be read back, or a failed write, leaves no file behind and
    // throws "Can't write file '<target>': " and the reason.
    void Convert(const MeshList& meshes) const;

protected:
    // The whole file through the data files, disk first, then the archive.
    void LoadData();

    DataStore* const store;
    const std::string fileName;
    // The file's directory with its "/", or "".
    const std::string directory;
    // Where the next read starts, and one past the last byte of the data.
    const char* cursor = nullptr;
    const char* end = nullptr;

private:
    std::string GetTarget() const;
    void ConvertOrWarn(const MeshList& meshes) const;
    void Write(const std::string& name, const MeshList& meshes) const;

    std::unique_ptr<char[]> data;
};

} // namespace Model3D
