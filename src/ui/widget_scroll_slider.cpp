#include "ui/widget_scroll_slider.h"

#include <QHBoxLayout>
#include <QScrollBar>
#include <algorithm>

namespace kalvor {

ScrollSlider::ScrollSlider(QWidget* parent) : QWidget(parent), bar_(new QScrollBar(Qt::Horizontal, this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(bar_);
    bar_->setFocusPolicy(Qt::NoFocus);
    bar_->setRange(0, 0);
    connect(bar_, &QScrollBar::valueChanged, this, [this](int value) { emit ValueChanged(value, !settingValue_); });
}

void ScrollSlider::SetMax(int max) {
    const bool outer = settingValue_;
    settingValue_ = true;
    bar_->setMaximum(max < 0 ? 0 : max);
    settingValue_ = outer;
}

int ScrollSlider::Max() const {
    return bar_->maximum();
}

// The arrows step a tenth of the pointer: a step of one value unit would not
// move a long file's view by a pixel.
void ScrollSlider::SetPointerSize(int size) {
    bar_->setPageStep(size < 1 ? 1 : size);
    bar_->setSingleStep(std::max(1, size / 10));
}

int ScrollSlider::PointerSize() const {
    return bar_->pageStep();
}

void ScrollSlider::SetValue(int value) {
    const bool outer = settingValue_;
    settingValue_ = true;
    bar_->setValue(value);
    settingValue_ = outer;
}

int ScrollSlider::Value() const {
    return bar_->value();
}

}  // namespace kalvor
