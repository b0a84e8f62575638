#include "ui/widget_picture_box.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>

namespace kalvor {

namespace {

QStringList LocalFiles(const QMimeData* data) {
    QStringList paths;
    if (data == nullptr || !data->hasUrls()) return paths;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) paths << url.toLocalFile();
    }
    return paths;
}

}  // namespace

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {}

void PictureBox::SetTwipsPerPixel(int twipsPerPixel) {
    twipsPerPixel_ = UsableTwipsPerPixel(twipsPerPixel);
}

void PictureBox::SetBackColor(const QColor& color) {
    QPalette colors = palette();
    colors.setColor(QPalette::Window, color);
    setPalette(colors);
    setAutoFillBackground(true);
}

void PictureBox::SetAcceptFiles(bool accept) {
    setAcceptDrops(accept);
}

QPointF PictureBox::InTwips(const QMouseEvent* event) const {
    const QPointF p = event->position();
    return QPointF(PixelsToTwips(p.x(), twipsPerPixel_), PixelsToTwips(p.y(), twipsPerPixel_));
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    const QPointF at = InTwips(event);
    emit MouseDown(event->button(), event->modifiers(), at.x(), at.y());
}

void PictureBox::mouseMoveEvent(QMouseEvent* event) {
    const QPointF at = InTwips(event);
    emit MouseMove(event->buttons(), event->modifiers(), at.x(), at.y());
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    const QPointF at = InTwips(event);
    emit MouseUp(event->button(), event->modifiers(), at.x(), at.y());
}

void PictureBox::mouseDoubleClickEvent(QMouseEvent* event) {
    const QPointF at = InTwips(event);
    emit DoubleClicked(event->button(), event->modifiers(), at.x(), at.y());
}

void PictureBox::keyPressEvent(QKeyEvent* event) {
    emit KeyPressed(event->key(), event->modifiers());
    QWidget::keyPressEvent(event);
}

void PictureBox::keyReleaseEvent(QKeyEvent* event) {
    emit KeyReleased(event->key(), event->modifiers());
    QWidget::keyReleaseEvent(event);
}

void PictureBox::dragEnterEvent(QDragEnterEvent* event) {
    if (!LocalFiles(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void PictureBox::dropEvent(QDropEvent* event) {
    const QStringList paths = LocalFiles(event->mimeData());
    if (paths.isEmpty()) return;
    event->acceptProposedAction();
    emit FilesDropped(paths);
}

}  // namespace kalvor
