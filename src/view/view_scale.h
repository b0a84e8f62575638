#pragma once
// The mapping between the time line's twips and the document's byte positions.
// The view scrolls in audio bytes: ViewOffset bytes of audio, counted from the
// first frame, lie left of the picture, and every screen pixel shows
// BytesPerPixel bytes. A pointer position becomes a whole pixel first (x \ T),
// so every twip inside one pixel selects the same byte. A leading tag has no
// place on the time line: pixel 0 of the whole-file view is the first frame.
#include <cstdint>

#include "services/twips.h"

namespace kalvor {

// Saturating round-half-even: values far outside the picture (a mark a whole
// file away at one byte per pixel) stay far outside instead of wrapping back
// into view.
std::int32_t RoundTwips(double value);

struct ViewScale {
    std::int32_t ViewOffset = 0;  // audio bytes left of the picture
    std::int32_t BytesPerPixel = 0;
    std::int32_t TwipsPerPixel = kDefaultTwipsPerPixel;  // T
    std::int32_t Origin = 0;                             // bytes before the first frame (AudioTimeScale::Origin)

    // pos = Origin + (x \ T) × BytesPerPixel + ViewOffset; x is rounded to whole
    // twips first.
    std::int32_t PixelToByte(double x) const;
    // x = round((pos − Origin − ViewOffset) ÷ BytesPerPixel × T). Callers make
    // sure the scale is at least 1.
    std::int32_t ByteToX(double pos) const;
    // The same for a place given in audio bytes from the first frame (where a
    // time lies).
    std::int32_t AudioToX(double audioOffset) const;
};

}  // namespace kalvor
