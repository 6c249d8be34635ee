#include "Engine/DataFile.h"

#include "Engine/ArchiveFile.h"
#include "Engine/ByteOrder.h"
#include "Engine/Error.h"
#include "Engine/ScopedLock.h"
#include "Engine/StringUtil.h"
#include "Platform/FileSystem.h"

#include <algorithm>
#include <boost/crc.hpp>
#include <filesystem>
#include <memory>
#include <unzip.h>
#include <vector>

const char* const ArchiveName = "Data.zip";

namespace
{

SDL_mutex* fileMutex = nullptr;

// unzLocateFile's case rule: compare names ignoring the case of letters.
const int IgnoreCase = 2;

// No data file of ours comes near this, on the disk or in the archive.
const unsigned long MaxFileSize = 256ul << 20;
const char* const TooLarge = "it is larger than the 256 MB a data file may have";

// A directory or device of that name is not a data file.
bool IsFileOnDisk(const char* name)
{
    std::error_code error;
    return std::filesystem::is_regular_file(name, error);
}

char* Terminate(std::unique_ptr<char[]> buffer, std::size_t length, std::size_t* size)
{
    buffer[length] = '\0';
    if (size)
        *size = length;
    return buffer.release();
}

class DiskFile
{
public:
    explicit DiskFile(const char* name) : file(Platform::OpenFile(name, "rb")) {}
    ~DiskFile()
    {
        if (file)
            std::fclose(file);
    }
    DiskFile(const DiskFile&) = delete;
    DiskFile& operator=(const DiskFile&) = delete;

    std::FILE* const file;
};

class Archive
{
public:
    Archive() : file(Open()) {}
    ~Archive()
    {
        if (file)
            unzClose(file);
    }
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;

    const unzFile file;

private:
    static unzFile Open()
    {
        zlib_filefunc64_def functions = ArchiveFileFunctions();
        return unzOpen2_64(ArchiveName, &functions);
    }
};

// What a minizip or zlib result code says about an entry.
std::string ZipProblem(int code)
{
    switch (code)
    {
    case UNZ_CRCERROR:
        return "its checksum does not match its content";
    case UNZ_BADZIPFILE:
        return "its header is damaged or its compression method unknown";
    case UNZ_ERRNO:
        return "the archive cannot be read";
    case Z_DATA_ERROR:
        return "its compressed data is damaged";
    case Z_MEM_ERROR:
        return "there is not enough memory to unpack it";
    default:
        return "minizip reports error " + ToString(code);
    }
}

[[noreturn]] void ThrowDamaged(const char* name, const std::string& problem)
{
    throw Error("Can't read '", name, "' from '", ArchiveName, "': ", problem);
}

// A size of this in the directory stands for the next 64-bit size of the
// entry's Zip64 extra field (id 1): the uncompressed one first, then the
// compressed one, each only where the directory holds the marker. minizip 1.1
// on a 64-bit system leaves the marker in their place.
const ZPOS64_T Zip64Marker = 0xFFFFFFFF;
const ZPOS64_T Zip64Id = 1;

// A marked size that the field does not hold stays marked, and the size
// checks refuse it.
void TakeZip64Sizes(const std::vector<unsigned char>& extra, unz_file_info64& info)
{
    for (std::size_t at = 0; at + 4 <= extra.size();)
    {
        const std::size_t end =
            std::min<std::size_t>(extra.size(), at + 4 + ReadLittleEndian(&extra[at + 2], 2));
        if (ReadLittleEndian(&extra[at], 2) == Zip64Id)
        {
            std::size_t next = at + 4;
            for (ZPOS64_T* const size : {&info.uncompressed_size, &info.compressed_size})
            {
                if (*size != Zip64Marker)
                    continue;
                if (next + 8 > end)
                    return;
                *size = ReadLittleEndian(&extra[next], 8);
                next += 8;
            }
            return;
        }
        at = end;
    }
}

// The directory's record of the entry found last, with the sizes of its Zip64
// extra field; returns minizip's status. The record itself has been read, so
// an extra field that cannot be is one that runs past the end of the archive.
int CurrentEntryInfo(unzFile archive, unz_file_info64& info)
{
    const int status = unzGetCurrentFileInfo64(archive, &info, nullptr, 0, nullptr, 0, nullptr, 0);
    if (status != UNZ_OK || info.size_file_extra == 0)
        return status;
    std::vector<unsigned char> extra(info.size_file_extra);
    if (unzGetCurrentFileInfo64(archive, &info, nullptr, 0, extra.data(),
                                static_cast<uLong>(extra.size()), nullptr, 0) != UNZ_OK)
        return UNZ_BADZIPFILE;
    TakeZip64Sizes(extra, info);
    return UNZ_OK;
}

// The bit of the general purpose flags that marks an encrypted entry.
const uLong Encrypted = 1;

// minizip hands out an entry of bzip2 as if it were stored, and one that it
// cannot decrypt as damaged.
std::string MethodProblem(const unz_file_info64& info)
{
    if (info.flag & Encrypted)
        return "it is encrypted";
    if (info.compression_method != 0 && info.compression_method != Z_DEFLATED)
        return "its compression method (" + ToString(static_cast<int>(info.compression_method)) +
               ") is not supported";
    return "";
}

// Deflate packs at most about 1032 bytes into one; sizes beyond what the
// archive can hold are damage, and must not be allocated.
const unsigned long MaxDeflateRatio = 1032;

std::string SizeProblem(const unz_file_info64& info)
{
    std::error_code error;
    const std::uintmax_t archiveSize = std::filesystem::file_size(ArchiveName, error);
    const bool stored = info.compression_method == 0;
    if (error || info.compressed_size > archiveSize ||
        (stored && info.uncompressed_size != info.compressed_size) ||
        info.uncompressed_size / MaxDeflateRatio > info.compressed_size)
        return "its sizes do not fit the archive";
    // No more than the declared size is read, so refusing it bounds the
    // inflated one too.
    if (info.uncompressed_size > MaxFileSize)
        return TooLarge;
    return "";
}

std::string EntryProblem(const unz_file_info64& info)
{
    const std::string method = MethodProblem(info);
    return method.empty() ? SizeProblem(info) : method;
}

bool MatchesChecksum(const char* content, std::size_t length, const unz_file_info64& info)
{
    boost::crc_32_type checksum;
    checksum.process_bytes(content, length);
    return checksum.checksum() == info.crc;
}

// Reads the entry opened last, whose record the info is. The reader counts in
// int, and so do the memory streams of OpenRW.
char* ReadCurrentEntry(unzFile archive, const unz_file_info64& info, const char* name,
                       std::size_t* size)
{
    const unsigned length = static_cast<unsigned>(info.uncompressed_size);
    std::unique_ptr<char[]> buffer(new char[length + 1]);
    const int read = unzReadCurrentFile(archive, buffer.get(), length);
    const int closed = unzCloseCurrentFile(archive);
    if (read < 0)
        ThrowDamaged(name, ZipProblem(read));
    if (read != static_cast<int>(length))
        ThrowDamaged(name, "it ends after " + ToString(read) + " of its " +
                               ToString(static_cast<int>(length)) + " bytes");
    if (closed != UNZ_OK)
        ThrowDamaged(name, ZipProblem(closed));
    // minizip checks the sum only against the size it read itself, and it
    // reads no Zip64 size.
    if (!MatchesChecksum(buffer.get(), length, info))
        ThrowDamaged(name, ZipProblem(UNZ_CRCERROR));
    return Terminate(std::move(buffer), length, size);
}

} // namespace

