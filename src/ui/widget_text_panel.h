#pragma once
// A panel of indexed one-line texts placed at twip positions: the information
// panel (labels and clickable time values) and the one-line message panel. Some
// fields answer the mouse: a press and the matching release are reported with the
// field's index, and the release comes even when the pointer has left the field,
// so that the window sees every press end.
#include <QFrame>
#include <QString>
#include <vector>

#include "ui/widget_twips.h"

namespace kalvor {

// A field's box in pixels, right and bottom exclusive.
struct FieldBox {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    bool Clickable = false;
};

// The clickable field under (x, y), or -1. Where the boxes of two rows overlap
// (tall fonts on tightly spaced rows) the row that starts lower wins, because
// its text is the one drawn at that height.
int HitField(const std::vector<FieldBox>& boxes, int x, int y);

class TextPanel : public QFrame {
    Q_OBJECT
   public:
    explicit TextPanel(QWidget* parent = nullptr);

    void SetTwipsPerPixel(int twipsPerPixel);
    // Places field index (created, with empty text, when new) at left/top twips.
    // A clickable field's box runs to the panel's right edge, or widthTwips wide
    // when that is above 0; a line of the panel's font high.
    void SetField(int index, int leftTwips, int topTwips, bool clickable, int widthTwips = 0);
    int FieldCount() const { return static_cast<int>(fields_.size()); }
    // Shows text in a field; repaints and returns true only when the text differs
    // from what is shown, so a status line written every timer tick costs nothing.
    // An index without a field is ignored.
    bool SetText(int index, const QString& text);
    QString Text(int index) const;

   signals:
    void FieldPressed(int index, Qt::MouseButton button);
    void FieldReleased(int index, Qt::MouseButton button);

   protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

   private:
    struct Field {
        int LeftTwips = 0;
        int TopTwips = 0;
        int WidthTwips = 0;
        bool Clickable = false;
        QString Text;
    };
    FieldBox BoxOf(const Field& field) const;
    std::vector<FieldBox> Boxes() const;
    QRect RectOf(int index) const;

    std::vector<Field> fields_;
    int twipsPerPixel_ = kDefaultTwipsPerPixel;
    int pressed_ = -1;
    Qt::MouseButton pressedButton_ = Qt::NoButton;
};

}  // namespace kalvor
