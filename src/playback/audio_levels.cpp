#include "playback/audio_levels.h"

#include <algorithm>
#include <cmath>

#include "services/arith.h"

namespace kalvor {

double VolumeToLinear(std::int32_t level) {
    if (level <= kSilentLevel) return 0.0;
    return std::pow(10.0, std::min(level, 0) / 2000.0);
}

std::int32_t LinearToVolume(double gain) {
    // Below 10^-5 the level would pass -10000: that is silence already.
    if (!(gain > 1e-5)) return kSilentLevel;
    return std::clamp(RoundHalfEven(2000.0 * std::log10(gain)), kSilentLevel, 0);
}

double BalanceToPanorama(std::int32_t balance) {
    const std::int32_t b = std::clamp(balance, -10000, 10000);
    const double attenuation = 1.0 - std::pow(10.0, -std::abs(b) / 2000.0);
    return b < 0 ? -attenuation : attenuation;
}

std::int32_t PanoramaToBalance(double pan) {
    const double magnitude = std::min(std::abs(pan), 1.0);
    const std::int32_t b = magnitude >= 1.0 - 1e-5 ? 10000 : RoundHalfEven(-2000.0 * std::log10(1.0 - magnitude));
    return pan < 0 ? -std::min(b, 10000) : std::min(b, 10000);
}

}  // namespace kalvor
