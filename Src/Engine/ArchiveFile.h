#pragma once

#include <ioapi.h>

// The file functions minizip reads the archive through: the disk file as it
// is, read in windows of a few kilobytes, so that a seek costs nothing and a
// read asks the system only when it leaves the window, and a read at or past
// the end returns nothing without asking it. minizip seeks before every
// record of the directory and every chunk of an entry, and reads the records
// a byte at a time; in a record of a damaged archive that claims to run past
// the end it goes on reading there: tens of thousands of reads for every
// entry that a look-up passes, which the system would otherwise serve one by
// one.
zlib_filefunc64_def ArchiveFileFunctions();
