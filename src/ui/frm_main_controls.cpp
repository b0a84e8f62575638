// The main window's controls: made once, set up during the start, placed in
// twips on every resize, and the two panels that show the document's state.
#include <QTimer>

#include "services/fault_trap.h"
#include "ui/frm_main.h"
#include "ui/frm_main_layout.h"
#include "ui/frm_main_rules.h"
#include "ui/time_line_picture.h"
#include "ui/widget_button_strip.h"
#include "ui/widget_handle_picture.h"
#include "ui/widget_picture_box.h"
#include "ui/widget_scroll_slider.h"
#include "ui/widget_text_panel.h"
#include "view/time_line_layout.h"

namespace kalvor {
namespace {

// The position timer's interval.
constexpr int kTimerIntervalMs = 50;
// The panels' font size in points.
constexpr double kPanelFontPoints = 9;

void Place(QWidget* widget, const TwipRect& rect, int twipsPerPixel) {
    PlaceInTwips(*widget, rect.Left, rect.Top, rect.Width, rect.Height, twipsPerPixel);
}

}  // namespace

void FrmMain::CreateControls() {
    client_ = new QWidget(this);
    client_->setObjectName("client");
    client_->installEventFilter(this);
    setCentralWidget(client_);

    pictureAll_ = new PictureBox(client_);
    pictureAll_->setObjectName("PictureAll");
    pictureSec_ = new TimeLinePicture(pictureAll_);
    pictureSec_->setObjectName("PictureSec");
    pictureSec_->SetBackColor(Qt::black);
    pictureSec_->SetAcceptFiles(true);
    pictureSec_->setFocusPolicy(Qt::StrongFocus);
    pictureMark_[0] = new HandlePicture(HandleKind::Start, pictureAll_);
    pictureMark_[0]->setObjectName("PictureMark0");
    pictureMark_[1] = new HandlePicture(HandleKind::End, pictureAll_);
    pictureMark_[1]->setObjectName("PictureMark1");
    sliderScroll_ = new ScrollSlider(client_);
    sliderScroll_->setObjectName("SliderScroll");

    pictureTool_ = new PictureBox(client_);
    pictureTool_->setObjectName("PictureTool");
    pictureInfo_ = new TextPanel(pictureTool_);
    pictureInfo_->setObjectName("PictureInfo");
    pictureInfo_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    pictureMes_ = new TextPanel(pictureTool_);
    pictureMes_->setObjectName("PictureMes");
    pictureMes_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    playButtons_ = new ButtonStrip(pictureTool_);
    playButtons_->setObjectName("PlayButtons");
    editorCtrl_ = new ButtonStrip(pictureTool_);
    editorCtrl_->setObjectName("EditorCtrl");

    timerMci_ = new QTimer(this);
    timerMci_->setObjectName("TimerMCI");
    timerMci_->setInterval(kTimerIntervalMs);
}

void FrmMain::SetUpControls() {
    for (ButtonSymbol symbol : {ButtonSymbol::ZoomOut, ButtonSymbol::WholeFile, ButtonSymbol::ZoomIn}) {
        editorCtrl_->AddButton(symbol);
    }
    for (ButtonSymbol symbol : {ButtonSymbol::Stop, ButtonSymbol::Pause, ButtonSymbol::Play}) {
        playButtons_->AddButton(symbol);
    }
    sliderScroll_->SetMax(kSliderMax);
    sliderScroll_->SetPointerSize(kSliderPointer);
    sliderScroll_->SetValue(0);

    pictureMes_->SetTwipsPerPixel(twipsPerPixel_);
    pictureMes_->SetField(0, kMessageLeft, kMessageTop, false);
    pictureInfo_->SetTwipsPerPixel(twipsPerPixel_);
    for (int row = 0; row < kInfoRows; ++row) {
        const int top = kInfoFirstRowTop + kInfoRowStep * row;
        pictureInfo_->SetField(row, kInfoValueLeft, top, true);
        pictureInfo_->SetField(row + kInfoRows, kInfoLabelLeft, top, false);
        pictureInfo_->SetText(row + kInfoRows, tr(kInfoLabels[row]));
    }
    for (TextPanel* panel : {pictureInfo_, pictureMes_}) {
        QFont face = panel->font();
        face.setPointSizeF(kPanelFontPoints);
        panel->setFont(face);
    }
    pictureTool_->SetBackColor(palette().color(QPalette::Window));
    for (PictureBox* picture : {pictureAll_, static_cast<PictureBox*>(pictureSec_), pictureTool_}) {
        picture->SetTwipsPerPixel(twipsPerPixel_);
    }
    for (HandlePicture* mark : pictureMark_) mark->SetTwipsPerPixel(twipsPerPixel_);

    Place(pictureMark_[0], design::kPictureMark0, twipsPerPixel_);
    Place(pictureMark_[1], design::kPictureMark1, twipsPerPixel_);
    Place(pictureInfo_, design::kPictureInfo, twipsPerPixel_);
    Place(pictureMes_, design::kPictureMes, twipsPerPixel_);
    Place(playButtons_, design::kPlayButtons, twipsPerPixel_);
    Place(editorCtrl_, design::kEditorCtrl, twipsPerPixel_);
    ApplyLayout();
    DispInfo();
    timerMci_->start();
}

void FrmMain::ApplyLayout() {
    if (!client_) return;
    const ResizeLayout layout = LayoutForClientWidth(client_->width() * twipsPerPixel_, twipsPerPixel_);
    if (!layout.Applied) return;
    const auto widened = [](TwipRect rect, std::int32_t width) {
        rect.Width = width;
        return rect;
    };
    Place(pictureAll_, widened(design::kPictureAll, layout.AllWidth), twipsPerPixel_);
    Place(pictureSec_, widened(design::kPictureSec, layout.SecWidth), twipsPerPixel_);
    Place(sliderScroll_, widened(design::kSliderScroll, layout.SliderWidth), twipsPerPixel_);
    TwipRect tool = design::kPictureTool;
    tool.Left = layout.ToolLeft;
    Place(pictureTool_, tool, twipsPerPixel_);
    OnViewWidthChanged(layout.ViewWidthPx);
}

void FrmMain::ShrinkToToolPanel() {
    if (windowState() != Qt::WindowNoState) return;
    // Qt sizes the window's contents: the menu bar stays, the frame is the platform's.
    const WindowSize size =
        ToolPanelWindowSize({width() * twipsPerPixel_, height() * twipsPerPixel_},
                            {client_->width() * twipsPerPixel_, client_->height() * twipsPerPixel_}, twipsPerPixel_);
    resize(size.Width / twipsPerPixel_, size.Height / twipsPerPixel_);
}

void FrmMain::DispMes(const std::string& text) {
    if (pictureMes_) pictureMes_->SetText(0, QString::fromStdString(text));
}

void FrmMain::DispInfo() {
    if (view_) {
        Apply(view_->DispInfo());
        return;
    }
    TrappedRun([&] {
        std::array<std::string, 4> texts = InfoValueTexts(0, 0, 0, 0);
        if (document_) {
            document_->UpdateSelectionMs();
            const Selection& sel = document_->Sel;
            texts = InfoValueTexts(document_->DurationMs(), sel.SelStartMs, sel.SelEndMs, sel.SelLengthMs);
        }
        for (int row = 0; row < kInfoRows; ++row) pictureInfo_->SetText(row, QString::fromStdString(texts[row]));
    });
}

}  // namespace kalvor
