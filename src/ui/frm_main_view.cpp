// Where the time line and the transport meet the main window: the input of the
// time line, its handles, the slider, the view and transport buttons, the
// information panel's fields, the play menu, the keys and the position timer.
//
// The time line's view model and the transport model attach to these
// handlers; until then the window does what needs no model: the right-click
// menu, dropped files, the play menu's check mark and the function keys that
// choose a play entry.
#include <QKeyEvent>
#include <QMenu>
#include <QTimer>

#include "services/fault_trap.h"
#include "ui/frm_main.h"
#include "ui/time_line_picture.h"
#include "ui/widget_button_strip.h"
#include "ui/widget_handle_picture.h"
#include "ui/widget_picture_box.h"
#include "ui/widget_scroll_slider.h"
#include "ui/widget_text_panel.h"

namespace kalvor {

void FrmMain::ConnectViewAndTransport() {
    connect(pictureSec_, &PictureBox::MouseUp, this, &FrmMain::OnPictureSecMouseUp);
    connect(pictureSec_, &PictureBox::FilesDropped, this, &FrmMain::OnFilesDropped);
    connect(timerMci_, &QTimer::timeout, this, &FrmMain::OnTimerTick);
    // Attach here as the models arrive:
    //   pictureSec_ MouseDown / MouseMove / DoubleClicked   selection drag, click time, play from the click
    //   pictureAll_ MouseDown / MouseMove / MouseUp         the handle strip drags (Shift forced on)
    //   pictureMark_[i] MouseDown / MouseMove / MouseUp / DoubleClicked   handle drags, replay
    //   sliderScroll_ ValueChanged(value, byUser)          ViewOffset unless the view moves the slider
    //   editorCtrl_ ButtonClicked(index, shift)             zoom out, whole file, zoom in (no Shift)
    //   pictureInfo_ FieldReleased(index, button)           centre on or zoom to a time
    //   playButtons_ ButtonClicked / RightClicked           stop, pause, play; centre on the play position
}

void FrmMain::DrawPicture() {
    if (pictureSec_) pictureSec_->update();
}

void FrmMain::PlaySelected(int /*mode*/) {
    // The transport plays the selection in the given mode here.
}

void FrmMain::PlayMenuChosen(int k) {
    // The menu shows the mode used last; the handles replay with it.
    menuPlay_[k]->setChecked(true);
    PlaySelected(k);
}

void FrmMain::OnViewWidthChanged(int /*viewWidthPx*/) {
    DrawPicture();
}

void FrmMain::OnDocumentReset() {}

void FrmMain::OnDocumentLoaded(LoadReason /*reason*/) {}

void FrmMain::OnPictureSecMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers /*modifiers*/, double x, double y) {
    if (button != Qt::RightButton) return;
    const QPoint at(TwipsToPixels(static_cast<int>(x), t_), TwipsToPixels(static_cast<int>(y), t_));
    menuMenu_->popup(pictureSec_->mapToGlobal(at));
}

void FrmMain::OnFilesDropped(const QStringList& paths) {
    if (!paths.isEmpty()) OpenFile(paths.front().toStdString());
}

bool FrmMain::OnKeyReleased(int key) {
    if (key >= Qt::Key_F5 && key <= Qt::Key_F11) {
        PlayMenuChosen(key - Qt::Key_F5);
        return true;
    }
    // F3 and F4 set the mark-in and mark-out points at the play position.
    return key == Qt::Key_F3 || key == Qt::Key_F4;
}

void FrmMain::OnTimerTick() {
    // The transport's tick: skip and loop, the play state, the play cursor.
}

void FrmMain::keyReleaseEvent(QKeyEvent* event) {
    // Keys released on any control end up here; this is the one place they are handled.
    const bool handled = Trapped(false, [&] { return OnKeyReleased(event->key()); });
    if (handled) {
        event->accept();
        return;
    }
    QMainWindow::keyReleaseEvent(event);
}

bool FrmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == client_) {
        if (event->type() == QEvent::Resize) ApplyLayout();
        if (event->type() == QEvent::MouseButtonDblClick) ShrinkToToolPanel();
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace kalvor
