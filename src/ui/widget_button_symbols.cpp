#include "ui/widget_button_symbols.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace kalvor {

namespace {

void DrawMagnifier(QPainter& painter, const QRectF& square, bool plus) {
    const double s = square.width();
    const QPointF centre(square.left() + s * 0.42, square.top() + s * 0.42);
    const double radius = s * 0.32;
    painter.drawEllipse(centre, radius, radius);
    painter.drawLine(QPointF(centre.x() + radius * 0.72, centre.y() + radius * 0.72),
                     QPointF(square.right(), square.bottom()));
    const double arm = radius * 0.55;
    painter.drawLine(QPointF(centre.x() - arm, centre.y()), QPointF(centre.x() + arm, centre.y()));
    if (plus) painter.drawLine(QPointF(centre.x(), centre.y() - arm), QPointF(centre.x(), centre.y() + arm));
}

// Two end bars with a double-headed arrow between them: the whole stretch.
void DrawWholeFile(QPainter& painter, const QRectF& square) {
    const double s = square.width();
    const double top = square.top() + s * 0.15;
    const double bottom = square.bottom() - s * 0.15;
    const double mid = square.center().y();
    const double left = square.left();
    const double right = square.right();
    painter.drawLine(QPointF(left, top), QPointF(left, bottom));
    painter.drawLine(QPointF(right, top), QPointF(right, bottom));
    painter.drawLine(QPointF(left + s * 0.12, mid), QPointF(right - s * 0.12, mid));
    const double head = s * 0.2;
    painter.drawLine(QPointF(left + s * 0.12, mid), QPointF(left + s * 0.12 + head, mid - head));
    painter.drawLine(QPointF(left + s * 0.12, mid), QPointF(left + s * 0.12 + head, mid + head));
    painter.drawLine(QPointF(right - s * 0.12, mid), QPointF(right - s * 0.12 - head, mid - head));
    painter.drawLine(QPointF(right - s * 0.12, mid), QPointF(right - s * 0.12 - head, mid + head));
}

void DrawTransport(QPainter& painter, ButtonSymbol symbol, const QRectF& square, const QColor& color) {
    const double s = square.width();
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    if (symbol == ButtonSymbol::Stop) {
        painter.drawRect(square.adjusted(s * 0.12, s * 0.12, -s * 0.12, -s * 0.12));
    } else if (symbol == ButtonSymbol::Pause) {
        painter.drawRect(QRectF(square.left() + s * 0.14, square.top() + s * 0.08, s * 0.26, s * 0.84));
        painter.drawRect(QRectF(square.right() - s * 0.40, square.top() + s * 0.08, s * 0.26, s * 0.84));
    } else {
        QPainterPath triangle;
        triangle.moveTo(square.left() + s * 0.15, square.top());
        triangle.lineTo(square.right(), square.center().y());
        triangle.lineTo(square.left() + s * 0.15, square.bottom());
        triangle.closeSubpath();
        painter.drawPath(triangle);
    }
}

}  // namespace

void DrawButtonSymbol(QPainter& painter, ButtonSymbol symbol, const QRectF& box, const QColor& color) {
    if (symbol == ButtonSymbol::None) return;
    const double side = std::max(6.0, std::min(box.width(), box.height()) * 0.5);
    const QRectF square(box.center().x() - side / 2, box.center().y() - side / 2, side, side);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(color, std::max(1.5, side / 9), Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    switch (symbol) {
        case ButtonSymbol::ZoomOut: DrawMagnifier(painter, square, false); break;
        case ButtonSymbol::ZoomIn: DrawMagnifier(painter, square, true); break;
        case ButtonSymbol::WholeFile: DrawWholeFile(painter, square); break;
        default: DrawTransport(painter, symbol, square, color); break;
    }
    painter.restore();
}

}  // namespace kalvor
