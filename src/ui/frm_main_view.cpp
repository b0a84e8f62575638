// Where the time line and the transport meet the main window: every event of the
// time line, its handles, the slider, the view and transport buttons, the
// information panel's fields, the play menu, the keys and the position timer goes
// to the view model (TimeLineView) or the transport (Transport); what they answer
// is shown by Apply and Show.
#include <QCursor>
#include <QKeyEvent>
#include <QMenu>
#include <QSignalBlocker>
#include <QTimer>

#include "services/fault_trap.h"
#include "ui/frm_main.h"
#include "ui/frm_main_layout.h"
#include "ui/held_key_guard.h"
#include "ui/level_settings.h"
#include "ui/time_line_picture.h"
#include "ui/widget_button_strip.h"
#include "ui/widget_handle_picture.h"
#include "ui/widget_picture_box.h"
#include "ui/widget_scroll_slider.h"
#include "ui/widget_text_panel.h"
#include "ui/widget_twips.h"

namespace kalvor {
namespace {

PointerButton ButtonOf(Qt::MouseButton button) {
    if (button == Qt::LeftButton) return PointerButton::Left;
    if (button == Qt::RightButton) return PointerButton::Right;
    return PointerButton::Other;
}

}  // namespace

void FrmMain::ConnectViewAndTransport() {
    using Button = Qt::MouseButton;
    using Keys = Qt::KeyboardModifiers;
    // PictureSec: a click remembers its time, Shift-drag selects, a double click plays from the click.
    connect(pictureSec_, &PictureBox::MouseDown, this, [this](Button b, Keys keys, double x, double) {
        if (view_) Apply(view_->SecMouseDown(ButtonOf(b), keys.testFlag(Qt::ShiftModifier), x));
    });
    connect(pictureSec_, &PictureBox::MouseMove, this, [this](Qt::MouseButtons, Keys, double x, double) {
        if (view_) Apply(view_->SecMouseMove(x));
    });
    connect(pictureSec_, &PictureBox::MouseUp, this, &FrmMain::OnPictureSecMouseUp);
    connect(pictureSec_, &PictureBox::DoubleClicked, this, [this](Button b, Keys, double, double) {
        if (view_) Apply(view_->SecDoubleClick(ButtonOf(b)));
    });
    connect(pictureSec_, &PictureBox::FilesDropped, this, &FrmMain::OnFilesDropped);
    // PictureAll around PictureSec: the handle strip always selects.
    connect(pictureAll_, &PictureBox::MouseDown, this, [this](Button b, Keys, double x, double) {
        if (view_) Apply(view_->AllMouseDown(ButtonOf(b), x));
    });
    connect(pictureAll_, &PictureBox::MouseMove, this, [this](Qt::MouseButtons, Keys, double x, double) {
        if (view_) Apply(view_->AllMouseMove(x));
    });
    connect(pictureAll_, &PictureBox::MouseUp, this, [this](Button b, Keys, double, double) {
        if (view_) Apply(view_->AllMouseUp(ButtonOf(b), transport_.lastMode));
    });
    ConnectHandles();
    // The slider, the view buttons and the information panel's values.
    connect(sliderScroll_, &ScrollSlider::ValueChanged, this, [this](int value, bool) {
        if (view_) Apply(view_->SliderChanged(value));
    });
    connect(editorCtrl_, &ButtonStrip::ButtonClicked, this, [this](int index, bool shift) {
        if (view_) Apply(view_->ViewButtonClicked(index, shift));
    });
    connect(pictureInfo_, &TextPanel::FieldReleased, this, [this](int field, Qt::MouseButton) {
        if (view_) Apply(view_->InfoFieldReleased(field));
    });
    // The transport buttons and the timer.
    connect(playButtons_, &ButtonStrip::ButtonClicked, this,
            [this](int index, bool) { transport_.ButtonClicked(index); });
    connect(playButtons_, &ButtonStrip::RightClicked, this, [this](int) {
        const std::optional<std::int32_t> at = transport_.PlayPositionByte();
        if (view_ && at) Apply(view_->CenterView(*at));
    });
    connect(timerMci_, &QTimer::timeout, this, &FrmMain::OnTimerTick);
}

void FrmMain::ConnectHandles() {
    using Button = Qt::MouseButton;
    using Keys = Qt::KeyboardModifiers;
    for (int i = 0; i < 2; ++i) {
        connect(pictureMark_[i], &PictureBox::MouseDown, this, [this, i](Button, Keys, double x, double) {
            if (view_) Apply(view_->HandleMouseDown(i, x));
        });
        connect(pictureMark_[i], &PictureBox::MouseMove, this, [this, i](Qt::MouseButtons, Keys, double x, double) {
            if (view_) Apply(view_->HandleMouseMove(i, x));
        });
        connect(pictureMark_[i], &PictureBox::MouseUp, this, [this, i](Button b, Keys, double, double) {
            if (view_) Apply(view_->HandleMouseUp(i, ButtonOf(b)));
        });
        connect(pictureMark_[i], &PictureBox::DoubleClicked, this, [this, i](Button, Keys, double, double) {
            if (view_) Apply(view_->HandleDoubleClick(i));
        });
    }
}

void FrmMain::Apply(const ViewAction& action) {
    if (!view_) return;
    if (action.Paint) pictureSec_->SetDrawing(view_->Picture());
    if (action.MoveHandles) {
        for (int i = 0; i < 2; ++i) {
            pictureMark_[i]->move(TwipsToPixels(RoundTwips(view_->HandleLeft[i]), twipsPerPixel_),
                                  pictureMark_[i]->y());
        }
    }
    if (action.ShowInfo) {
        for (int row = 0; row < kInfoRows; ++row) {
            pictureInfo_->SetText(row, QString::fromStdString(view_->InfoValues()[row]));
        }
    }
    if (action.SetSlider) {
        view_->SuppressSlider = true;
        sliderScroll_->SetValue(action.SliderValue);
        view_->SuppressSlider = false;
    }
    if (action.StopPlayback) transport_.StopIO();
    if (action.PlayFromClick) transport_.PlayFrom(view_->ClickMs);
    if (action.PlayCheckedEntry) transport_.PlayCheckedEntry();
    if (action.PlayEntry >= 0) PlayMenuChosen(action.PlayEntry);
    if (action.ShowMenu) menuMenu_->popup(QCursor::pos());
}

void FrmMain::Show(const TransportShow& show) {
    if (show.Status) DispMes(*show.Status);
    for (int i = 0; i < 3; ++i) {
        if (show.Buttons[i]) playButtons_->SetButtonState(i, *show.Buttons[i]);
    }
    if (show.CursorX) pictureSec_->SetCursorX(*show.CursorX);
    if (show.CursorVisible) pictureSec_->SetCursorVisible(*show.CursorVisible);
}

TransportFacts FrmMain::Facts() const {
    TransportFacts facts;
    facts.TwipsPerPixel = twipsPerPixel_;
    if (!document_ || !view_) return facts;
    facts.SelStartMs = document_->Sel.SelStartMs;
    facts.SelEndMs = document_->Sel.SelEndMs;
    facts.DurationMs = document_->DurationMs();
    facts.AudioLength = document_->AudioLength();
    facts.Origin = document_->TimeScale().Origin;
    facts.ViewOffset = view_->ViewOffset;
    facts.BytesPerPixel = view_->BytesPerPixel;
    return facts;
}

void FrmMain::DrawPicture() {
    if (view_) Apply(view_->Redraw());
}

void FrmMain::PlaySelected(int mode) {
    transport_.PlaySelected(mode);
}

void FrmMain::PlayMenuChosen(int k) {
    // The menu shows the mode used last; the handles replay with it.
    menuPlay_[k]->setChecked(true);
    transport_.ChoosePlayEntry(k);
}

void FrmMain::OnViewWidthChanged(int /*viewWidthPx*/) {
    if (!view_) return;
    ViewAction action;
    view_->Resize(client_->width() * twipsPerPixel_, action);
    Apply(action);
}

void FrmMain::OnDocumentReset() {
    if (view_) Apply(view_->Reset());
    Show(transport_.DocumentReset());
}

void FrmMain::OnDocumentLoaded(LoadReason reason) {
    if (view_) Apply(view_->Loaded(reason == LoadReason::Open));
}

void FrmMain::OnPictureSecMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers, double, double) {
    if (view_) Apply(view_->SecMouseUp(ButtonOf(button), transport_.lastMode));
}

