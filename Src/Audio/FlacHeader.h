#pragma once

#include <SDL_rwops.h>

// SDL_mixer's FLAC decoder plays only 16-bit stereo. Of any other FLAC music
// it plays nothing: the piece ends at once, and a piece restarted at its end
// ends again; from a file of more than about 16 kB the audio thread restarts
// it for ever under the audio lock. A rate far below the usual ones, or a
// frame of other channels than the stream information says, crashes the
// decoder. So music is checked first: a FLAC stream must open with stream
// information of 2 channels, 16 bits and a rate of MinWaveRate to MaxWaveRate,
// and each frame that the decoder would meet must hold 2 channels of 16 bits.
//
// True when the stream holds a FLAC file ("fLaC") whose stream information is
// missing, cut short or outside those values, whose metadata runs past its
// end, or which holds such a frame; any other stream is left to SDL_mixer.
// The stream is back where it was afterwards.
bool IsUnplayableFlac(SDL_RWops* stream);
