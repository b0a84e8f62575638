// The time line's mouse, handle and key rules.
#include "services/arith.h"
#include "view/time_line_view.h"

namespace kalvor {

ViewAction TimeLineView::SecMouseDown(PointerButton button, bool shift, double x) {
    if (button != PointerButton::Left) return {};
    if (!shift) {
        // A plain click only remembers where a double click would start playing.
        // Left of the picture counts as its left edge.
        const std::int32_t byte = Scale().PixelToByte(RoundTwips(x) / TwipsPerPixel > 0 ? x : 0);
        const AudioTimeScale time = source_.TimeScale();
        if (byte < time.FirstFramePos()) {
            ClickMs = 0;
        } else if (time.AudioLength != 0) {
            ClickMs = time.PosToMs(byte);
        }
        return {};
    }
    Dragging = true;
    ViewAction action = Redraw();
    for (int i = 0; i < 2; ++i) PlaceHandle(i, x - HandleOffset[i]);
    HandleX[0] = RoundTwips(x);
    action.MoveHandles = true;
    return action;
}

ViewAction TimeLineView::SecMouseMove(double x) {
    if (!Dragging) return {};
    const std::int32_t at = RoundTwips(x);
    if (x < 0) {
        HandleX = {at, at};
    } else if (x > SecWidth) {
        HandleX[1] = SecWidth;
    } else if (HandleX[0] > x) {
        // Left of the start: the start follows and the selection collapses onto the pointer.
        HandleX = {at, at};
    } else {
        HandleX[1] = at;
    }
    for (int i = 0; i < 2; ++i) PlaceHandle(i, HandleX[i] - HandleOffset[i]);
    SelectByPixels(2);
    ViewAction action = DispInfo();
    action |= Redraw();
    action.MoveHandles = true;
    return action;
}

ViewAction TimeLineView::EndDrag() {
    if (!Dragging) return {};
    Dragging = false;
    DrawSelection(drawing_, HandleX, SecWidth, SecHeight);
    ViewAction action;
    action.Paint = true;
    return action;
}

ViewAction TimeLineView::SecMouseUp(PointerButton button, int lastMode) {
    if (button == PointerButton::Left) return EndDrag();
    if (button != PointerButton::Right) return {};
    ViewAction action;
    if (lastMode == kModePlaying) {
        action.StopPlayback = true;
        return action;
    }
    action = EndDrag();
    action.ShowMenu = true;
    return action;
}

ViewAction TimeLineView::SecDoubleClick(PointerButton button) {
    ViewAction action;
    action.PlayFromClick = button == PointerButton::Left;
    return action;
}

ViewAction TimeLineView::AllMouseDown(PointerButton button, double x) {
    return SecMouseDown(button, true, x - kSecLeft);
}

ViewAction TimeLineView::AllMouseMove(double x) {
    return SecMouseMove(x - kSecLeft);
}

ViewAction TimeLineView::AllMouseUp(PointerButton button, int lastMode) {
    return SecMouseUp(button, lastMode);
}

ViewAction TimeLineView::HandleMouseDown(int i, double x) {
    if (i < 0 || i > 1) return {};
    ViewAction action = Redraw();
    HandleDrag[i] = true;
    HandleGrab[i] = x;
    return action;
}

ViewAction TimeLineView::HandleMouseMove(int i, double x) {
    if (i < 0 || i > 1 || !HandleDrag[i]) return {};
    PlaceHandle(i, HandleLeft[i] + x - HandleGrab[i]);
    HandleX[i] = RoundTwips(HandleOffset[i] + HandleLeft[i]);
    int edge = i;
    if (HandleLeft[0] + HandleOffset[0] >= HandleLeft[1] + HandleOffset[1]) {
        // The handles met or crossed: the dragged one pushes the other along.
        const int other = 1 - i;
        HandleX[other] = HandleX[i];
        PlaceHandle(other, HandleX[other] - HandleOffset[other]);
        edge = 2;
    }
    SelectByPixels(edge);
    ViewAction action = Redraw();
    action |= DispInfo();
    action.MoveHandles = true;
    return action;
}

ViewAction TimeLineView::HandleMouseUp(int i, PointerButton button) {
    if (i < 0 || i > 1) return {};
    HandleDrag[i] = false;
    SelectByPixels(i);
    ViewAction action = DispInfo();
    action |= Redraw();
    action.PlayCheckedEntry = button == PointerButton::Right;
    return action;
}

ViewAction TimeLineView::HandleDoubleClick(int i) {
    if (i < 0 || i > 1 || Dragging) return {};
    HandleDrag[i] = false;
    return Redraw();
}

ViewAction TimeLineView::KeyUp(int functionKey, int lastMode, std::int32_t playPosMs) {
    ViewAction action;
    if (functionKey == 3 || functionKey == 4) {
        const AudioTimeScale time = source_.TimeScale();
        if (lastMode == kModePlaying && time.DurationMs != 0) {
            const std::int32_t p = time.MsToPos(playPosMs);
            action = functionKey == 3 ? SetSelection(p, -1) : SetSelection(-1, p);
        }
    } else if (functionKey >= 5 && functionKey <= 11) {
        action.PlayEntry = functionKey - 5;
    }
    action.SwallowKey = functionKey == 4 || functionKey == 10;
    return action;
}

}  // namespace kalvor
