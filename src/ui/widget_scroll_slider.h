#pragma once
// The horizontal scroll slider under the time line. The window moves it itself
// when the view scrolls, and must tell those moves from the user's: every change
// of the value is reported with who made it.
#include <QWidget>

class QScrollBar;

namespace kalvor {

class ScrollSlider : public QWidget {
    Q_OBJECT
   public:
    explicit ScrollSlider(QWidget* parent = nullptr);

    // Values run from 0 to max inclusive; a value above a new max is pulled down
    // (reported as not by the user).
    void SetMax(int max);
    int Max() const;
    // The width of the pointer, in value units: a pointer of 990 on a range of
    // 0..8192 takes 990 / (8192 + 990) of the track.
    void SetPointerSize(int size);
    int PointerSize() const;
    // Clamped into 0..max; reports ValueChanged(value, false) when it moves.
    void SetValue(int value);
    int Value() const;

   signals:
    // The value moved; byUser is false when SetValue or SetMax moved it.
    void ValueChanged(int value, bool byUser);

   private:
    QScrollBar* bar_;
    bool settingValue_ = false;
};

}  // namespace kalvor
