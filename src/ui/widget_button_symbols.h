#pragma once
// The small pictures on the view and transport buttons, drawn as vector shapes so
// they stay crisp at any button size.
#include <QColor>
#include <QRectF>

#include "ui/widget_button_strip.h"

class QPainter;

namespace kalvor {

// Draws symbol centred in box in the given colour; ButtonSymbol::None draws nothing.
void DrawButtonSymbol(QPainter& painter, ButtonSymbol symbol, const QRectF& box, const QColor& color);

}  // namespace kalvor