std::string DataPath(const std::string& name)
{
    const std::string path = NormalizePath(name);
    const bool absolute = !path.empty() && path[0] == '/';
    const bool drive = path.size() > 1 && path[1] == ':';
    const bool climbs =
        path == ".." || path.compare(0, 3, "../") == 0 || path.find("/..") != std::string::npos;
    if (absolute || drive || climbs)
        throw Error("The path '", name, "' leads out of the data folder");
    return path;
}

void CreateFileMutex()
{
    fileMutex = SDL_CreateMutex();
}

void DestroyFileMutex()
{
    SDL_DestroyMutex(fileMutex);
    fileMutex = nullptr;
}

char* ReadFile(const std::string& name, std::size_t* size)
{
    const std::string path = DataPath(name);
    const ScopedLock lock(fileMutex);
    char* buffer = ReadFromDisk(path.c_str(), size);
    if (!buffer)
        buffer = ReadFromZip(path.c_str(), size);
    if (!buffer)
        throw Error("Can't open file '", name, "'");
    return buffer;
}

SDL_RWops* OpenRW(const std::string& name)
{
    const std::string path = DataPath(name);
    ScopedLock lock(fileMutex);
    if (IsFileOnDisk(path.c_str()))
    {
        if (SDL_RWops* stream = Platform::OpenFileRW(path, "rb"))
            return stream;
    }
    std::size_t size = 0;
    char* buffer = ReadFromZip(path.c_str(), &size);
    lock.Unlock();
    if (!buffer)
        throw Error("Can't open file '", name, "'");
    SDL_RWops* stream = SDL_RWFromConstMem(buffer, static_cast<int>(size));
    if (!stream)
    {
        delete[] buffer;
        throw Error("Can't make RW from memory!");
    }
    stream->close = FreeMemRW;
    return stream;
}

char* ReadFromDisk(const char* name, std::size_t* size)
{
    if (!IsFileOnDisk(name))
        return nullptr;
    const DiskFile disk(name);
    if (!disk.file || std::fseek(disk.file, 0, SEEK_END) != 0)
        return nullptr;
    const long length = std::ftell(disk.file);
    if (length < 0 || std::fseek(disk.file, 0, SEEK_SET) != 0)
        return nullptr;
    if (static_cast<unsigned long>(length) > MaxFileSize)
        throw Error("Can't read '", name, "': ", TooLarge);
    std::unique_ptr<char[]> buffer(new char[length + 1]);
    const std::size_t count = static_cast<std::size_t>(length);
    if (std::fread(buffer.get(), 1, count, disk.file) != count)
        return nullptr;
    return Terminate(std::move(buffer), count, size);
}

char* ReadFromZip(const char* name, std::size_t* size)
{
    const Archive archive;
    if (!archive.file)
    {
        if (IsFileOnDisk(ArchiveName))
            ThrowDamaged(name, "the archive is damaged or cut short");
        return nullptr;
    }
    const int found = unzLocateFile(archive.file, name, IgnoreCase);
    if (found == UNZ_END_OF_LIST_OF_FILE)
        return nullptr;
    if (found != UNZ_OK)
        ThrowDamaged(name, ZipProblem(found));
    unz_file_info64 info;
    const int status = CurrentEntryInfo(archive.file, info);
    const std::string problem = status != UNZ_OK ? ZipProblem(status) : EntryProblem(info);
    if (!problem.empty())
        ThrowDamaged(name, problem);
    const int opened = unzOpenCurrentFile(archive.file);
    if (opened != UNZ_OK)
        ThrowDamaged(name, ZipProblem(opened));
    return ReadCurrentEntry(archive.file, info, name, size);
}

int FreeMemRW(SDL_RWops* stream)
{
    if (stream)
    {
        delete[] reinterpret_cast<char*>(stream->hidden.mem.base);
        SDL_FreeRW(stream);
    }
    return 0;
}
