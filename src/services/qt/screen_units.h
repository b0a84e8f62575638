#pragma once
// Window and drawing coordinates are kept in twips (1/1440 inch); the screen's
// twips per pixel turns them into pixels with integer division.

namespace kalvor {

// 1440 / the primary screen's logical dots per inch, as an integer (15 at 96
// dpi), read on the first call that finds a screen and fixed afterwards; 15
// while there is no screen.
int TwipsPerPixel();

// 1440 / dpi as an integer; 15 for a resolution that is not positive.
int TwipsPerPixelFor(double logicalDpi);

// The primary screen's size in twips (pixels × TwipsPerPixel()); 0 × 0 without a screen.
struct ScreenTwips {
    int Width = 0;
    int Height = 0;
};
ScreenTwips ScreenSizeTwips();

}  // namespace kalvor
