#include "ui/widget_up_down.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionButton>
#include <algorithm>

namespace kalvor {

bool InUpperHalf(int y, int height) {
    return y < height / 2;
}

UpDownControl::UpDownControl(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
}

void UpDownControl::DrawHalf(QPainter& painter, const QRect& box, bool upper) const {
    QStyleOptionButton option;
    option.initFrom(this);
    option.rect = box;
    option.state &= ~QStyle::State_HasFocus;
    option.state |= pressedHalf_ == (upper ? 0 : 1) ? QStyle::State_Sunken : QStyle::State_Raised;
    style()->drawControl(QStyle::CE_PushButtonBevel, &option, &painter, this);

    const double side = std::min(box.width(), box.height()) * 0.45;
    const QPointF centre = QRectF(box).center();
    QPainterPath arrow;
    const double tipY = upper ? centre.y() - side / 3 : centre.y() + side / 3;
    const double baseY = upper ? centre.y() + side / 3 : centre.y() - side / 3;
    arrow.moveTo(centre.x(), tipY);
    arrow.lineTo(centre.x() + side / 2, baseY);
    arrow.lineTo(centre.x() - side / 2, baseY);
    arrow.closeSubpath();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    painter.drawPath(arrow);
    painter.restore();
}

void UpDownControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int half = height() / 2;
    DrawHalf(painter, QRect(0, 0, width(), half), true);
    DrawHalf(painter, QRect(0, half, width(), height() - half), false);
}

void UpDownControl::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const bool upper = InUpperHalf(static_cast<int>(event->position().y()), height());
    pressedHalf_ = upper ? 0 : 1;
    update();
    emit Clicked(upper);
}

void UpDownControl::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || pressedHalf_ < 0) return;
    pressedHalf_ = -1;
    update();
}

}  // namespace kalvor
