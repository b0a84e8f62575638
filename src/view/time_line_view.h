#pragma once
// The time line's view model: which stretch of the document PictureSec shows
// (ViewOffset, BytesPerPixel), where the selection handles are, and what every
// mouse, handle, key, button, slider and panel event does to the selection and
// the view. The selection itself lives in the document (TimeLineSource::Sel).
//
// The model never touches a widget. Each event method changes the model and
// returns a ViewAction saying what the window has to show or start; the picture
// to paint is Picture(), the handle places HandleLeft, the panel texts
// InfoValues(). Pointer positions are twips of the control the event came from.
#include <array>
#include <cstdint>
#include <string>

#include "view/draw_picture.h"
#include "view/time_line_layout.h"
#include "view/time_line_source.h"
#include "view/view_scale.h"

namespace kalvor {

class ListRows;

// What the window does after an event, applied in this order.
struct ViewAction {
    bool Paint = false;        // paint Picture() on PictureSec
    bool MoveHandles = false;  // move PictureMark(i) to HandleLeft[i]
    bool ShowInfo = false;     // write InfoValues() into value fields 0..3
    bool SetSlider = false;    // set the slider to SliderValue with SuppressSlider set
    std::int32_t SliderValue = 0;
    bool StopPlayback = false;      // StopIO on the playback object
    bool PlayFromClick = false;     // play from ClickMs to the end of the file
    bool PlayCheckedEntry = false;  // start the play command whose menu entry is checked
    int PlayEntry = -1;             // choose play menu entry 0..6 (F5..F11)
    bool ShowMenu = false;          // the edit menu as a pop-up at the pointer
    bool SwallowKey = false;        // the key goes no further (F4, F10)

    // Adds what other asks for; a later slider value or play entry wins.
    ViewAction& operator|=(const ViewAction& other);
};

enum class PointerButton { Left, Right, Other };

// The transport's play state "playing", as lastMode holds it.
inline constexpr int kModePlaying = 3;

class TimeLineView {
   public:
    // A handle picture's left edge sits at HandleX(i) − HandleOffset(i) in PictureAll.
    static constexpr std::array<std::int32_t, 2> HandleOffset{315, -105};
    static constexpr std::int32_t kMinZoomInBytesPerPixel = 64;

    TimeLineView(TimeLineSource& source, std::int32_t twipsPerPixel);

    // ---- State, named as the window's code names it ----
    std::int32_t ViewOffset = 0;  // audio bytes, from the first frame, left of the picture
    std::int32_t BytesPerPixel = 0;
    std::int32_t ViewWidthPx = kSecWidth / 15;
    std::array<std::int32_t, 2> HandleX{0, 0};                                   // selection ends in PictureSec, twips
    std::array<double, 2> HandleLeft{0 - HandleOffset[0], 0 - HandleOffset[1]};  // handle pictures
    bool Dragging = false;
    std::array<bool, 2> HandleDrag{false, false};
    std::array<double, 2> HandleGrab{0, 0};
    std::int32_t ClickMs = 0;
    bool SuppressSlider = false;
    const std::int32_t TwipsPerPixel;
    std::int32_t SecWidth = kSecWidth;  // PictureSec, twips
    std::int32_t SecHeight = kSecHeight;

    // The list window's rows while it is open (split marks); null when closed.
    void SetListRows(const ListRows* rows) { rows_ = rows; }
    // The levels drawn behind the scale; null draws none. Shown only while
    // showLevels (the view menu) holds.
    void SetLevelSource(const LevelSource* levels) { levels_ = levels; }
    void SetShowLevels(bool show) { showLevels_ = show; }
    bool ShowLevels() const { return showLevels_; }
    // True when the levels changed since the picture was drawn (a decode
    // running on): the window redraws on its timer.
    bool LevelsChanged() const;
    ViewScale Scale() const { return {ViewOffset, BytesPerPixel, TwipsPerPixel, source_.TimeScale().Origin}; }

