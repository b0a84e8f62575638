#pragma once
// Two stacked arrow buttons that move the selected list row up or down. The
// control is one click event that says which half was pressed.
#include <QWidget>

namespace kalvor {

// True when y (pixels from the top) lies in the upper half of a control height
// pixels high; an odd middle row belongs to the lower half.
bool InUpperHalf(int y, int height);

class UpDownControl : public QWidget {
    Q_OBJECT
   public:
    explicit UpDownControl(QWidget* parent = nullptr);

   signals:
    // A left-button press on the control; upperHalf tells which arrow.
    void Clicked(bool upperHalf);

   protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

   private:
    void DrawHalf(QPainter& painter, const QRect& box, bool upper) const;

    int pressedHalf_ = -1;  // 0 upper, 1 lower
};

}  // namespace kalvor
