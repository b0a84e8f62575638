#include "ui/widget_handle_picture.h"

#include <QPainter>
#include <QPainterPath>

namespace kalvor {

namespace {

// A tab with a pointed side: the point is the edge nearest the selection mark.
QPainterPath HandleShape(HandleKind kind, QRectF box) {
    const double tip = box.height() / 2;
    QPainterPath path;
    if (kind == HandleKind::Start) {
        path.moveTo(box.left(), box.top());
        path.lineTo(box.right() - tip, box.top());
        path.lineTo(box.right(), box.top() + tip);
        path.lineTo(box.right() - tip, box.bottom());
        path.lineTo(box.left(), box.bottom());
    } else {
        path.moveTo(box.right(), box.top());
        path.lineTo(box.left() + tip, box.top());
        path.lineTo(box.left(), box.top() + tip);
        path.lineTo(box.left() + tip, box.bottom());
        path.lineTo(box.right(), box.bottom());
    }
    path.closeSubpath();
    return path;
}

}  // namespace

HandlePicture::HandlePicture(HandleKind kind, QWidget* parent) : PictureBox(parent), kind_(kind) {
    setCursor(Qt::SizeHorCursor);
}

void HandlePicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor fill = kind_ == HandleKind::Start ? QColor(0x2f, 0x7d, 0xd1) : QColor(0xd1, 0x5a, 0x2f);
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(fill.darker(150), 1));
    painter.setBrush(fill);
    painter.drawPath(HandleShape(kind_, box));
    // A grip of three short ridges on the flat part tells the user it can be dragged.
    painter.setPen(QPen(fill.lighter(160), 1));
    const double flatLeft = kind_ == HandleKind::Start ? box.left() : box.left() + box.height() / 2;
    const double flatWidth = box.width() - box.height() / 2;
    const double middle = flatLeft + flatWidth / 2;
    for (int i = -1; i <= 1; ++i) {
        const double x = middle + 3 * i;
        painter.drawLine(QPointF(x, box.top() + 4), QPointF(x, box.bottom() - 4));
    }
}

}  // namespace kalvor
