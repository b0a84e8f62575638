// What the document tells the main window, shown in its panels.
#include <QApplication>

#include "ui/frm_main.h"
#include "ui/frm_main_layout.h"
#include "ui/input_guard.h"
#include "ui/widget_button_strip.h"
#include "ui/widget_scroll_slider.h"

namespace kalvor {

void FrmMain::Message(const std::string& text) {
    DispMes(text);
    // What an open says is why it refused the file. The new playback object
    // stops a few ticks later, and "再生停止" must not replace the reason.
    if (opening_) transport_.KeepLineAfterRefusal();
}

void FrmMain::Busy(bool on) {
    if (on) {
        guard_->Hold();
        QApplication::setOverrideCursor(Qt::WaitCursor);
        return;
    }
    QApplication::restoreOverrideCursor();
    guard_->Release();
}

void FrmMain::DocumentReset() {
    // The view model and the transport show the reset state: the message panel
    // empty, the play buttons idle, the slider at 0, zero times, an empty picture.
    DispMes("");
    OnDocumentReset();
    DispInfo();
    DrawPicture();
}

void FrmMain::DocumentLoaded(LoadReason reason) {
    OnDocumentLoaded(reason);
    DispInfo();
    DrawPicture();
}

void FrmMain::SelectionChanged() {
    if (view_) {
        Apply(view_->SelectionChanged());
        return;
    }
    DispInfo();
    DrawPicture();
}

}  // namespace kalvor
