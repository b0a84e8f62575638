// What the document tells the main window, shown in its panels.
#include <QApplication>

#include "ui/frm_main.h"
#include "ui/frm_main_layout.h"
#include "ui/input_guard.h"
#include "ui/widget_button_strip.h"
#include "ui/widget_scroll_slider.h"

namespace kalvor {
namespace {
// The transport buttons that show a state: pause and play.
constexpr int kPauseButton = 1;
constexpr int kPlayButton = 2;
}  // namespace

void FrmMain::Message(const std::string& text) {
    DispMes(text);
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
    DispMes("");
    playButtons_->SetButtonState(kPlayButton, kButtonNormal);
    playButtons_->SetButtonState(kPauseButton, kButtonNormal);
    sliderScroll_->SetValue(0);
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
    DispInfo();
    DrawPicture();
}

}  // namespace kalvor
