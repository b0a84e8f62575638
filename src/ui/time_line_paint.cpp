#include "ui/time_line_paint.h"

#include <QFontMetrics>
#include <QPainter>
#include <QVector>
#include <algorithm>

#include "ui/widget_twips.h"

namespace kalvor {

namespace {

QColor Rgb(std::uint32_t color) {
    return QColor::fromRgb(static_cast<QRgb>(color));
}

// A box from twips, right and bottom exclusive; corners given either way round.
QRect BoxOf(const DrawOp& op, int t) {
    const int x1 = TwipsToPixels(op.X1, t);
    const int x2 = TwipsToPixels(op.X2, t);
    const int y1 = TwipsToPixels(op.Y1, t);
    const int y2 = TwipsToPixels(op.Y2, t);
    return QRect(QPoint(std::min(x1, x2), std::min(y1, y2)), QPoint(std::max(x1, x2) - 1, std::max(y1, y2) - 1));
}

// One vertical line per column that has a level, drawn in one call.
void PaintEnvelope(QPainter& painter, const Drawing& drawing, const DrawOp& op, int t, const QColor& color) {
    QVector<QLine> lines;
    lines.reserve(static_cast<qsizetype>(drawing.Envelope.size()));
    const int left = TwipsToPixels(op.X1, t);
    const int middle = TwipsToPixels(op.Y1, t);
    for (std::size_t i = 0; i < drawing.Envelope.size(); ++i) {
        const EnvelopeColumn& column = drawing.Envelope[i];
        if (column.Up == 0 && column.Down == 0) continue;
        const int x = left + static_cast<int>(i);
        lines.append(QLine(x, middle - TwipsToPixels(column.Up, t), x, middle + TwipsToPixels(column.Down, t) - 1));
    }
    painter.setPen(QPen(color, 0));
    painter.drawLines(lines);
}

}  // namespace

void PaintTimeLine(QPainter& painter, const Drawing& drawing, int twipsPerPixel, int width, int height,
                   const QColor& buttonShadow) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(QRect(0, 0, width, height), Qt::black);
    const int ascent = QFontMetrics(painter.font()).ascent();
    for (const DrawOp& op : drawing.Ops) {
        const QColor color = op.Role == ColorRole::ButtonShadow ? buttonShadow : Rgb(op.Color);
        switch (op.Kind) {
            case DrawKind::Line:
                painter.setPen(QPen(color, 0));
                painter.drawLine(QPoint(TwipsToPixels(op.X1, twipsPerPixel), TwipsToPixels(op.Y1, twipsPerPixel)),
                                 QPoint(TwipsToPixels(op.X2, twipsPerPixel), TwipsToPixels(op.Y2, twipsPerPixel)));
                break;
            case DrawKind::Bar: painter.fillRect(BoxOf(op, twipsPerPixel), color); break;
            case DrawKind::Text:
                painter.setPen(color);
                painter.drawText(
                    QPoint(TwipsToPixels(op.X1, twipsPerPixel), TwipsToPixels(op.Y1, twipsPerPixel) + ascent),
                    QString::fromStdString(op.Text));
                break;
            case DrawKind::Envelope: PaintEnvelope(painter, drawing, op, twipsPerPixel, color); break;
            case DrawKind::Selection:
                painter.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
                painter.fillRect(BoxOf(op, twipsPerPixel), color);
                painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
                break;
        }
    }
    painter.restore();
}

}  // namespace kalvor
