#pragma once

#include <ioapi.h>

// The file functions minizip reads the archive through: the disk file as it
// is, except that a read at or past its end returns nothing without asking
// the system. minizip reads the records of the archive a byte at a time, and
// in a record of a damaged archive that claims to run past the end it goes
// on reading there: tens of thousands of reads for every entry that a look-up
// passes, which the system would otherwise serve one by one.
zlib_filefunc64_def ArchiveFileFunctions();
