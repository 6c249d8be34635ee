#include "Engine/ArchiveFile.h"

#include "Platform/FileSystem.h"

#include <cstdio>

namespace
{

struct ArchiveFile
{
    std::FILE* file;
    long size;
    long position;
};

// The archive is only read, and its offsets fit in a long.
voidpf ZCALLBACK Open(voidpf /*opaque*/, const void* name, int mode)
{
    if ((mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) != ZLIB_FILEFUNC_MODE_READ || !name)
        return nullptr;
    std::FILE* const file = Platform::OpenFile(static_cast<const char*>(name), "rb");
    if (!file)
        return nullptr;
    const long size = std::fseek(file, 0, SEEK_END) == 0 ? std::ftell(file) : -1;
    if (size < 0 || std::fseek(file, 0, SEEK_SET) != 0)
    {
        std::fclose(file);
        return nullptr;
    }
    return new ArchiveFile{file, size, 0};
}

uLong ZCALLBACK Read(voidpf /*opaque*/, voidpf stream, void* buffer, uLong size)
{
    ArchiveFile& archive = *static_cast<ArchiveFile*>(stream);
    if (archive.position >= archive.size)
        return 0;
    const std::size_t read = std::fread(buffer, 1, size, archive.file);
    archive.position += static_cast<long>(read);
    return static_cast<uLong>(read);
}

uLong ZCALLBACK Write(voidpf /*opaque*/, voidpf /*stream*/, const void* /*buffer*/, uLong /*size*/)
{
    return 0;
}

ZPOS64_T ZCALLBACK Tell(voidpf /*opaque*/, voidpf stream)
{
    return static_cast<ZPOS64_T>(static_cast<ArchiveFile*>(stream)->position);
}

// A position past the end is only noted: nothing can be read there.
long ZCALLBACK Seek(voidpf /*opaque*/, voidpf stream, ZPOS64_T offset, int origin)
{
    ArchiveFile& archive = *static_cast<ArchiveFile*>(stream);
    const long base = origin == ZLIB_FILEFUNC_SEEK_SET   ? 0
                      : origin == ZLIB_FILEFUNC_SEEK_CUR ? archive.position
                                                         : archive.size;
    const long target = base + static_cast<long>(offset);
    if (target < 0)
        return -1;
    if (target != archive.position && target < archive.size &&
        std::fseek(archive.file, target, SEEK_SET) != 0)
        return -1;
    archive.position = target;
    return 0;
}

int ZCALLBACK Close(voidpf /*opaque*/, voidpf stream)
{
    ArchiveFile* const archive = static_cast<ArchiveFile*>(stream);
    const int result = std::fclose(archive->file);
    delete archive;
    return result;
}

int ZCALLBACK TestError(voidpf /*opaque*/, voidpf stream)
{
    return std::ferror(static_cast<ArchiveFile*>(stream)->file);
}

} // namespace

zlib_filefunc64_def ArchiveFileFunctions()
{
    return {Open, Read, Write, Tell, Seek, Close, TestError, nullptr};
}
