#pragma once

#include <SDL_rwops.h>

// What the markers of a JPEG stream say before its first scan: the number of
// components of its frame and Adobe's APP14 segment, which tells how four
// components hold ink.
struct JpegHeader
{
    // Adobe's colour transforms of four components.
    static constexpr int InkTransform = 0;  // CMYK as it is
    static constexpr int YcckTransform = 2; // YCCK, which libjpeg turns into CMYK

    // Reads the markers from where the stream stands up to the first scan, the
    // end of the image or the end of the data, whichever comes first, and
    // seeks back there. A stream that is no JPEG gives a header of no
    // components; a damaged marker ends the reading with what was read.
    static JpegHeader Read(SDL_RWops* stream);

    bool IsCmyk() const { return components == 4; }

    int components = 0;
    bool adobe = false;
    int adobeTransform = 0;
};
