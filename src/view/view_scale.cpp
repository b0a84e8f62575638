#include "view/view_scale.h"

#include <cmath>
#include <limits>

#include "services/arith.h"

namespace kalvor {

std::int32_t RoundTwips(double value) {
    constexpr double kMax = std::numeric_limits<std::int32_t>::max();
    constexpr double kMin = std::numeric_limits<std::int32_t>::min();
    if (std::isnan(value)) return 0;
    if (value >= kMax) return std::numeric_limits<std::int32_t>::max();
    if (value <= kMin) return std::numeric_limits<std::int32_t>::min();
    return RoundHalfEven(value);
}

std::int32_t ViewScale::PixelToByte(double x) const {
    const std::int32_t t = UsableTwipsPerPixel(TwipsPerPixel);
    const std::int32_t pixel = RoundTwips(x) / t;
    return WrapAdd(Origin, WrapAdd(WrapMul(pixel, BytesPerPixel), ViewOffset));
}

std::int32_t ViewScale::ByteToX(double pos) const {
    return AudioToX(pos - Origin);
}

std::int32_t ViewScale::AudioToX(double audioOffset) const {
    return RoundTwips((audioOffset - ViewOffset) / BytesPerPixel * TwipsPerPixel);
}

}  // namespace kalvor