void FrmMain::OnFilesDropped(const QStringList& paths) {
    // A new document would pull the list window's rows from under it.
    if (list_) return;
    if (!paths.isEmpty()) OpenFile(paths.front().toStdString());
}

bool FrmMain::OnKeyReleased(int key) {
    if (!view_) return false;
    const int functionKey = key >= Qt::Key_F1 && key <= Qt::Key_F35 ? key - Qt::Key_F1 + 1 : 0;
    const ViewAction action = view_->KeyUp(functionKey, transport_.lastMode, transport_.playPosMs);
    Apply(action);
    return action.SwallowKey;
}

void FrmMain::OnTimerTick() {
    Show(transport_.Tick());
    // Levels decoded since the last picture fill it in from the left.
    if (view_ && view_->LevelsChanged()) DrawPicture();
}

void FrmMain::MenuShowLevelsToggled(bool on) {
    TrappedRun([&] { WriteShowLevels(on); });
    ApplyShowLevels(on);
}

void FrmMain::ApplyShowLevels(bool on) {
    {
        const QSignalBlocker quiet(menuShowLevels_);
        menuShowLevels_->setChecked(on);
    }
    if (view_) view_->SetShowLevels(on);
    DrawPicture();
}

void FrmMain::keyReleaseEvent(QKeyEvent* event) {
    // Keys released on any control end up here; this is the one place they are
    // handled. A held key acts once, when it is let go.
    if (heldKeys_->Release(*event)) {
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
