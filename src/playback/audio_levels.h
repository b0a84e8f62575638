#pragma once
// Volume and balance are held in hundredths of a decibel, as the playback
// object's callers know them; the engine takes a linear gain and a pan
// position. These are the exact conversions both ways.
#include <cstdint>

namespace kalvor {

// The quietest level: silence.
inline constexpr std::int32_t kSilentLevel = -10000;

// level (-10000 … 0) to a linear gain: 10^(level / 2000); -10000 and below give
// 0 (silence), above 0 counts as 0.
double VolumeToLinear(std::int32_t level);
// The inverse, rounded to nearest, halves to even: 2000 · log10(gain), held in
// -10000 … 0 (a gain of 0 gives -10000).
std::int32_t LinearToVolume(double gain);

// balance b (-10000 left only … 10000 right only) is the attenuation of the
// opposite channel; the simple-method pan position giving it is
// sign(b) · (1 − 10^(−|b| / 2000)). Values beyond ±10000 count as ±10000.
double BalanceToPanorama(std::int32_t balance);
// The inverse: sign(p) · nearest(−2000 · log10(1 − |p|)), held in ±10000.
std::int32_t PanoramaToBalance(double pan);

}  // namespace kalvor
