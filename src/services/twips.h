#pragma once
// Window and picture measures are twips (1/1440 inch). How many twips make a
// screen pixel depends on the screen; it is read once at start and goes by one
// name, TwipsPerPixel, in every layer.
#include <cstdint>

namespace kalvor {

// A 96-dpi screen's twips per pixel, and the value assumed until a screen is known.
inline constexpr std::int32_t kDefaultTwipsPerPixel = 15;

// A twips per pixel below 1 counts as 1, so that every division by it is defined.
constexpr std::int32_t UsableTwipsPerPixel(std::int32_t twipsPerPixel) {
    return twipsPerPixel < 1 ? 1 : twipsPerPixel;
}

}  // namespace kalvor
