// The time line's view model: selecting with the mouse, the handles and the keys,
// zooming and scrolling, the panel's times and the layout rules.
#include <gtest/gtest.h>

#include <ostream>

#include "document/document.h"
#include "fake_time_line.h"
#include "support/fake_levels.h"
#include "support/test_support.h"
#include "view/time_line_view.h"

namespace kalvor {
namespace {

using test::FakeTimeLine;

constexpr std::int32_t kT = 15;

// 1 000 000 bytes lasting 100 s, shown whole in 365 pixels: 2 739 bytes per pixel.
class TimeLineViewTest : public ::testing::Test {
   protected:
    TimeLineViewTest() : doc_(1000000, 100000), view_(doc_, kT) { view_.Loaded(true); }

    Selection& Sel() { return doc_.Selected; }
    void ShiftDrag(double from, double to) {
        view_.SecMouseDown(PointerButton::Left, true, from);
        view_.SecMouseMove(to);
        view_.SecMouseUp(PointerButton::Left, 1);
    }

    FakeTimeLine doc_;
    TimeLineView view_;
};

TEST_F(TimeLineViewTest, OpeningShowsTheWholeFile) {
    EXPECT_EQ(view_.ViewOffset, 0);
    EXPECT_EQ(view_.ViewWidthPx, 365);
    EXPECT_EQ(view_.BytesPerPixel, 2739);
    EXPECT_EQ(view_.InfoValues()[0], "001'40.000");
}

TEST_F(TimeLineViewTest, ShiftDragSelectsWholePixels) {
    ShiftDrag(1500, 3010);  // pixels 100 and 200
    EXPECT_EQ(Sel().SelStart, 273900);
    EXPECT_EQ(Sel().SelEnd, 547800);
    EXPECT_EQ(Sel().SelLength, 273900);
    EXPECT_FALSE(view_.Dragging);
    EXPECT_EQ(view_.InfoValues()[1], "000'27.390");
    EXPECT_EQ(view_.InfoValues()[3], "000'27.390");
    EXPECT_EQ(view_.HandleX[1], 3000);  // redrawn from the selection
    EXPECT_EQ(view_.HandleLeft[1], 3000 + 105);
}

TEST_F(TimeLineViewTest, DraggingLeftOfTheStartCollapsesOntoThePointer) {
    ShiftDrag(3000, 1500);
    EXPECT_EQ(Sel().SelStart, 273900);
    EXPECT_EQ(Sel().SelEnd, 273900);
    EXPECT_EQ(Sel().SelLength, 0);
    EXPECT_EQ(view_.HandleX[0], 1500);
    EXPECT_EQ(view_.HandleX[1], 1500);
}

TEST_F(TimeLineViewTest, DragPastTheRightEdgeStopsAtTheEdgeAndTheAudio) {
    ShiftDrag(1500, 9000);
    EXPECT_EQ(Sel().SelEnd, 365 * 2739);  // the edge, still inside the audio
    view_.ViewOffset = 500000;
    ShiftDrag(1500, 9000);
    EXPECT_EQ(Sel().SelEnd, 1000000);  // past the audio: its end
    EXPECT_EQ(Sel().SelStart, 500000 + 100 * 2739);
}

TEST_F(TimeLineViewTest, DragLeftOfThePictureMovesBothEndsBelowTheView) {
    view_.ViewOffset = 100000;
    ShiftDrag(1500, -300);
    EXPECT_EQ(Sel().SelStart, 100000 - 20 * 2739);
    EXPECT_EQ(Sel().SelLength, 0);
}

TEST_F(TimeLineViewTest, PressingShiftPlacesBothHandlesAtThePointer) {
    const ViewAction action = view_.SecMouseDown(PointerButton::Left, true, 1200);
    EXPECT_TRUE(view_.Dragging);
    EXPECT_TRUE(action.Paint);
    EXPECT_TRUE(action.MoveHandles);
    EXPECT_EQ(view_.HandleLeft[0], 1200 - 315);
    EXPECT_EQ(view_.HandleLeft[1], 1200 + 105);
    EXPECT_EQ(view_.HandleX[0], 1200);
}

TEST_F(TimeLineViewTest, DragEndPaintsTheHighlightAgain) {
    view_.SecMouseDown(PointerButton::Left, true, 1500);
    view_.SecMouseMove(3000);
    const std::size_t ops = view_.Picture().Ops.size();
    const ViewAction up = view_.SecMouseUp(PointerButton::Left, 1);
    EXPECT_TRUE(up.Paint);
    ASSERT_EQ(view_.Picture().Ops.size(), ops + 1);
    EXPECT_EQ(view_.Picture().Ops.back().Kind, DrawKind::Selection);
    EXPECT_TRUE(view_.SecMouseUp(PointerButton::Left, 1).Paint == false);  // no drag, nothing to do
}

TEST_F(TimeLineViewTest, HandleZeroPushesHandleOneAlong) {
    view_.DispSelected(100000, 200000);
    ASSERT_EQ(view_.HandleX[0], 548);
    ASSERT_EQ(view_.HandleX[1], 1095);
    view_.HandleMouseDown(0, 10);
    view_.HandleMouseMove(0, 810);  // the start 800 twips right: past the end at 1095
    EXPECT_EQ(Sel().SelStart, Sel().SelEnd);
    EXPECT_EQ(Sel().SelLength, 0);
    EXPECT_EQ(Sel().SelStart, 89 * 2739);  // 548 + 800 = 1348 twips, pixel 89
    const ViewAction up = view_.HandleMouseUp(0, PointerButton::Left);
    EXPECT_FALSE(up.PlayCheckedEntry);
    EXPECT_FALSE(view_.HandleDrag[0]);
    EXPECT_EQ(Sel().SelLength, 0);
}

TEST_F(TimeLineViewTest, HandleMovesOnlyItsOwnEdgeUntilTheyMeet) {
    view_.DispSelected(100000, 500000);
    view_.HandleMouseDown(1, 50);
    view_.HandleMouseMove(1, 50 - 300);
    EXPECT_EQ(Sel().SelStart, 100000);
    EXPECT_LT(Sel().SelEnd, 500000);
    EXPECT_GT(Sel().SelEnd, 100000);
    EXPECT_TRUE(view_.HandleMouseUp(1, PointerButton::Right).PlayCheckedEntry);
}

TEST_F(TimeLineViewTest, HandleWithoutAPressDoesNotMove) {
    view_.DispSelected(100000, 500000);
    EXPECT_FALSE(view_.HandleMouseMove(0, 400).Paint);
    EXPECT_EQ(Sel().SelStart, 100000);
}

TEST_F(TimeLineViewTest, HandleStripSelectsWithShiftForced) {
    view_.AllMouseDown(PointerButton::Left, 1560);
    view_.AllMouseMove(3060);
    view_.AllMouseUp(PointerButton::Left, 1);
    EXPECT_EQ(Sel().SelStart, 100 * 2739);
    EXPECT_EQ(Sel().SelEnd, 200 * 2739);
}

TEST_F(TimeLineViewTest, ClickRemembersTheTimeForADoubleClick) {
    view_.SecMouseDown(PointerButton::Left, false, 1500);
    EXPECT_EQ(view_.ClickMs, 27390);
    EXPECT_EQ(Sel().SelLength, 0);  // a plain click selects nothing
    EXPECT_TRUE(view_.SecDoubleClick(PointerButton::Left).PlayFromClick);
    view_.ViewOffset = 5000;
    view_.SecMouseDown(PointerButton::Left, false, 10);  // inside pixel 0: the view's left edge
    EXPECT_EQ(view_.ClickMs, 500);
}

TEST_F(TimeLineViewTest, RightReleaseStopsPlayingOrShowsTheMenu) {
    const ViewAction playing = view_.SecMouseUp(PointerButton::Right, kModePlaying);
    EXPECT_TRUE(playing.StopPlayback);
    EXPECT_FALSE(playing.ShowMenu);
    view_.SecMouseDown(PointerButton::Left, true, 1500);
    const ViewAction stopped = view_.SecMouseUp(PointerButton::Right, 1);
    EXPECT_TRUE(stopped.ShowMenu);
    EXPECT_FALSE(stopped.StopPlayback);
    EXPECT_FALSE(view_.Dragging);
}

TEST_F(TimeLineViewTest, ZoomInStopsAtSixtyFourAndZoomOutAtTheWholeFile) {
    for (int i = 0; i < 10; ++i) view_.ZoomIn();
    EXPECT_EQ(view_.BytesPerPixel, 64);
    for (int i = 0; i < 20; ++i) view_.ZoomOut();
    EXPECT_EQ(view_.BytesPerPixel, 2739);
}

TEST_F(TimeLineViewTest, ZoomKeepsTheSelectionsMiddleInTheMiddle) {
    view_.DispSelected(400000, 600000);
    const ViewAction action = view_.ViewButtonClicked(2, false);
    EXPECT_EQ(view_.BytesPerPixel, 1369);
    EXPECT_EQ(view_.ViewOffset, 500000 - 182 * 1369);
    EXPECT_TRUE(action.SetSlider);
    EXPECT_EQ(action.SliderValue, 2055);                   // 250 842 of 1 000 000 bytes on 0..8192
    EXPECT_FALSE(view_.ViewButtonClicked(1, true).Paint);  // Shift clicks do nothing
    view_.ViewButtonClicked(1, false);
    EXPECT_EQ(view_.ViewOffset, 0);
    EXPECT_EQ(view_.BytesPerPixel, 2739);
}

TEST_F(TimeLineViewTest, CenterViewStopsAtTheStartButNotTheEnd) {
    const ViewAction start = view_.CenterView(1000);
    EXPECT_EQ(view_.ViewOffset, 0);
    EXPECT_EQ(start.SliderValue, 0);
    const ViewAction past = view_.CenterView(2000000);
    EXPECT_EQ(view_.ViewOffset, 2000000 - 182 * 2739);
    EXPECT_GT(past.SliderValue, 8192);  // the slider pins it to its end
}

TEST_F(TimeLineViewTest, SliderScrollsUnlessTheViewMovesIt) {
    view_.SliderChanged(4096);
    EXPECT_EQ(view_.ViewOffset, 500000);
    view_.SuppressSlider = true;
    EXPECT_FALSE(view_.SliderChanged(0).Paint);
    EXPECT_EQ(view_.ViewOffset, 500000);
}

TEST_F(TimeLineViewTest, InformationPanelCentresAndZoomsToTheSelection) {
    view_.DispSelected(600000, 700000);
    view_.InfoFieldReleased(2);
    EXPECT_EQ(view_.ViewOffset, 700000 - 182 * 2739);
    view_.InfoFieldReleased(1);
    EXPECT_EQ(view_.ViewOffset, 600000 - 182 * 2739);
    view_.InfoFieldReleased(3);           // the selection fills half the view
    EXPECT_EQ(view_.BytesPerPixel, 548);  // round(200 000 / 365)
    EXPECT_EQ(view_.ViewOffset, 650000 - 182 * 548);
    view_.InfoFieldReleased(0);
    EXPECT_EQ(view_.BytesPerPixel, 2739);
    EXPECT_EQ(view_.ViewOffset, 0);
}

// A scale of 0 would leave the drawing nothing to divide by.
TEST_F(TimeLineViewTest, ScaleNeverFallsBelowOneBytePerPixel) {
    view_.DispSelected(1000, 1050);  // 50 bytes: round(100 / 365) = 0
    view_.InfoFieldReleased(3);
    EXPECT_EQ(view_.BytesPerPixel, 1);
    EXPECT_FALSE(view_.Picture().Ops.empty());

    FakeTimeLine tiny(100, 10);
    TimeLineView small(tiny, kT);
    small.Loaded(true);  // 100 bytes in 365 pixels
    EXPECT_EQ(small.BytesPerPixel, 1);
    EXPECT_TRUE(small.Picture().HandlesPlaced);
    small.ZoomOut();
    EXPECT_EQ(small.BytesPerPixel, 1);
}

TEST_F(TimeLineViewTest, KeysMarkInAndOutAtThePlayPositionOnlyWhilePlaying) {
    view_.DispSelected(100000, 200000);
    EXPECT_FALSE(view_.KeyUp(3, 1, 50000).Paint);  // stopped: nothing
    EXPECT_EQ(Sel().SelStart, 100000);
    view_.KeyUp(3, kModePlaying, 15000);
    EXPECT_EQ(Sel().SelStart, 150000);
    EXPECT_EQ(Sel().SelLength, 50001);
    const ViewAction f4 = view_.KeyUp(4, kModePlaying, 5000);  // before the start: both ends there
    EXPECT_TRUE(f4.SwallowKey);
    EXPECT_EQ(Sel().SelStart, 50000);
    EXPECT_EQ(Sel().SelEnd, 50000);
    EXPECT_EQ(Sel().SelLength, 1);
}

TEST_F(TimeLineViewTest, FunctionKeysFiveToElevenChoosePlayCommands) {
    EXPECT_EQ(view_.KeyUp(5, 1, 0).PlayEntry, 0);
    EXPECT_EQ(view_.KeyUp(5, kModePlaying, 0).PlayEntry, 0);
    const ViewAction f10 = view_.KeyUp(10, 1, 0);
    EXPECT_EQ(f10.PlayEntry, 5);
    EXPECT_TRUE(f10.SwallowKey);
    EXPECT_EQ(view_.KeyUp(11, 1, 0).PlayEntry, 6);
    EXPECT_EQ(view_.KeyUp(12, 1, 0).PlayEntry, -1);
    EXPECT_EQ(view_.KeyUp(0, 1, 0).PlayEntry, -1);
}

TEST_F(TimeLineViewTest, SetSelectionKeepsTheOrderOfItsEnds) {
    Sel().SelEnd = 500;
    view_.SetSelection(1000, -1);
    EXPECT_EQ(Sel().SelStart, 1000);
    EXPECT_EQ(Sel().SelEnd, 1000);
    EXPECT_EQ(Sel().SelLength, 1);
    view_.SetSelection(-1, 300);  // only the end, before the start: the start follows
    EXPECT_EQ(Sel().SelStart, 300);
    EXPECT_EQ(Sel().SelLength, 1);
}

TEST_F(TimeLineViewTest, TheThreeSettersMeasureLengthTheirOwnWay) {
    view_.SelectAll();
    EXPECT_EQ(Sel().SelStart, 1);
    EXPECT_EQ(Sel().SelLength, 1000000);
    view_.DispSelected(10, 20);
    EXPECT_EQ(Sel().SelLength, 10);
    view_.SetSelection(10, 20);
    EXPECT_EQ(Sel().SelLength, 11);
}

// A leading tag (a cover picture) has no place on the time line: every pixel
// and every time lands on the same audio as in the untagged file, Origin bytes
// later in the file, and shows the same time.
class TaggedTimeLine : public ::testing::TestWithParam<std::int32_t> {
   protected:
    TaggedTimeLine() : doc_(1000000, 100000, GetParam()), view_(doc_, kT) { view_.Loaded(true); }
    FakeTimeLine doc_;
    TimeLineView view_;
};

TEST_P(TaggedTimeLine, PixelsAndTimesLandOnTheSameAudio) {
    const std::int32_t origin = GetParam();
    const Selection& sel = doc_.Selected;
    view_.SecMouseDown(PointerButton::Left, true, 1500);
    view_.SecMouseMove(3010);
    EXPECT_EQ(sel.SelStart, origin + 273900);
    EXPECT_EQ(sel.SelEnd, origin + 547800);
    EXPECT_EQ(view_.InfoValues()[1], "000'27.390");
    EXPECT_EQ(view_.HandleX, (std::array<std::int32_t, 2>{1500, 3000}));

    view_.SliderChanged(4096);  // past the edge of a view scrolled to the end: the last audio byte
    view_.SecMouseDown(PointerButton::Left, true, 1500);
    view_.SecMouseMove(9000);
    EXPECT_EQ(sel.SelEnd, origin + 1000000);

    view_.SelectAll();
    EXPECT_EQ(sel.SelStart, origin + 1);
    EXPECT_EQ(sel.SelEnd, origin + 1000000);
    EXPECT_EQ(view_.InfoValues()[2], "001'40.000");

    view_.KeyUp(3, kModePlaying, 27390);
    EXPECT_EQ(sel.SelStart, origin + 273900);
    view_.DispSelected(origin + 100000, origin + 200000);
    EXPECT_EQ(view_.InfoValues()[1], "000'10.000");

    view_.CenterView(origin + 500000);
    EXPECT_EQ(view_.ViewOffset, 500000 - 182 * 2739);
    view_.WholeFile();
    view_.SecMouseDown(PointerButton::Left, false, 1500);
    EXPECT_EQ(view_.ClickMs, 27390);

    // The picture is the untagged file's: ticks, an edit's seam, the selection, the end.
    FakeTimeLine plain(1000000, 100000);
    TimeLineView plainView(plain, kT);
    plainView.Loaded(true);
    plain.Records.push_back({300000, 0});
    doc_.Records.push_back({origin + 300000, 0});
    plain.Selected.SelectRange(100000, 200000);
    view_.DispSelected(origin + 100000, origin + 200000);
    plainView.Redraw();
    EXPECT_TRUE(view_.Picture().Ops == plainView.Picture().Ops);
}
INSTANTIATE_TEST_SUITE_P(, TaggedTimeLine, ::testing::Values(0, 2048, 116000));

// The levels of the columns are asked for once per view: a drag redraws on
// every move without asking again; a scroll, newly decoded levels or turning
// them off and on again do ask.
TEST_F(TimeLineViewTest, LevelsAreAskedForOnlyWhenTheViewOrTheLevelsChange) {
    test::FakeLevels levels;
    levels.Add(2000, -10, -10, 500);
    view_.SetLevelSource(&levels);
    view_.Redraw();
    EXPECT_EQ(levels.RangeCalls, 1);
    EXPECT_FALSE(view_.Picture().Envelope.empty());
    ShiftDrag(1500, 3010);
    EXPECT_EQ(levels.RangeCalls, 1);
    EXPECT_FALSE(view_.LevelsChanged());
    levels.Rev = 2;
    EXPECT_TRUE(view_.LevelsChanged());
    view_.Redraw();
    EXPECT_EQ(levels.RangeCalls, 2);
    view_.SliderChanged(4096);
    EXPECT_EQ(levels.RangeCalls, 3);
    view_.SetShowLevels(false);
    levels.Rev = 3;
    EXPECT_FALSE(view_.LevelsChanged());
    view_.Redraw();
    EXPECT_TRUE(view_.Picture().Envelope.empty());
    EXPECT_EQ(levels.RangeCalls, 3);
}

TEST(TimeLineViewNoDocument, DragLeavesEveryPositionZero) {
    FakeTimeLine none;
    TimeLineView view(none, kT);
    view.Reset();
    view.SecMouseDown(PointerButton::Left, true, 3000);
    view.SecMouseMove(4500);
    view.SecMouseUp(PointerButton::Left, 1);
    EXPECT_EQ(none.Selected.SelStart, 0);
    EXPECT_EQ(none.Selected.SelEnd, 0);
    EXPECT_EQ(none.Selected.SelLength, 0);
    for (const std::string& text : view.InfoValues()) EXPECT_EQ(text, "000'00.000");
    view.WholeFile();
    view.InfoFieldReleased(3);
    EXPECT_FALSE(view.Picture().HandlesPlaced);
}

TEST(TimeLineViewNoDocument, ResetClearsTheViewAndTheSlider) {
    FakeTimeLine doc(1000000, 100000);
    TimeLineView view(doc, kT);
    view.Loaded(true);
    view.DispSelected(5000, 9000);
    view.CenterView(600000);
    const ViewAction action = view.Reset();
    EXPECT_EQ(view.ViewOffset, 0);
    EXPECT_EQ(view.BytesPerPixel, 0);
    EXPECT_EQ(view.HandleX, (std::array<std::int32_t, 2>{0, 0}));
    EXPECT_EQ(doc.Selected.SelLength, 0);
    EXPECT_TRUE(action.SetSlider);
    EXPECT_EQ(action.SliderValue, 0);
    EXPECT_TRUE(action.ShowInfo);
}

struct ResizeCase {
    const char* name;
    std::int32_t client;
    bool applied;
    std::int32_t all, sec, toolLeft, pixels;
};

void PrintTo(const ResizeCase& c, std::ostream* os) {
    *os << c.name;
}

class ResizeTest : public ::testing::TestWithParam<ResizeCase> {};

TEST_P(ResizeTest, TimeLineStretchesAndTheToolPanelStaysCentred) {
    const ResizeCase& c = GetParam();
    FakeTimeLine doc(1000000, 100000);
    TimeLineView view(doc, kT);
    view.Loaded(true);
    ViewAction action;
    const ResizeLayout layout = view.Resize(c.client, action);
    EXPECT_EQ(layout.Applied, c.applied);
    EXPECT_EQ(action.Paint, c.applied);
    EXPECT_EQ(view.BytesPerPixel, 2739);  // the scale stays
    if (!c.applied) {
        EXPECT_EQ(view.ViewWidthPx, 365);
        return;
    }
    EXPECT_EQ(layout.AllWidth, c.all);
    EXPECT_EQ(layout.SecWidth, c.sec);
    EXPECT_EQ(layout.SliderWidth, c.all);
    EXPECT_EQ(layout.ToolLeft, c.toolLeft);
    EXPECT_EQ(view.ViewWidthPx, c.pixels);
    EXPECT_EQ(view.SecWidth, c.sec);
}

INSTANTIATE_TEST_SUITE_P(Widths, ResizeTest,
                         ::testing::Values(ResizeCase{"DesignSize", 5745, true, 5655, 5475, -97, 365},
                                           ResizeCase{"Wide", 15000, true, 14910, 14730, 4530, 982},
                                           ResizeCase{"NarrowerThanTheToolPanel", 300, true, 210, 30, -2820, 2},
                                           ResizeCase{"TooNarrowForTheTimeLine", 200, false, 0, 0, 0, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ToolPanelWindowSize, FitsTheWindowAroundTheToolPanel) {
    const WindowSize size = ToolPanelWindowSize({9000, 6000}, {8880, 5520}, kT);
    EXPECT_EQ(size.Width, 9000 - 8880 + 5940 + 48 * kT);
    EXPECT_EQ(size.Height, 6000 - 5520 + 1320 + 1920 + 23 * kT);
}

// The view over a real document writes the document's own selection.
TEST(DocumentTimeLine, SelectsInTheOpenDocument) {
    test::TempDir dir;
    Document document(dir.path().string());
    ASSERT_EQ(document.OpenFile(test::TestAudio("cbr128.mp3")), 1);
    DocumentTimeLine source(document);
    TimeLineView view(source, kT);
    view.Loaded(true);
    EXPECT_EQ(view.BytesPerPixel, document.AudioLength() / 365);
    view.SecMouseDown(PointerButton::Left, true, 150);
    view.SecMouseMove(1500);
    EXPECT_EQ(document.Sel.SelStart, 10 * view.BytesPerPixel);
    EXPECT_EQ(document.Sel.SelEnd, 100 * view.BytesPerPixel);
    EXPECT_EQ(document.Sel.SelEndMs, document.TimeScale().PosToMs(document.Sel.SelEnd));
}

}  // namespace
}  // namespace kalvor
