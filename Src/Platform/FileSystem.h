#pragma once

#include <SDL.h>
#include <cstdio>
#include <string>

namespace Platform
{

// Names separate folders with "/", the way the data layer writes every data
// file's name (NormalizePath).

// fopen of the name; null when it fails.
std::FILE* OpenFile(const std::string& name, const char* mode);

// SDL_RWFromFile of the name; null when it fails.
SDL_RWops* OpenFileRW(const std::string& name, const char* mode);

// Creates a new empty file whose name is the prefix followed by a few
// characters that no other file beside it has, and returns that name; "" when
// it cannot be created, with errno telling why.
std::string CreateUniqueFile(const std::string& prefix);

// Creates a new file the same way, never through a link planted at its name,
// and opens it for writing and reading; name is set to its name. Null, with
// errno telling why, when it cannot be created.
std::FILE* OpenUniqueFile(const std::string& prefix, std::string& name);

// Gives the open file the permission bits of the named file (of the one a
// link of that name leads to); nothing when there is no such file.
void CopyPermissions(const std::string& from, std::FILE* to);

enum class RenameResult
{
    Renamed,
    TargetExists,
    Failed
};

// Gives the file the new name unless a file of that name exists, which is
// then left as it is; the old name is gone either way. Failed, with the file
// still under its old name and errno telling why, when it cannot be done for
// another reason.
RenameResult RenameUnlessExists(const std::string& from, const std::string& to);

} // namespace Platform
