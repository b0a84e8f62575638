#include "services/qt/screen_units.h"

#include <QGuiApplication>
#include <QScreen>

#include "services/twips.h"

namespace kalvor {
namespace {

QScreen* PrimaryScreen() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::primaryScreen() : nullptr;
}
}  // namespace

int TwipsPerPixelFor(double logicalDpi) {
    if (!(logicalDpi > 0)) return kDefaultTwipsPerPixel;
    const int t = static_cast<int>(1440.0 / logicalDpi);
    return t > 0 ? t : 1;
}

int TwipsPerPixel() {
    // Read once a screen is there; asked earlier, the usual value is the answer.
    static int t = 0;
    if (t == 0) {
        QScreen* screen = PrimaryScreen();
        if (!screen) return kDefaultTwipsPerPixel;
        t = TwipsPerPixelFor(screen->logicalDotsPerInch());
    }
    return t;
}

ScreenTwips ScreenSizeTwips() {
    QScreen* screen = PrimaryScreen();
    if (!screen) return {};
    const QSize size = screen->geometry().size();
    return {size.width() * TwipsPerPixel(), size.height() * TwipsPerPixel()};
}

}  // namespace kalvor
