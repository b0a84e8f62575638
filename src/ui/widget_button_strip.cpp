#include "ui/widget_button_strip.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionButton>

#include "ui/widget_button_symbols.h"

namespace kalvor {

namespace {

// The face colour of a lit transport button: a green lamp, readable on light and
// dark button faces alike.
const QColor kLitColor(0x1f, 0xa0, 0x3c);

}  // namespace

int StripButtonLeft(int index, int width, int count) {
    if (count < 1) return 0;
    return static_cast<int>(static_cast<long long>(index) * width / count);
}

// The inverse of StripButtonLeft: the last button whose left edge is at or left of x.
int StripButtonAt(int x, int width, int count) {
    if (count < 1 || width < 1 || x < 0 || x >= width) return -1;
    return static_cast<int>((static_cast<long long>(x + 1) * count - 1) / width);
}

ButtonStrip::ButtonStrip(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
}

int ButtonStrip::AddButton(const QString& caption) {
    buttons_.push_back(Button{caption, ButtonSymbol::None, kButtonNormal});
    update();
    return ButtonCount() - 1;
}

int ButtonStrip::AddButton(ButtonSymbol symbol) {
    buttons_.push_back(Button{QString(), symbol, kButtonNormal});
    update();
    return ButtonCount() - 1;
}

void ButtonStrip::SetCaption(int index, const QString& caption) {
    if (index < 0 || index >= ButtonCount()) return;
    buttons_[index].Caption = caption;
    update(ButtonRect(index));
}

void ButtonStrip::SetButtonState(int index, int state) {
    if (index < 0 || index >= ButtonCount() || buttons_[index].State == state) return;
    buttons_[index].State = state;
    update(ButtonRect(index));
}

int ButtonStrip::ButtonState(int index) const {
    return index >= 0 && index < ButtonCount() ? buttons_[index].State : kButtonNormal;
}

void ButtonStrip::SetFontSize(double points) {
    if (points <= 0) return;
    QFont face = font();
    face.setPointSizeF(points);
    setFont(face);
}

QRect ButtonStrip::ButtonRect(int index) const {
    const int left = StripButtonLeft(index, width(), ButtonCount());
    const int right = StripButtonLeft(index + 1, width(), ButtonCount());
    return QRect(left, 0, right - left, height());
}

int ButtonStrip::ButtonAt(QPointF position) const {
    if (position.y() < 0 || position.y() >= height()) return -1;
    return StripButtonAt(static_cast<int>(position.x()), width(), ButtonCount());
}

void ButtonStrip::DrawButton(QPainter& painter, int index) const {
    const Button& button = buttons_[index];
    const bool lit = button.State == kButtonLit;
    QStyleOptionButton option;
    option.initFrom(this);
    option.rect = ButtonRect(index);
    option.state &= ~(QStyle::State_MouseOver | QStyle::State_HasFocus);
    option.state |= QStyle::State_Raised;
    if (index == hovered_) option.state |= QStyle::State_MouseOver;
    if (index == pressed_ && index == hovered_) option.state |= QStyle::State_Sunken;
    if (lit) option.state |= QStyle::State_On | QStyle::State_Sunken;
    style()->drawControl(QStyle::CE_PushButtonBevel, &option, &painter, this);

    const QRectF face = QRectF(option.rect).adjusted(3, 3, -3, -3);
    const QColor ink = lit ? kLitColor : palette().color(QPalette::ButtonText);
    if (button.Symbol != ButtonSymbol::None) {
        DrawButtonSymbol(painter, button.Symbol, face, ink);
        return;
    }
    painter.setPen(ink);
    painter.drawText(face, Qt::AlignCenter | Qt::TextSingleLine, button.Caption);
}

void ButtonStrip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    for (int i = 0; i < ButtonCount(); ++i) DrawButton(painter, i);
}

void ButtonStrip::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    pressed_ = ButtonAt(event->position());
    if (pressed_ >= 0) update(ButtonRect(pressed_));
}

void ButtonStrip::mouseReleaseEvent(QMouseEvent* event) {
    const int index = ButtonAt(event->position());
    if (event->button() == Qt::RightButton) {
        if (index >= 0) emit RightClicked(index);
        return;
    }
    if (event->button() != Qt::LeftButton) return;
    const int pressed = pressed_;
    pressed_ = -1;
    if (pressed >= 0) update(ButtonRect(pressed));
    if (pressed >= 0 && pressed == index) emit ButtonClicked(index, event->modifiers().testFlag(Qt::ShiftModifier));
}

void ButtonStrip::mouseMoveEvent(QMouseEvent* event) {
    const int index = ButtonAt(event->position());
    if (index == hovered_) return;
    if (hovered_ >= 0) update(ButtonRect(hovered_));
    hovered_ = index;
    if (hovered_ >= 0) update(ButtonRect(hovered_));
}

void ButtonStrip::leaveEvent(QEvent*) {
    if (hovered_ >= 0) update(ButtonRect(hovered_));
    hovered_ = -1;
}

}  // namespace kalvor
