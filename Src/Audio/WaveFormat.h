#pragma once

#include <SDL_rwops.h>
#include <string>

class Resource;

// SDL's loaders trust the format chunk of a WAV file: no channels, a rate of
// 0 or 1 Hz, or a compressed kind with odd parameters crash them or their
// rate conversion. So the loaders read the chunk first. These are the values
// they take: 8- or 16-bit PCM, 1 to 8 channels, 1000 to 192000 Hz.
const int MinWaveChannels = 1;
const int MaxWaveChannels = 8;
const int MinWaveRate = 1000;
const int MaxWaveRate = 192000;

// Throws Error "Can't play '<path>': <what is wrong>" when the stream holds a
// RIFF WAVE file of a format outside those values; any other stream is left to
// SDL. The stream is back where it was afterwards.
void CheckWaveFormat(SDL_RWops* stream, const std::string& path);

// The sound file through the data-file layer (OpenRW), its WAV format checked;
// the caller closes the stream. Throws the errors of both.
SDL_RWops* OpenSound(const std::string& path);

// OpenSound of a sound resource's file, once its definition (root element
// the kind's word) is read; throws Error "<kind> filename was not specified!"
// when the definition names no file.
SDL_RWops* OpenSoundResource(Resource& resource, const std::string& kind);
