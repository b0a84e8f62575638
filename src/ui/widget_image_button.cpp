#include "ui/widget_image_button.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace kalvor {

QPixmap ImageGomi(int side) {
    QPixmap picture(side < 8 ? 8 : side, side < 8 ? 8 : side);
    picture.fill(Qt::transparent);
    const double s = picture.width();
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor outline(0x4a, 0x55, 0x60);
    painter.setPen(QPen(outline, std::max(1.0, s / 16), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));

    // Lid with its knob.
    painter.setBrush(QColor(0x9a, 0xa8, 0xb5));
    painter.drawRect(QRectF(s * 0.14, s * 0.18, s * 0.72, s * 0.10));
    painter.drawRect(QRectF(s * 0.40, s * 0.08, s * 0.20, s * 0.10));

    // Body, narrowing toward the bottom, with three ribs.
    QPainterPath body;
    body.moveTo(s * 0.20, s * 0.30);
    body.lineTo(s * 0.80, s * 0.30);
    body.lineTo(s * 0.72, s * 0.92);
    body.lineTo(s * 0.28, s * 0.92);
    body.closeSubpath();
    painter.setBrush(QColor(0xc4, 0xcf, 0xd9));
    painter.drawPath(body);
    for (double x : {0.38, 0.50, 0.62}) {
        painter.drawLine(QPointF(s * x, s * 0.40), QPointF(s * (0.5 + (x - 0.5) * 0.85), s * 0.83));
    }
    return picture;
}

ImageButton::ImageButton(QWidget* parent) : QToolButton(parent) {
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    setFocusPolicy(Qt::NoFocus);
}

void ImageButton::SetPicture(const QPixmap& picture) {
    setIcon(QIcon(picture));
    setIconSize(picture.size());
}

}  // namespace kalvor
