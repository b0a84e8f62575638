// PictureSec paints the time line's drawing list: ticks, marks, the shade past the
// end, the OR-ed selection and the play cursor, checked pixel by pixel.
#include <QTest>

#include "ui/time_line_picture.h"

using namespace kalvor;

namespace {

constexpr int kT = 15;
constexpr int kWidthPx = 365;
constexpr int kHeightPx = 45;
constexpr int kLineRow = 30;  // below the labels, above the one-second ticks

// 10 000 bytes per second at 100 bytes per pixel: a tick every second, at every
// 100 pixels; block marks at pixels 220 (selected) and 300; selection 150..250.
DrawInput Scene() {
    static const std::vector<BlockRec> blocks{{}, {22000, 30000}};
    DrawInput in;
    in.AudioLength = 1000000;
    in.DurationMs = 100000;
    in.ViewWidthPx = kWidthPx;
    in.Scale = {0, 100, kT};
    in.Width = kWidthPx * kT;
    in.Height = kHeightPx * kT;
    in.SelStart = 15000;
    in.SelEnd = 25000;
    in.Blocks = &blocks;
    return in;
}

// A 365 × 45 pixel time line showing drawing.
struct Painted {
    explicit Painted(const Drawing& drawing) {
        picture.SetTwipsPerPixel(kT);
        picture.resize(kWidthPx, kHeightPx);
        picture.SetDrawing(drawing);
    }
    TimeLinePicture picture;
};

QRgb PixelAt(TimeLinePicture& picture, int x, int y) {
    return picture.grab().toImage().pixel(x, y) & 0xFFFFFF;
}

}  // namespace

class TimeLinePictureTest : public QObject {
    Q_OBJECT
   private slots:
    void paintsEachShapeInItsColour_data() {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<uint>("rgb");
        QTest::newRow("background") << 50 << kLineRow << 0x000000u;
        QTest::newRow("teal tick") << 100 << kLineRow << 0x00C0C0u;
        QTest::newRow("one-second tick at the bottom") << 100 << kHeightPx - 1 << 0x00C0C0u;
        QTest::newRow("blue block mark") << 300 << kLineRow << 0x0000FFu;
        QTest::newRow("mark is one pixel wide") << 301 << kLineRow << 0x000000u;
        QTest::newRow("selection over the background") << 170 << kLineRow << 0x606060u;
        QTest::newRow("selection brightens a tick") << 200 << kLineRow << 0x60E0E0u;
        QTest::newRow("selection brightens a mark") << 220 << kLineRow << 0x6060FFu;
        QTest::newRow("selection ends before its end pixel") << 250 << kLineRow << 0x000000u;
    }
    void paintsEachShapeInItsColour() {
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(uint, rgb);
        Painted painted(DrawPicture(Scene()));
        TimeLinePicture& picture = painted.picture;
        QCOMPARE(PixelAt(picture, x, y), QRgb(rgb));
    }

    void labelsAreWrittenRightOfTheirTick() {
        Painted painted(DrawPicture(Scene()));
        TimeLinePicture& picture = painted.picture;
        const QImage image = picture.grab().toImage();
        int teal = 0;
        for (int x = 103; x < 140; ++x)
            for (int y = 0; y < 20; ++y)
                if ((image.pixel(x, y) & 0xFFFFFF) != 0) ++teal;
        QVERIFY(teal > 10);
    }

    void highlightPaintedAgainDoesNotBrightenFurther() {
        Drawing drawing = DrawPicture(Scene());
        DrawSelection(drawing, drawing.HandleX, kWidthPx * kT, kHeightPx * kT);
        Painted painted(drawing);
        QCOMPARE(PixelAt(painted.picture, 170, kLineRow), QRgb(0x606060));
    }

    void pastTheEndOfTheAudioIsTheButtonShadow() {
        DrawInput in = Scene();
        in.Scale.ViewOffset = 990000;  // the end of the audio at pixel 100
        Painted painted(DrawPicture(in));
        TimeLinePicture& picture = painted.picture;
        const QRgb shadow = picture.palette().color(QPalette::Dark).rgb() & 0xFFFFFF;
        QVERIFY(shadow != 0);
        QCOMPARE(PixelAt(picture, 99, kLineRow), QRgb(0x000000));
        QCOMPARE(PixelAt(picture, 150, kLineRow), shadow);
        QCOMPARE(PixelAt(picture, kWidthPx - 1, kLineRow), shadow);
    }

    void playCursorIsDrawnOverThePictureWhileShown() {
        Painted painted(DrawPicture(Scene()));
        TimeLinePicture& picture = painted.picture;
        picture.SetCursorX(4507.5f);                          // pixel 300, over the blue mark
        QCOMPARE(PixelAt(picture, 300, 20), QRgb(0x0000FF));  // hidden until shown
        picture.SetCursorVisible(true);
        QCOMPARE(PixelAt(picture, 300, 20), QRgb(kPlayCursorColor));
        QCOMPARE(PixelAt(picture, 300, kHeightPx - 1), QRgb(0x0000FF));  // LineHead ends at 600 twips
        picture.SetCursorX(-1.0e9f);                                     // far left: nowhere on the picture
        QCOMPARE(PixelAt(picture, 300, 20), QRgb(0x0000FF));
        QCOMPARE(PixelAt(picture, 50, 20), QRgb(0x000000));
    }

    void anEmptyDrawingIsABlackPicture() {
        DrawInput in = Scene();
        in.AudioLength = 0;
        Painted painted(DrawPicture(in));
        const QImage image = painted.picture.grab().toImage();
        for (int x = 0; x < kWidthPx; x += 7) QCOMPARE(image.pixel(x, kLineRow) & 0xFFFFFF, QRgb(0));
    }
};

QTEST_MAIN(TimeLinePictureTest)
#include "time_line_picture_test.moc"
