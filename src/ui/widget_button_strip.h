#pragma once
// A row of equal push buttons drawn as one control: the view buttons, the
// transport buttons and the list window's add/output buttons. A button shows a
// caption or a small drawn symbol; a transport button can be shown lit while its
// state is in force (playing, paused).
#include <QString>
#include <QWidget>
#include <vector>

namespace kalvor {

enum class ButtonSymbol { None, ZoomOut, WholeFile, ZoomIn, Stop, Pause, Play };

// Button states as the transport sets them.
constexpr int kButtonNormal = 0;
constexpr int kButtonLit = 2;

// Left edge in pixels of button index when count buttons share width pixels;
// the rounding remainder is spread so the last button ends at the right edge.
int StripButtonLeft(int index, int width, int count);
// The button under x, or -1 outside the strip.
int StripButtonAt(int x, int width, int count);

class ButtonStrip : public QWidget {
    Q_OBJECT
   public:
    explicit ButtonStrip(QWidget* parent = nullptr);

    // Each returns the new button's index.
    int AddButton(const QString& caption);
    int AddButton(ButtonSymbol symbol);
    int ButtonCount() const { return static_cast<int>(buttons_.size()); }
    void SetCaption(int index, const QString& caption);
    // kButtonLit shows the button pressed in with its face lit; any other value
    // shows it normal. Unknown indexes are ignored.
    void SetButtonState(int index, int state);
    int ButtonState(int index) const;
    void SetFontSize(double points);

   signals:
    // A left click (press and release on the same button), with the Shift state
    // at the release.
    void ButtonClicked(int index, bool shift);
    // A right-button release on a button.
    void RightClicked(int index);

   protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

   private:
    struct Button {
        QString Caption;
        ButtonSymbol Symbol = ButtonSymbol::None;
        int State = kButtonNormal;
    };
    QRect ButtonRect(int index) const;
    int ButtonAt(QPointF position) const;
    void DrawButton(QPainter& painter, int index) const;

    std::vector<Button> buttons_;
    int pressed_ = -1;
    int hovered_ = -1;
};

}  // namespace kalvor
