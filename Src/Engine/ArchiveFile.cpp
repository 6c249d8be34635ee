#include "Engine/ArchiveFile.h"

#include "Platform/FileSystem.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

namespace
{

// The file is read in aligned blocks of this size, so that minizip's search
// for the end records, which goes backwards a kilobyte at a time, costs one
// read for each block as its walk forwards through the directory does.
const long WindowSize = 65536;

// The block of the file that holds the last position read, unbuffered below;
// the window is no larger than the file.
struct ArchiveFile
{
    std::FILE* file;
    long size;
    long position;
    long windowStart;
    long windowLength;
    std::unique_ptr<char[]> window;
};

bool Holds(const ArchiveFile& archive)
{
    return archive.position >= archive.windowStart &&
           archive.position - archive.windowStart < archive.windowLength;
}

// Reads the block that holds the position, which lies before the end.
bool Fill(ArchiveFile& archive)
{
    archive.windowStart = archive.position / WindowSize * WindowSize;
    archive.windowLength = 0;
    if (std::fseek(archive.file, archive.windowStart, SEEK_SET) != 0)
        return false;
    const long length = std::min(WindowSize, archive.size - archive.windowStart);
    archive.windowLength = static_cast<long>(
        std::fread(archive.window.get(), 1, static_cast<std::size_t>(length), archive.file));
    return Holds(archive);
}

// The archive is only read, and its offsets fit in a long.
voidpf ZCALLBACK Open(voidpf /*opaque*/, const void* name, int mode)
{
    if ((mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) != ZLIB_FILEFUNC_MODE_READ || !name)
        return nullptr;
    std::FILE* const file = Platform::OpenFile(static_cast<const char*>(name), "rb");
    if (!file)
        return nullptr;
    const bool unbuffered = std::setvbuf(file, nullptr, _IONBF, 0) == 0;
    const long size = unbuffered && std::fseek(file, 0, SEEK_END) == 0 ? std::ftell(file) : -1;
    if (size < 0)
    {
        std::fclose(file);
        return nullptr;
    }
    // Uninitialised: only what a read brings in is ever copied out.
    std::unique_ptr<char[]> window(new char[std::max(1L, std::min(WindowSize, size))]);
    return new ArchiveFile{file, size, 0, 0, 0, std::move(window)};
}

uLong ZCALLBACK Read(voidpf /*opaque*/, voidpf stream, void* buffer, uLong size)
{
    ArchiveFile& archive = *static_cast<ArchiveFile*>(stream);
    char* const out = static_cast<char*>(buffer);
    uLong read = 0;
    while (read < size && archive.position < archive.size)
    {
        if (!Holds(archive) && !Fill(archive))
            break;
        const long start = archive.position - archive.windowStart;
        const uLong count = std::min<uLong>(size - read, archive.windowLength - start);
        std::memcpy(out + read, archive.window.get() + start, count);
        read += count;
        archive.position += static_cast<long>(count);
    }
    return read;
}

uLong ZCALLBACK Write(voidpf /*opaque*/, voidpf /*stream*/, const void* /*buffer*/, uLong /*size*/)
{
    return 0;
}

ZPOS64_T ZCALLBACK Tell(voidpf /*opaque*/, voidpf stream)
{
    return static_cast<ZPOS64_T>(static_cast<ArchiveFile*>(stream)->position);
}

// A position is only noted: the next read outside the window moves it.
long ZCALLBACK Seek(voidpf /*opaque*/, voidpf stream, ZPOS64_T offset, int origin)
{
    ArchiveFile& archive = *static_cast<ArchiveFile*>(stream);
    const long base = origin == ZLIB_FILEFUNC_SEEK_SET   ? 0
                      : origin == ZLIB_FILEFUNC_SEEK_CUR ? archive.position
                                                         : archive.size;
    const long target = base + static_cast<long>(offset);
    if (target < 0)
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
