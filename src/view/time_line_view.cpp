#include "view/time_line_view.h"

#include <algorithm>
#include <limits>

#include "services/arith.h"
#include "services/fault_trap.h"
#include "services/time_text.h"

namespace kalvor {

ViewAction& ViewAction::operator|=(const ViewAction& other) {
    Paint |= other.Paint;
    MoveHandles |= other.MoveHandles;
    ShowInfo |= other.ShowInfo;
    if (other.SetSlider) {
        SetSlider = true;
        SliderValue = other.SliderValue;
    }
    StopPlayback |= other.StopPlayback;
    PlayFromClick |= other.PlayFromClick;
    PlayCheckedEntry |= other.PlayCheckedEntry;
    if (other.PlayEntry >= 0) PlayEntry = other.PlayEntry;
    ShowMenu |= other.ShowMenu;
    SwallowKey |= other.SwallowKey;
    return *this;
}

TimeLineView::TimeLineView(TimeLineSource& source, std::int32_t twipsPerPixel)
    : ViewWidthPx(kSecWidth / UsableTwipsPerPixel(twipsPerPixel)),
      TwipsPerPixel(UsableTwipsPerPixel(twipsPerPixel)),
      source_(source) {}

// A scale below one byte per pixel (a whole view of a file shorter than the
// view is wide, a zoom onto a few bytes) would leave the picture nothing to
// divide by: one byte per pixel is as close as the view goes.
void TimeLineView::SetScale(std::int64_t bytesPerPixel) {
    BytesPerPixel =
        static_cast<std::int32_t>(std::clamp<std::int64_t>(bytesPerPixel, 1, std::numeric_limits<std::int32_t>::max()));
}

void TimeLineView::PlaceHandle(int i, double left) {
    HandleLeft[i] = left;
}

std::int32_t TimeLineView::Midpoint() const {
    const Selection& sel = source_.Sel();
    return RoundHalfEven((static_cast<double>(sel.SelStart) + sel.SelEnd) / 2);
}

DrawInput TimeLineView::Input() const {
    DrawInput in;
    in.AudioLength = source_.AudioLength();
    in.DurationMs = source_.DurationMs();
    in.Scale = Scale();
    in.ViewWidthPx = ViewWidthPx;
    in.Width = SecWidth;
    in.Height = SecHeight;
    in.SelStart = source_.Sel().SelStart;
    in.SelEnd = source_.Sel().SelEnd;
    in.Blocks = &source_.Blocks();
    in.Rows = rows_;
    return in;
}

const std::vector<PeakPair>* TimeLineView::LevelColumns() {
    if (levels_ == nullptr || !showLevels_ || BytesPerPixel < 1 || source_.AudioLength() == 0) return nullptr;
    const ColumnsKey key{Scale().PixelToByte(0), BytesPerPixel, ViewWidthPx, drawnRevision_};
    if (key != columnsKey_ || columns_.size() != static_cast<std::size_t>(ViewWidthPx)) {
        levels_->RangePeaks(key.From, key.Step, key.Count, columns_);
        columnsKey_ = key;
    }
    return &columns_;
}

bool TimeLineView::LevelsChanged() const {
    return levels_ != nullptr && showLevels_ && levels_->Revision() != drawnRevision_;
}

ViewAction TimeLineView::Redraw() {
    ViewAction action;
    action.Paint = true;
    if (levels_ != nullptr) drawnRevision_ = levels_->Revision();
    TrappedRun([&] {
        DrawInput in = Input();
        in.Levels = LevelColumns();
        DrawPicture(in, drawing_);
    });
    if (drawing_.HandlesPlaced) {
        HandleX = drawing_.HandleX;
        for (int i = 0; i < 2; ++i) PlaceHandle(i, HandleX[i] - HandleOffset[i]);
        action.MoveHandles = true;
    }
    return action;
}

ViewAction TimeLineView::Reset() {
    ViewOffset = 0;
    BytesPerPixel = 0;
    source_.Sel().Clear();
    HandleX = {0, 0};
    for (int i = 0; i < 2; ++i) PlaceHandle(i, -HandleOffset[i]);
    Dragging = false;
    HandleDrag = {false, false};
    ViewAction action;
    action.MoveHandles = true;
    action.SetSlider = true;
    action.SliderValue = 0;
    action |= DispInfo();
    action |= Redraw();
    return action;
}

ViewAction TimeLineView::Loaded(bool wholeFile) {
    ViewAction action;
    if (wholeFile) {
        ViewOffset = 0;
        if (ViewWidthPx != 0) SetScale(source_.AudioLength() / ViewWidthPx);
        action.SetSlider = true;
        action.SliderValue = 0;
    }
    action |= DispInfo();
    action |= Redraw();
    return action;
}

// ---- Selection ----

void TimeLineView::SelectByPixels(int edge) {
    Selection& sel = source_.Sel();
    const std::int32_t last = source_.TimeScale().AudioEndPos();
    const ViewScale scale = Scale();
    if (edge == 0 || edge == 2) sel.SelStart = scale.PixelToByte(HandleX[0]);
    if (edge == 1 || edge == 2) sel.SelEnd = scale.PixelToByte(HandleX[1]);
    if (sel.SelEnd > last) sel.SelEnd = last;
    sel.SelLength = WrapSub(sel.SelEnd, sel.SelStart);
    // No lower clamp: the edit commands read a start before the audio as its first frame.
    if (sel.SelStart > last) {
        sel.SelStart = sel.SelEnd = last;
        sel.SelLength = 0;
    }
}

ViewAction TimeLineView::SetSelection(std::int32_t a, std::int32_t b) {
    Selection& sel = source_.Sel();
    if (a >= 0) sel.SelStart = a;
    if (b >= 0) sel.SelEnd = b;
    if (a == -1 && sel.SelEnd < sel.SelStart) {
        sel.SelStart = sel.SelEnd;
    } else if (sel.SelEnd < sel.SelStart) {
        sel.SelEnd = sel.SelStart;
    }
    sel.SelLength = WrapAdd(WrapSub(sel.SelEnd, sel.SelStart), 1);
    return SelectionChanged();
}

ViewAction TimeLineView::SelectAll() {
    source_.Sel().SelectAll(source_.TimeScale());
    return SelectionChanged();
}

ViewAction TimeLineView::DispSelected(std::int32_t pIn, std::int32_t pOut) {
    source_.Sel().SelectRange(pIn, pOut);
    return SelectionChanged();
}

ViewAction TimeLineView::SelectionChanged() {
    ViewAction action = DispInfo();
    action |= Redraw();
    return action;
}

ViewAction TimeLineView::DispInfo() {
    Selection& sel = source_.Sel();
    sel.UpdateMs(source_.TimeScale());
    infoValues_ = {MsToTimeText(source_.DurationMs()), MsToTimeText(sel.SelStartMs), MsToTimeText(sel.SelEndMs),
                   MsToTimeText(sel.SelLengthMs)};
    ViewAction action;
    action.ShowInfo = true;
    return action;
}

// ---- View ----

ViewAction TimeLineView::CenterView(std::int32_t p) {
    const std::int32_t audioOffset = source_.TimeScale().AudioOffset(p);
    ViewOffset = WrapSub(audioOffset, WrapMul(ViewWidthPx / 2, BytesPerPixel));
    if (ViewOffset < 0) ViewOffset = 0;
    ViewAction action;
    action.SetSlider = true;
    if (ViewOffset <= 1) action.SliderValue = 0;
    const std::int32_t audioLength = source_.AudioLength();
    if (audioLength != 0) action.SliderValue = RoundTwips(ViewOffset / (audioLength / double{kSliderMax}));
    action |= Redraw();
    return action;
}

ViewAction TimeLineView::WholeFile() {
    ViewOffset = 0;
    if (ViewWidthPx != 0) SetScale(source_.AudioLength() / ViewWidthPx);
    ViewAction action;
    action.SetSlider = true;
    action.SliderValue = 0;
    action |= Redraw();
    return action;
}

ViewAction TimeLineView::ZoomOut() {
    if (ViewWidthPx != 0) {
        const std::int64_t widest = source_.AudioLength() / ViewWidthPx;
        SetScale(std::min<std::int64_t>(std::int64_t{BytesPerPixel} * 2, widest));
    }
    return CenterView(Midpoint());
}

ViewAction TimeLineView::ZoomIn() {
    SetScale(std::max(BytesPerPixel / 2, kMinZoomInBytesPerPixel));
    return CenterView(Midpoint());
}

ViewAction TimeLineView::ViewButtonClicked(int index, bool shift) {
    if (shift) return {};
    switch (index) {
        case 0: return ZoomOut();
        case 1: return WholeFile();
        case 2: return ZoomIn();
        default: return {};
    }
}

ViewAction TimeLineView::InfoFieldReleased(int field) {
    const Selection& sel = source_.Sel();
    switch (field) {
        case 0: return WholeFile();
        case 1: return CenterView(sel.SelStart);
        case 2: return CenterView(sel.SelEnd);
        case 3:
            if (sel.SelStart == sel.SelEnd) return CenterView(sel.SelStart);
            // The selection fills half the view; no floor of 64 here.
            if (ViewWidthPx != 0) {
                SetScale(RoundTwips(2.0 * (static_cast<double>(sel.SelEnd) - sel.SelStart) / ViewWidthPx));
            }
            return CenterView(Midpoint());
        default: return {};
    }
}

ViewAction TimeLineView::SliderChanged(std::int32_t value) {
    if (SuppressSlider) return {};
    ViewOffset = RoundTwips(value / double{kSliderMax} * source_.AudioLength());
    return Redraw();
}

ResizeLayout TimeLineView::Resize(std::int32_t clientWidth, ViewAction& action) {
    const ResizeLayout layout = LayoutForClientWidth(clientWidth, TwipsPerPixel);
    if (!layout.Applied) return layout;
    SecWidth = layout.SecWidth;
    ViewWidthPx = layout.ViewWidthPx;
    action |= Redraw();
    return layout;
}

}  // namespace kalvor
