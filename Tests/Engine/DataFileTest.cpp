#include "Engine/DataFile.h"

#include "Engine/Error.h"
#include "Engine/ScopedArray.h"
#include "Support/Archive.h"
#include "Support/TempDirectory.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <vector>
#include <zip.h>

namespace
{

// The file's content and the size ReadFile reported, checking the NUL after it.
std::string Read(const std::string& name)
{
    std::size_t size = 12345;
    const ScopedArray<char> buffer(ReadFile(name, &size));
    EXPECT_EQ('\0', buffer.Get()[size]) << name;
    return std::string(buffer.Get(), size);
}

std::string ReadStream(const std::string& name)
{
    SDL_RWops* stream = OpenRW(name);
    std::string content;
    char chunk[7];
    int count;
    while ((count = SDL_RWread(stream, chunk, 1, sizeof chunk)) > 0)
        content.append(chunk, count);
    EXPECT_EQ(0, SDL_RWclose(stream));
    return content;
}

std::string OpenError(const std::string& name, bool stream)
{
    try
    {
        if (stream)
            SDL_RWclose(OpenRW(name));
        else
            delete[] ReadFile(name, nullptr);
    }
    catch (const Error& e)
    {
        return e.what();
    }
    return "no error";
}

class DataFileTest : public testing::Test
{
protected:
    void SetUp() override { CreateFileMutex(); }
    void TearDown() override { DestroyFileMutex(); }

    TempDirectory dir;
};

// The first local header and central directory entry of an archive, and the
// offsets of the size fields within each.
std::size_t LocalHeader(const std::string& zip)
{
    return zip.find("PK\x03\x04");
}

std::size_t CentralEntry(const std::string& zip)
{
    return zip.find("PK\x01\x02");
}

const std::size_t Compressed[] = {18, 20};
const std::size_t Uncompressed[] = {22, 24};

void SetU32(std::string& zip, std::size_t at, unsigned value)
{
    for (int i = 0; i < 4; ++i)
        zip[at + i] = static_cast<char>(value >> (8 * i));
}

// A size field (Compressed or Uncompressed), in both headers.
void SetSize(std::string& zip, const std::size_t (&field)[2], unsigned value)
{
    SetU32(zip, LocalHeader(zip) + field[0], value);
    SetU32(zip, CentralEntry(zip) + field[1], value);
}

} // namespace

TEST_F(DataFileTest, DiskWinsOverTheArchive)
{
    WriteTextFile("Data/Root.xml", "from disk");
    WriteArchive({{"Data/Root.xml", "from the archive", Z_DEFLATED},
                  {"Data/Other.xml", "only in the archive", Z_DEFLATED}});

    EXPECT_EQ("from disk", Read("Data/Root.xml"));
    EXPECT_EQ("from disk", ReadStream("Data/Root.xml"));
    EXPECT_EQ("only in the archive", Read("Data/Other.xml"));
    EXPECT_EQ("only in the archive", ReadStream("Data/Other.xml"));
}

TEST_F(DataFileTest, ArchiveEntriesAreFoundIgnoringCaseAndSeparators)
{
    const std::string content(5000, 'q');
    WriteArchive({{"Data/Textures/Stars.png", content, Z_DEFLATED}});

    for (const char* name : {"Data/Textures/Stars.png", "data/TEXTURES/stars.PNG",
                             "Data\\Textures\\Stars.png", "Data/Ui/../Textures/Stars.png"})
    {
        EXPECT_EQ(content, Read(name)) << name;
        EXPECT_EQ(content, ReadStream(name)) << name;
    }
}

TEST_F(DataFileTest, EmptyFilesGiveOneNulAndSizeZero)
{
    WriteTextFile("Data/Empty.txt", "");
    WriteArchive({{"Data/Packed.txt", "", Z_DEFLATED}});

    EXPECT_EQ("", Read("Data/Empty.txt"));
    EXPECT_EQ("", Read("Data/Packed.txt"));
    EXPECT_EQ("", ReadStream("Data/Packed.txt"));
}

TEST_F(DataFileTest, MissingFilesThrow)
{
    for (bool stream : {false, true})
    {
        EXPECT_EQ("Can't open file 'Data/None.xml'", OpenError("Data/None.xml", stream));
        WriteArchive({{"Data/Some.xml", "x", Z_DEFLATED}});
        EXPECT_EQ("Can't open file 'Data/None.xml'", OpenError("Data/None.xml", stream));
        std::filesystem::remove(ArchiveName);
    }
}

