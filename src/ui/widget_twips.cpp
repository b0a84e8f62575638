#include "ui/widget_twips.h"

#include <QWidget>

namespace kalvor {

int TwipsToPixels(int twips, int twipsPerPixel) {
    return twips / UsableTwipsPerPixel(twipsPerPixel);
}

double PixelsToTwips(double pixels, int twipsPerPixel) {
    return pixels * UsableTwipsPerPixel(twipsPerPixel);
}

void PlaceInTwips(QWidget& widget, int left, int top, int width, int height, int twipsPerPixel) {
    widget.setGeometry(TwipsToPixels(left, twipsPerPixel), TwipsToPixels(top, twipsPerPixel),
                       TwipsToPixels(width, twipsPerPixel), TwipsToPixels(height, twipsPerPixel));
}

}  // namespace kalvor
