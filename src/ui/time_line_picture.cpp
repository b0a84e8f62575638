#include "ui/time_line_picture.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "ui/time_line_paint.h"

namespace kalvor {

TimeLinePicture::TimeLinePicture(QWidget* parent) : PictureBox(parent) {
    SetBackColor(Qt::black);
    SetAcceptFiles(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TimeLinePicture::SetDrawing(const Drawing& drawing) {
    drawing_ = drawing;
    Render();
    update();
}

void TimeLinePicture::Render() {
    const qreal ratio = devicePixelRatioF();
    image_ = QImage(size() * ratio, QImage::Format_RGB32);
    image_.setDevicePixelRatio(ratio);
    if (image_.isNull()) return;
    QPainter painter(&image_);
    painter.setFont(font());
    PaintTimeLine(painter, drawing_, TwipsPerPixel(), width(), height(), palette().color(QPalette::Dark));
}

// The cursor's column, a pixel wider each side for scaled screens. Far
// outside the picture it stays far outside without overflowing.
QRect TimeLinePicture::CursorRect() const {
    const double pixel = std::floor(static_cast<double>(cursorX_) / TwipsPerPixel());
    const int x = static_cast<int>(std::clamp(pixel, -1.0e6, 1.0e6));
    const int bottom = kPlayCursorBottom / TwipsPerPixel();
    return QRect(x - 1, 0, 3, bottom + 1);
}

void TimeLinePicture::SetCursorX(float x) {
    if (x == cursorX_) return;
    if (cursorVisible_) update(CursorRect());
    cursorX_ = x;
    if (cursorVisible_) update(CursorRect());
}

void TimeLinePicture::SetCursorVisible(bool visible) {
    if (visible == cursorVisible_) return;
    cursorVisible_ = visible;
    update(CursorRect());
}

void TimeLinePicture::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    if (image_.size() != size() * devicePixelRatioF()) Render();
    painter.drawImage(event->rect(), image_,
                      QRectF(QPointF(event->rect().topLeft()) * devicePixelRatioF(),
                             QSizeF(event->rect().size()) * devicePixelRatioF()));
    if (!cursorVisible_) return;
    const QRect column = CursorRect();
    painter.setPen(QPen(QColor::fromRgb(kPlayCursorColor), 0));
    painter.drawLine(QPoint(column.left() + 1, 0), QPoint(column.left() + 1, column.bottom()));
}

void TimeLinePicture::resizeEvent(QResizeEvent* event) {
    PictureBox::resizeEvent(event);
    Render();
}

// Another palette or font changes the shade past the end and the labels.
void TimeLinePicture::changeEvent(QEvent* event) {
    PictureBox::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::FontChange) {
        Render();
        update();
    }
}

}  // namespace kalvor
