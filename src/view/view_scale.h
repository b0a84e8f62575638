#pragma once
// The mapping between the time line's twips and the document's byte positions.
// The view shows ViewOffset at its left edge and BytesPerPixel bytes in every
// screen pixel; a pointer position becomes a whole pixel first (x \ T), so every
// twip inside one pixel selects the same byte.
#include <cstdint>

namespace kalvor {

// Saturating round-half-even: values far outside the picture (a mark a whole
// file away at one byte per pixel) stay far outside instead of wrapping back
// into view.
std::int32_t RoundTwips(double value);

struct ViewScale {
    std::int32_t ViewOffset = 0;
    std::int32_t BytesPerPixel = 0;
    std::int32_t TwipsPerPixel = 15;  // T

    // byte = (x \ T) × BytesPerPixel + ViewOffset; x is rounded to whole twips first.
    std::int32_t PixelToByte(double x) const;
    // x = round((byte − ViewOffset) ÷ BytesPerPixel × T). Callers make sure the
    // scale is at least 1.
    std::int32_t ByteToX(double byte) const;
    // The same before rounding, for visibility tests and the play cursor.
    double ByteToXExact(double byte) const;
};

}  // namespace kalvor