// Every data file lies in the data folder, the first folder of its path. A
// path that climbs above it, or an absolute one, is refused before anything
// is looked for, so nothing tells whether a file outside exists.
TEST_F(DataFileTest, APathOutOfTheDataFolderIsRefused)
{
    WriteTextFile("Data/Root.xml", "inside");
    WriteArchive({{"Data/Root.xml", "inside", Z_DEFLATED}});
    const std::string absolute = (std::filesystem::current_path() / "Data/Root.xml").string();
    for (const std::string& path :
         {std::string("Data/Melee/../../../../tmp/x/Cruiser.x"), std::string("Data/../x"),
          std::string("Data/.."), std::string("Data\\..\\x"), std::string("Data/..x"),
          std::string("a/b/../../../x"), std::string("../x"), std::string(".."),
          std::string("./../x"), std::string("/../x"), std::string("/etc/passwd"), absolute,
          std::string("C:\\Data\\Root.xml"), std::string("c:Data/Root.xml"),
          std::string("\\\\server\\Data\\Root.xml")})
    {
        const std::string refused = "The path '" + path + "' leads out of the data folder";
        for (bool stream : {false, true})
            EXPECT_EQ(refused, OpenError(path, stream)) << path;
    }
    EXPECT_EQ("Data/Fonts/a.png", DataPath("Data\\Ui\\..\\Fonts\\a.png"));
    EXPECT_EQ("..x/y", DataPath("..x/y"));
    EXPECT_EQ("inside", Read("Data/Fonts/../Root.xml"));
}

// Damages the bytes of an archive holding one entry, Data/Bad.txt, so that
// each case finds its own fault.
TEST_F(DataFileTest, ADamagedArchiveNamesTheArchiveTheEntryAndTheFault)
{
    const std::string content = "an entry whose archive is damaged";
    struct Case
    {
        const char* fault;
        int method;
        std::function<void(std::string&)> damage;
        const char* problem;
    };
    const Case cases[] = {
        {"a changed byte", 0, [&](std::string& zip) { zip[zip.find(content)] = 'A'; },
         "its checksum does not match its content"},
        {"damaged compressed data", Z_DEFLATED,
         [&](std::string& zip)
         {
             const std::size_t data = LocalHeader(zip) + 30 + std::string("Data/Bad.txt").size();
             for (std::size_t at = data; at < data + 8; ++at)
                 zip[at] = static_cast<char>(~zip[at]);
         },
         nullptr},
        // minizip inflates no more than the entry declares.
        {"a smaller size", Z_DEFLATED, [&](std::string& zip) { SetSize(zip, Uncompressed, 10); },
         "its checksum does not match its content"},
        {"a larger size", Z_DEFLATED,
         [&](std::string& zip) { SetSize(zip, Uncompressed, 1000); },
         "it ends after 33 of its 1000 bytes"},
        // Sizes that no entry of this archive can have are not allocated.
        {"a stored entry of another size", 0,
         [&](std::string& zip) { SetSize(zip, Uncompressed, 34); },
         "its sizes do not fit the archive"},
        {"a size beyond what deflate packs", Z_DEFLATED,
         [&](std::string& zip) { SetSize(zip, Uncompressed, 2000000000); },
         "its sizes do not fit the archive"},
        {"a compressed size beyond the archive", 0,
         [&](std::string& zip) { SetSize(zip, Compressed, 2000000000); },
         "its sizes do not fit the archive"},
        {"an unknown method", 0,
         [&](std::string& zip)
         {
             zip[LocalHeader(zip) + 8] = 99;
             zip[CentralEntry(zip) + 10] = 99;
         },
         "its compression method (99) is not supported"},
        {"another method in the local header", 0,
         [&](std::string& zip) { zip[LocalHeader(zip) + 8] = 99; },
         "its header is damaged or its compression method unknown"},
        {"a wrong offset", 0, [&](std::string& zip) { SetU32(zip, CentralEntry(zip) + 42, 7); },
         "its header is damaged or its compression method unknown"},
        {"a cut central directory", 0,
         [&](std::string& zip) { zip.resize(CentralEntry(zip) + 20); },
         "the archive is damaged or cut short"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.fault);
        WriteArchive({{"Data/Bad.txt", content, c.method}});
        std::string archive = ReadTextFile(ArchiveName);
        c.damage(archive);
        WriteTextFile(ArchiveName, archive);
        for (bool stream : {false, true})
        {
            const std::string error = OpenError("Data/Bad.txt", stream);
            const std::string prefix = "Can't read 'Data/Bad.txt' from 'Data.zip': ";
            EXPECT_EQ(0u, error.find(prefix)) << error;
            if (c.problem)
            {
                EXPECT_EQ(prefix + c.problem, error);
            }
        }
        // Beside a damaged entry, a file that is not in the archive is only missing.
        if (std::string(c.fault) != "a cut central directory")
        {
            EXPECT_EQ("Can't open file 'Data/None.txt'", OpenError("Data/None.txt", false));
        }
    }
}

