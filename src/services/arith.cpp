#include "services/arith.h"

namespace kalvor {

std::int32_t RoundHalfEven(double value) {
    // std::nearbyint honours the current rounding mode; kalvor never changes
    // it from the default round-to-nearest-even, but say so once, here.
    const int saved = std::fegetround();
    if (saved != FE_TONEAREST) std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(value);
    if (saved != FE_TONEAREST) std::fesetround(saved);
    if (!std::isfinite(rounded)) return 0;
    // Out-of-range reals wrap like every other 32-bit result.
    const double m = std::fmod(rounded, 4294967296.0);
    return Wrap32(static_cast<std::int64_t>(m));
}

}  // namespace kalvor
