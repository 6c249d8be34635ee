#pragma once

#include <SDL.h>
#include <cstdio>
#include <string>

namespace Platform
{

// Data written on other systems may separate folders with backslashes.
std::string ToNativePath(const std::string& name);

// fopen of the name with its separators made native; null when it fails.
std::FILE* OpenFile(const std::string& name, const char* mode);

// SDL_RWFromFile of the name with its separators made native; null when it fails.
SDL_RWops* OpenFileRW(const std::string& name, const char* mode);

} // namespace Platform