namespace
{

// A data file that every method packs, so that no archiver stores it instead.
std::string PackableContent()
{
    std::string content = "<Root>\n";
    for (int i = 0; i < 60; ++i)
        content += "  <Item name=\"item" + std::to_string(i) + "\"/>\n";
    return content + "</Root>\n";
}

std::string ContentOrError(const std::string& name, bool stream)
{
    try
    {
        return stream ? ReadStream(name) : Read(name);
    }
    catch (const Error& e)
    {
        return e.what();
    }
}

} // namespace

// Archives as the everyday tools write them: Zip64 records (which Info-ZIP's
// zip gives only the sizes it marks) are read, and an entry that only a method
// of another kind or a password unpacks is refused for that cause.
TEST_F(DataFileTest, ArchivesOfTheEverydayToolsAreReadOrRefusedForTheirCause)
{
    struct Case
    {
        std::vector<std::string> command;
        const char* problem; // null when the entry is read
    };
    const Case cases[] = {
        {{"zip", "-q", "-fz"}, nullptr},
        {{"zip", "-q", "-fz", "-0"}, nullptr},
        {{"zip", "-q", "-Z", "bzip2"}, "its compression method (12) is not supported"},
        {{"zip", "-q", "-P", "secret"}, "it is encrypted"},
        {{"zip", "-q", "-0", "-P", "secret"}, "it is encrypted"},
        {{"7z", "a", "-tzip", "-mm=LZMA"}, "its compression method (14) is not supported"},
        {{"7z", "a", "-tzip", "-psecret", "-mem=AES256"}, "it is encrypted"},
    };
    const std::string content = PackableContent();
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::PrintToString(c.command));
        WriteTextFile("Data/Root.xml", content);
        ASSERT_NO_FATAL_FAILURE(PackIntoArchive(c.command, {"Data/Root.xml"}));
        const std::string expected =
            c.problem ? std::string("Can't read 'Data/Root.xml' from 'Data.zip': ") + c.problem
                      : content;
        for (bool stream : {false, true})
            EXPECT_EQ(expected, ContentOrError("Data/Root.xml", stream)) << "stream: " << stream;
    }
}

// The sizes of a Zip64 extra field meet the same checks as any other, the
// checksum among them.
TEST_F(DataFileTest, AZip64SizeThatIsWrongIsDamage)
{
    const std::string content = PackableContent();
    const unsigned length = static_cast<unsigned>(content.size());
    struct Case
    {
        unsigned size;
        std::string problem;
    };
    const Case cases[] = {
        {length - 1, "its checksum does not match its content"},
        {length + 100, "it ends after " + std::to_string(length) + " of its " +
                           std::to_string(length + 100) + " bytes"},
        {2000000000, "its sizes do not fit the archive"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.size);
        WriteTextFile("Data/Root.xml", content);
        ASSERT_NO_FATAL_FAILURE(PackIntoArchive({"zip", "-q", "-fz"}, {"Data/Root.xml"}));
        std::string archive = ReadTextFile(ArchiveName);
        // The directory's Zip64 field holds the uncompressed size alone.
        const std::size_t field =
            archive.find(std::string("\x01\x00\x08\x00", 4), CentralEntry(archive));
        ASSERT_NE(std::string::npos, field);
        SetU32(archive, field + 4, c.size);
        WriteTextFile(ArchiveName, archive);
        for (bool stream : {false, true})
        {
            EXPECT_EQ("Can't read 'Data/Root.xml' from 'Data.zip': " + c.problem,
                      OpenError("Data/Root.xml", stream));
        }
    }
}

// An entry declaring 300 MB, whose 300 KB of bytes that do not pack make that
// a size deflate could reach: it is refused before anything is allocated.
TEST_F(DataFileTest, AnEntryLargerThanAnyDataFileIsRefused)
{
    std::string content(300000, '\0');
    unsigned seed = 1;
    for (char& c : content)
    {
        seed = seed * 1103515245u + 12345u;
        c = static_cast<char>(seed >> 24);
    }
    WriteArchive({{"Data/Huge.xml", content, Z_DEFLATED}});
    std::string archive = ReadTextFile(ArchiveName);
    SetSize(archive, Uncompressed, 300000000);
    WriteTextFile(ArchiveName, archive);
    for (bool stream : {false, true})
    {
        EXPECT_EQ("Can't read 'Data/Huge.xml' from 'Data.zip': it is larger than the 256 MB a "
                  "data file may have",
                  OpenError("Data/Huge.xml", stream));
    }
}

// On the disk as in the archive, before anything is allocated.
TEST_F(DataFileTest, AFileOnDiskLargerThanAnyDataFileIsRefused)
{
    WriteTextFile("Data/Huge.xml", "");
    std::filesystem::resize_file("Data/Huge.xml", (std::uintmax_t(256) << 20) + 1);
    EXPECT_EQ("Can't read 'Data/Huge.xml': it is larger than the 256 MB a data file may have",
              OpenError("Data/Huge.xml", false));
}

