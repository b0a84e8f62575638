#include "ui/widget_text_panel.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace kalvor {

int HitField(const std::vector<FieldBox>& boxes, int x, int y) {
    int found = -1;
    for (int i = 0; i < static_cast<int>(boxes.size()); ++i) {
        const FieldBox& box = boxes[i];
        if (!box.Clickable || x < box.Left || x >= box.Right || y < box.Top || y >= box.Bottom) continue;
        if (found < 0 || box.Top > boxes[found].Top) found = i;
    }
    return found;
}

TextPanel::TextPanel(QWidget* parent) : QFrame(parent) {
    setMouseTracking(true);
}

void TextPanel::SetTwipsPerPixel(int twipsPerPixel) {
    twipsPerPixel_ = UsableTwipsPerPixel(twipsPerPixel);
    update();
}

void TextPanel::SetField(int index, int leftTwips, int topTwips, bool clickable, int widthTwips) {
    if (index < 0) return;
    if (index >= FieldCount()) fields_.resize(index + 1);
    Field& field = fields_[index];
    field.LeftTwips = leftTwips;
    field.TopTwips = topTwips;
    field.WidthTwips = widthTwips;
    field.Clickable = clickable;
    update();
}

bool TextPanel::SetText(int index, const QString& text) {
    if (index < 0 || index >= FieldCount() || fields_[index].Text == text) return false;
    const QRect before = RectOf(index);
    fields_[index].Text = text;
    update(before.united(RectOf(index)));
    return true;
}

QString TextPanel::Text(int index) const {
    return index >= 0 && index < FieldCount() ? fields_[index].Text : QString();
}

FieldBox TextPanel::BoxOf(const Field& field) const {
    FieldBox box;
    box.Left = TwipsToPixels(field.LeftTwips, twipsPerPixel_);
    box.Top = TwipsToPixels(field.TopTwips, twipsPerPixel_);
    box.Right = field.WidthTwips > 0 ? box.Left + TwipsToPixels(field.WidthTwips, twipsPerPixel_) : width();
    box.Bottom = box.Top + fontMetrics().height();
    box.Clickable = field.Clickable;
    return box;
}

std::vector<FieldBox> TextPanel::Boxes() const {
    std::vector<FieldBox> boxes;
    boxes.reserve(fields_.size());
    for (const Field& field : fields_) boxes.push_back(BoxOf(field));
    return boxes;
}

// The painted area of a field: its box, or its text where the text runs longer.
QRect TextPanel::RectOf(int index) const {
    const FieldBox box = BoxOf(fields_[index]);
    const int textRight = box.Left + fontMetrics().horizontalAdvance(fields_[index].Text) + 2;
    return QRect(QPoint(box.Left, box.Top), QPoint(std::max(box.Right, textRight), box.Bottom));
}

void TextPanel::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    const int ascent = fontMetrics().ascent();
    for (int i = 0; i < FieldCount(); ++i) {
        const Field& field = fields_[i];
        const FieldBox box = BoxOf(field);
        painter.setPen(palette().color(QPalette::WindowText));
        if (i == pressed_) {
            const int textWidth = fontMetrics().horizontalAdvance(field.Text);
            painter.fillRect(QRect(box.Left - 2, box.Top, textWidth + 4, box.Bottom - box.Top),
                             palette().color(QPalette::Highlight));
            painter.setPen(palette().color(QPalette::HighlightedText));
        }
        painter.drawText(box.Left, box.Top + ascent, field.Text);
    }
}

void TextPanel::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    const int index = HitField(Boxes(), p.x(), p.y());
    if (index < 0 || pressed_ >= 0) return;
    pressed_ = index;
    pressedButton_ = event->button();
    update(RectOf(index).adjusted(-2, 0, 2, 0));
    emit FieldPressed(index, event->button());
}

void TextPanel::mouseReleaseEvent(QMouseEvent* event) {
    if (pressed_ < 0 || event->button() != pressedButton_) return;
    const int index = pressed_;
    pressed_ = -1;
    update(RectOf(index).adjusted(-2, 0, 2, 0));
    emit FieldReleased(index, event->button());
}

void TextPanel::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    const bool overField = HitField(Boxes(), p.x(), p.y()) >= 0;
    setCursor(overField || pressed_ >= 0 ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

}  // namespace kalvor
