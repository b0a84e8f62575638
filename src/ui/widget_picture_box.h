#pragma once
// A plain drawing surface that hands its input to the window as signals in
// twips, the unit the windows' layout and view model are written in. The time
// line, its container and the selection handles are built on it.
#include <QColor>
#include <QStringList>
#include <QWidget>

#include "ui/widget_twips.h"

namespace kalvor {

class PictureBox : public QWidget {
    Q_OBJECT
   public:
    explicit PictureBox(QWidget* parent = nullptr);

    void SetTwipsPerPixel(int twipsPerPixel);
    int TwipsPerPixel() const { return twipsPerPixel_; }
    void SetBackColor(const QColor& color);
    // Files dropped from a file manager are reported by FilesDropped.
    void SetAcceptFiles(bool accept);

   signals:
    // x and y are twips from the picture's top-left corner. A double click
    // arrives as press, release, DoubleClicked, release (no second press).
    void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, double x, double y);
    void MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, double x, double y);
    void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, double x, double y);
    void DoubleClicked(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, double x, double y);
    void KeyPressed(int key, Qt::KeyboardModifiers modifiers);
    void KeyReleased(int key, Qt::KeyboardModifiers modifiers);
    // Local paths of the dropped files, in the order the drag carried them.
    void FilesDropped(const QStringList& paths);

   protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

   private:
    QPointF InTwips(const QMouseEvent* event) const;

    int twipsPerPixel_ = kDefaultTwipsPerPixel;
};

}  // namespace kalvor