TEST_F(DataFileTest, ADirectoryIsNotADataFile)
{
    std::filesystem::create_directories("Data/Music.ogg");
    EXPECT_EQ(nullptr, ReadFromDisk("Data/Music.ogg", nullptr));
    EXPECT_EQ("Can't open file 'Data/Music.ogg'", OpenError("Data/Music.ogg", false));
    EXPECT_EQ("Can't open file 'Data/Music.ogg'", OpenError("Data/Music.ogg", true));

    WriteArchive({{"Data/Music.ogg", "music", Z_DEFLATED}});
    EXPECT_EQ("music", Read("Data/Music.ogg"));
    EXPECT_EQ("music", ReadStream("Data/Music.ogg"));
}

TEST_F(DataFileTest, DiskNamesMayUseBackslashes)
{
    WriteTextFile("Data/Ui/Menu.xml", "<Ui/>");
    EXPECT_EQ("<Ui/>", Read("Data\\Ui\\Menu.xml"));
    EXPECT_EQ("<Ui/>", ReadStream("Data\\Ui\\Menu.xml"));
}

namespace
{

// The read calls this process has made, as Linux counts them.
long ReadCalls()
{
    std::ifstream io("/proc/self/io");
    std::string key;
    long value = 0;
    while (io >> key >> value)
    {
        if (key == "syscr:")
            return value;
    }
    return 0;
}

void AppendLittleEndian(std::string& bytes, unsigned value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// One entry in the directory, whose extra field claims to run 65535 bytes
// past the end of the file.
std::string ArchiveWithRecordPastTheEnd()
{
    const std::string name = "Data/Damaged.txt";
    std::string record;
    AppendLittleEndian(record, 0x02014B50, 4);
    AppendLittleEndian(record, 20, 2); // made by
    AppendLittleEndian(record, 20, 2); // needed
    AppendLittleEndian(record, 0, 2);  // flags
    AppendLittleEndian(record, 0, 2);  // stored
    AppendLittleEndian(record, 0, 4);  // time and date
    AppendLittleEndian(record, 0, 4);  // CRC
    AppendLittleEndian(record, 0, 4);  // compressed size
    AppendLittleEndian(record, 0, 4);  // size
    AppendLittleEndian(record, static_cast<unsigned>(name.size()), 2);
    AppendLittleEndian(record, 0xFFFF, 2); // extra field
    AppendLittleEndian(record, 0, 2);      // comment
    AppendLittleEndian(record, 0, 2);      // disk
    AppendLittleEndian(record, 0, 2);      // internal attributes
    AppendLittleEndian(record, 0, 4);      // external attributes
    AppendLittleEndian(record, 0, 4);      // local header
    record += name;
    std::string end;
    AppendLittleEndian(end, 0x06054B50, 4);
    AppendLittleEndian(end, 0, 4); // disks
    AppendLittleEndian(end, 1, 2);
    AppendLittleEndian(end, 1, 2);
    AppendLittleEndian(end, static_cast<unsigned>(record.size()), 4);
    AppendLittleEndian(end, 0, 4); // the directory's offset
    AppendLittleEndian(end, 0, 2); // comment
    return record + end;
}

} // namespace

// minizip goes on reading such a record byte by byte to its claimed end; the
// file layer answers those reads itself, so a look-up costs a handful of
// system reads instead of tens of thousands.
TEST_F(DataFileTest, ARecordPastTheEndOfTheArchiveCostsNoReadsThere)
{
    WriteTextFile(ArchiveName, ArchiveWithRecordPastTheEnd());
    const std::string damaged = "Can't read 'Data/Damaged.txt' from 'Data.zip': its header is "
                                "damaged or its compression method unknown";
    const long before = ReadCalls();
    EXPECT_EQ(damaged, OpenError("Data/Damaged.txt", false));
    EXPECT_EQ(damaged, OpenError("Data/Damaged.txt", true));
    EXPECT_LT(ReadCalls() - before, 1000);
}

// minizip seeks before each record of the directory and each chunk of an
// entry; the file layer reads the archive in blocks, so a look-up past many
// entries, over several blocks, costs a few system reads, not some for every
// entry.
TEST_F(DataFileTest, ALookUpPastManyEntriesCostsFewReads)
{
    std::vector<ArchiveEntry> entries;
    for (int i = 0; i < 1000; ++i)
        entries.push_back({"Data/Entry" + std::to_string(i) + ".txt", "entry " + std::to_string(i),
                           Z_DEFLATED});
    WriteArchive(entries);
    const long before = ReadCalls();
    EXPECT_EQ("entry 999", Read("Data/Entry999.txt"));
    EXPECT_EQ("entry 500", ReadStream("Data/entry500.TXT"));
    EXPECT_LT(ReadCalls() - before, 40);
}
