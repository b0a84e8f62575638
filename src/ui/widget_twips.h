#pragma once
// Window and picture coordinates are twips (1/1440 inch). The screen's twips per
// pixel is an integer read once at start; every twip-to-pixel step divides by it
// with integer division, so a control placed at 720 twips lands on the same pixel
// whichever window placed it.
#include "services/twips.h"

class QWidget;

namespace kalvor {

// twips \ T, truncated toward zero; a T below 1 counts as 1.
int TwipsToPixels(int twips, int twipsPerPixel);

// A pointer position in pixels as twips (pixel × T); fractions survive, as the
// mouse reports them on scaled screens.
double PixelsToTwips(double pixels, int twipsPerPixel);

// Moves and sizes a widget given in twips within its parent.
void PlaceInTwips(QWidget& widget, int left, int top, int width, int height, int twipsPerPixel);

}  // namespace kalvor
