// PictureSec paints the drawing of draw_scene.h in well under 8 ms offscreen.
//
// Times PaintTimeLine into a 1 920 × 45 image (what the widget does when its
// drawing changes) and the whole path of the widget, DrawPicture plus
// SetDrawing, over many warm runs on the offscreen platform, and prints the
// fastest, median and slowest run.
// Run by hand: QT_QPA_PLATFORM=offscreen build/<dir>/bench/paint_bench
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "draw_scene.h"
#include "ui/time_line_paint.h"
#include "ui/time_line_picture.h"

namespace {

void Measure(const char* label, int runs, const std::function<void()>& body) {
    using Clock = std::chrono::steady_clock;
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        body();
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%s: fastest %.3f ms, median %.3f ms, slowest %.3f ms (%d runs); target under 8 ms -> %s\n", label,
                ms.front(), ms[ms.size() / 2], ms.back(), runs, ms[ms.size() / 2] < 8.0 ? "met" : "MISSED");
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const kalvor::bench::DrawScene scene;
    const kalvor::Drawing drawing = kalvor::DrawPicture(scene.Input);
    const int width = kalvor::bench::kViewPx;
    const int height = kalvor::bench::kHeightTwips / kalvor::bench::kT;

    QImage image(width, height, QImage::Format_RGB32);
    const QColor shadow = app.palette().color(QPalette::Dark);
    Measure("PaintTimeLine into an image", 500, [&] {
        QPainter painter(&image);
        kalvor::PaintTimeLine(painter, drawing, kalvor::bench::kT, width, height, shadow);
    });

    kalvor::TimeLinePicture picture;
    picture.SetTwipsPerPixel(kalvor::bench::kT);
    picture.resize(width, height);
    kalvor::Drawing reused;
    Measure("DrawPicture + TimeLinePicture::SetDrawing", 500, [&] {
        kalvor::DrawPicture(scene.Input, reused);
        picture.SetDrawing(reused);
    });
    return 0;
}