    // ---- The document ----
    // The document was closed: no view, no selection, zero times, empty picture.
    ViewAction Reset();
    // The current file was analysed anew. wholeFile (a new document) brings the
    // whole file into view; an edit or undo keeps the view.
    ViewAction Loaded(bool wholeFile);

    // ---- Selection (time_line_view.cpp) ----
    // Selection from the handles' HandleX: edge 0 start, 1 end, 2 both.
    void SelectByPixels(int edge);
    // Keys: a, b byte positions, −1 keeps that end. Length end − start + 1.
    ViewAction SetSelection(std::int32_t a, std::int32_t b);
    ViewAction SelectAll();
    // The list window's selection: length pOut − pIn.
    ViewAction DispSelected(std::int32_t pIn, std::int32_t pOut);
    // The document changed the selection itself (select all, an edit).
    ViewAction SelectionChanged();
    // Recomputes the selection's times and the panel's value texts.
    ViewAction DispInfo();
    const std::array<std::string, 4>& InfoValues() const { return infoValues_; }

    // ---- View ----
    ViewAction CenterView(std::int32_t p);
    ViewAction WholeFile();
    ViewAction ZoomOut();
    ViewAction ZoomIn();
    // EditorCtrl: 0 zoom out, 1 whole file, 2 zoom in; a Shift click does nothing.
    ViewAction ViewButtonClicked(int index, bool shift);
    // PictureInfo value field 0..3 released.
    ViewAction InfoFieldReleased(int field);
    // SliderScroll moved to value (ignored while SuppressSlider is set).
    ViewAction SliderChanged(std::int32_t value);
    // A new width of the client area: lays the window out, keeps the scale.
    ResizeLayout Resize(std::int32_t clientWidth, ViewAction& action);

    // DrawPicture: recomputes the picture and the handles' places.
    ViewAction Redraw();
    const Drawing& Picture() const { return drawing_; }

    // ---- Mouse and keys (time_line_input.cpp) ----
    ViewAction SecMouseDown(PointerButton button, bool shift, double x);
    ViewAction SecMouseMove(double x);
    ViewAction SecMouseUp(PointerButton button, int lastMode);
    ViewAction SecDoubleClick(PointerButton button);
    // PictureAll outside PictureSec: passed on with Shift held, x in PictureAll.
    ViewAction AllMouseDown(PointerButton button, double x);
    ViewAction AllMouseMove(double x);
    ViewAction AllMouseUp(PointerButton button, int lastMode);
    // Handle i (0 start, 1 end); x inside the handle picture.
    ViewAction HandleMouseDown(int i, double x);
    ViewAction HandleMouseMove(int i, double x);
    ViewAction HandleMouseUp(int i, PointerButton button);
    ViewAction HandleDoubleClick(int i);
    // A key released: functionKey n for Fn, 0 for any other key.
    ViewAction KeyUp(int functionKey, int lastMode, std::int32_t playPosMs);

   private:
    ViewAction EndDrag();
    void PlaceHandle(int i, double left);
    std::int32_t Midpoint() const;
    void SetScale(std::int64_t bytesPerPixel);
    DrawInput Input() const;
    // The peaks of the picture's columns, asked of the level source only when
    // the view or the levels changed: a drag redraws on every mouse move.
    const std::vector<PeakPair>* LevelColumns();

    TimeLineSource& source_;
    const ListRows* rows_ = nullptr;
    const LevelSource* levels_ = nullptr;
    bool showLevels_ = true;
    std::uint64_t drawnRevision_ = 0;
    struct ColumnsKey {
        std::int64_t From = 0, Step = 0;
        int Count = 0;
        std::uint64_t Revision = 0;
        bool operator==(const ColumnsKey&) const = default;
    } columnsKey_;
    std::vector<PeakPair> columns_;
    Drawing drawing_;
    std::array<std::string, 4> infoValues_;
};

}  // namespace kalvor
