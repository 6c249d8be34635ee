#pragma once

#include <SDL_rwops.h>
#include <cstddef>
#include <string>

// Every data file is read from the disk when it is there and otherwise from
// this archive in the working directory.
extern const char* const ArchiveName;

// NormalizePath of a data file's name, which lies in the data folder, the
// first folder of the relative path ("Data"). Throws Error "The path '<name>'
// leads out of the data folder" for an absolute path (also one with a drive
// letter) and for one whose ".." climbs above its first folder (Data/../x,
// ../x). Every data file is opened through it.
std::string DataPath(const std::string& name);

// The mutex that serialises opening data files and reading whole files or
// archive entries between the main thread and the loader threads.
void CreateFileMutex();
void DestroyFileMutex();

// The whole data file followed by one NUL that the size (when asked for) does
// not count. The caller releases the buffer with delete[]. Throws Error
// "Can't open file '<name>'" when the file is neither on disk nor in the
// archive, "Can't read '<name>' from 'Data.zip': <what is wrong>" when the
// archive or its entry is damaged, or the entry is encrypted or packed by a
// method other than storing and deflating (the only ones read, also from
// archives with Zip64 records), and "Can't read '<name>': <why>" when the
// file on disk is larger than any data file may be (256 MB, as in the archive),
// besides the error of DataPath.
char* ReadFile(const std::string& name, std::size_t* size);

// A read stream over the data file, closed with SDL_RWclose. A file on disk is
// read straight from the disk; an archive entry is read into memory first.
// Throws Error "Can't open file '<name>'", the error of DataPath or of an
// archive entry that cannot be read, or "Can't make RW from memory!".
SDL_RWops* OpenRW(const std::string& name);

// The two sources of ReadFile: a buffer as ReadFile returns it, or null when
// the file is not there (or, on disk, cannot be read whole). Both take the
// name as DataPath writes it, which ReadFile and OpenRW make of the name
// they are given; the archive is searched ignoring case. A damaged archive or
// an entry that cannot be read, or a file too large, throws the error above.
char* ReadFromDisk(const char* name, std::size_t* size);
char* ReadFromZip(const char* name, std::size_t* size);

// The close operation of the memory streams made by OpenRW: frees the buffer
// and the stream.
int FreeMemRW(SDL_RWops* stream);
