#include "ui/frm_list.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <algorithm>

#include "services/fault_trap.h"
#include "services/qt/language_mode.h"
#include "services/qt/screen_units.h"
#include "services/qt/ui_fonts.h"
#include "services/qt/window_placement.h"
#include "ui/frm_list_layout.h"
#include "ui/held_key_guard.h"
#include "ui/list_window_host.h"
#include "ui/widget_button_strip.h"
#include "ui/widget_image_button.h"
#include "ui/widget_list_view.h"
#include "ui/widget_twips.h"
#include "ui/widget_up_down.h"

namespace kalvor {

namespace {

// Column widths in twips: "No" asks for 300 (the list shows it 450 wide).
constexpr int kNoWidthTw = 300;
constexpr int kTimeWidthTw = 1050;
constexpr double kButtonFontSize = 9;
// The space a cell leaves around its text, in pixels.
constexpr int kCellPaddingPx = 12;

// A time column's width: 1050 twips, or more where the list's font needs more
// to show a whole time text (the widths were chosen for a narrower face; a
// cut time such as "000'01...." would hide the very milliseconds the row is about).
int TimeColumnWidthTw(const QWidget& list, int twipsPerPixel) {
    const int textPx = list.fontMetrics().horizontalAdvance(QStringLiteral("000'00.000"));
    return std::max(kTimeWidthTw, (textPx + kCellPaddingPx) * twipsPerPixel);
}

}  // namespace

FrmList::FrmList(ListWindowHost& host, ListMode mode)
    : QWidget(host.OwnerWindow(), Qt::Window), host_(host), rows_(mode), twipsPerPixel_(TwipsPerPixel()) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("FrmList"));
    // Keys are the main window's, unless an output holds the user's input.
    heldKeys_ = new HeldKeyGuard([this](int key) { return !outputRunning_ && host_.OnKeyReleased(key); }, this);
    CreateControls();
}

FrmList::~FrmList() = default;

void FrmList::CreateControls() {
    lv_ = new ListView(this);
    lv_->setObjectName(QStringLiteral("LV"));
    ctrButtons_ = new ButtonStrip(this);
    ctrButtons_->setObjectName(QStringLiteral("CtrButtons"));
    deleteButton_ = new ImageButton(this);
    deleteButton_->setObjectName(QStringLiteral("DeleteButton"));
    upDownItem_ = new UpDownControl(this);
    upDownItem_->setObjectName(QStringLiteral("UpDownItem"));

    connect(ctrButtons_, &ButtonStrip::ButtonClicked, this, [this](int index, bool) {
        if (index == kAddButton) AddClicked();
        if (index == kOutputButton) OutputClicked();
        if (index == kSilenceButton) SilenceSplitClicked();
    });
    connect(deleteButton_, &ImageButton::clicked, this, [this] { DeleteClicked(); });
    connect(upDownItem_, &UpDownControl::Clicked, this, [this](bool upperHalf) { MoveClicked(upperHalf); });
    connect(lv_, &ListView::RowDoubleClicked, this, [this](int) { RowDoubleClicked(); });
}

void FrmList::Open() {
    if (open_) return;
    TrappedRun([&] {
        if (QWidget* owner = host_.OwnerWindow()) setWindowIcon(owner->windowIcon());
    });
    TrappedRun([&] {
        if (QWidget* owner = host_.OwnerWindow()) move(ListWindowPosition(owner->frameGeometry()));
    });
    TrappedRun([&] {
        if (UseOwnUiFont()) ApplyUiFont(this, -2);
    });
    host_.SetEditMenusEnabled(false);
    TrappedRun([&] { SetUpControls(); });
    TrappedRun([&] { LoadWindowPlacement(this, kListPlacementSuffix); });
    show();
    open_ = true;
    host_.SetListRows(&rows_);
}

void FrmList::SetUpControls() {
    const int side = TwipsToPixels(kListSideColumnTw, twipsPerPixel_);
    deleteButton_->SetPicture(ImageGomi(side * 3 / 4));

    upDownItem_->setVisible(Mode() == ListMode::Build);

    lv_->SetTwipsPerPixel(twipsPerPixel_);
    const int timeWidth = TimeColumnWidthTw(*lv_, twipsPerPixel_);
    const int widths[kListColumns] = {kNoWidthTw, timeWidth, timeWidth};
    int columnsWidth = 0;
    for (int column = 0; column < kListColumns; ++column) {
        lv_->SetColumn(column, QString::fromStdString(ListRows::ColumnTitle(Mode(), column)), widths[column]);
        columnsWidth += lv_->ColumnWidthTwips(column);
    }
    resize(TwipsToPixels(ListClientWidthTw(columnsWidth), twipsPerPixel_),
           TwipsToPixels(kListClientHeightTw, twipsPerPixel_));
    setWindowTitle(Mode() == ListMode::Build ? tr("ビルド") : tr("分割"));

    if (ctrButtons_->ButtonCount() == 0) {
        ctrButtons_->AddButton(tr("追加"));
        ctrButtons_->AddButton(tr("出力"));
        if (Mode() == ListMode::Split) ctrButtons_->AddButton(tr("無音で分割"));
    }
    ctrButtons_->SetFontSize(kButtonFontSize);
    ApplyLayout();
}

void FrmList::ApplyLayout() {
    // A window dragged smaller than its controls just hides what does not fit.
    TrappedRun([&] {
        const ListWindowLayout layout = LayoutListWindow(width() * twipsPerPixel_, height() * twipsPerPixel_);
        const auto place = [&](QWidget* widget, const QRect& box) {
            PlaceInTwips(*widget, box.x(), box.y(), box.width(), box.height(), twipsPerPixel_);
        };
        place(lv_, layout.List);
        place(deleteButton_, layout.Delete);
        place(upDownItem_, layout.UpDown);
        place(ctrButtons_, layout.Buttons);
    });
}

void FrmList::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    ApplyLayout();
}

void FrmList::closeEvent(QCloseEvent* event) {
    // The output reads the document and writes into files the user named;
    // closing now would leave a piece half written.
    if (outputRunning_) {
        event->ignore();
        return;
    }
    Unload();
    event->accept();
}

void FrmList::Unload() {
    if (!open_) return;
    host_.SetEditMenusEnabled(true);
    TrappedRun([&] { SaveWindowPlacement(this, kListPlacementSuffix); });
    open_ = false;
    host_.SetListRows(nullptr);
    host_.DrawPicture();
}

void FrmList::keyReleaseEvent(QKeyEvent* event) {
    // Key releases of the list and the buttons arrive here too: the controls
    // leave them unhandled. A held key acts once, when it is let go.
    if (heldKeys_->Release(*event)) {
        event->accept();
        return;
    }
    QWidget::keyReleaseEvent(event);
}

bool ShowListWindow(ListWindowHost& host, QPointer<FrmList>& window, ListMode mode) {
    if (window && window->ListWindowOpen()) return false;
    window = new FrmList(host, mode);
    window->Open();
    return true;
}

}  // namespace kalvor
