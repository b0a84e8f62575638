// The time line's picture as a list: the scale's ticks and labels, the marks of
// edits and split points, the end of the audio and the selection.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>

#include "listwin/list_rows.h"
#include "view/draw_picture.h"

namespace kalvor {
namespace {

constexpr std::int32_t kT = 15;
constexpr std::int32_t kW = 5475;  // 365 pixels
constexpr std::int32_t kH = 675;

// A 3-minute file of 2 880 000 bytes shown whole in 365 pixels.
DrawInput ThreeMinutesWhole() {
    DrawInput in;
    in.AudioLength = 2880000;
    in.DurationMs = 180000;
    in.ViewWidthPx = 365;
    in.Scale = {0, 2880000 / 365, kT};
    in.Width = kW;
    in.Height = kH;
    return in;
}

// 10 000 bytes per second, 100 bytes per pixel: 365 pixels show 3.65 s.
DrawInput TenKilobytesPerSecond() {
    DrawInput in;
    in.AudioLength = 1000000;
    in.DurationMs = 100000;
    in.ViewWidthPx = 365;
    in.Scale = {0, 100, kT};
    in.Width = kW;
    in.Height = kH;
    return in;
}

std::vector<DrawOp> OfKind(const Drawing& d, DrawKind kind, std::uint32_t color) {
    std::vector<DrawOp> ops;
    std::copy_if(d.Ops.begin(), d.Ops.end(), std::back_inserter(ops),
                 [&](const DrawOp& op) { return op.Kind == kind && op.Color == color; });
    return ops;
}

std::vector<std::string> Texts(const Drawing& d, std::uint32_t color) {
    std::vector<std::string> texts;
    for (const DrawOp& op : OfKind(d, DrawKind::Text, color)) texts.push_back(op.Text);
    return texts;
}

std::vector<DrawOp> FullHeightTicks(const Drawing& d) {
    std::vector<DrawOp> ops;
    for (const DrawOp& op : OfKind(d, DrawKind::Line, kTickColor))
        if (op.Y1 == 0) ops.push_back(op);
    return ops;
}

TEST(DrawPicture, ThreeMinutesInThreeHundredSixtyFivePixelsLabelsEveryTwentyFiveSeconds) {
    const Drawing d = DrawPicture(ThreeMinutesWhole());
    EXPECT_EQ(Texts(d, kTickColor),
              (std::vector<std::string>{"0'00", "0'25", "0'50", "1'15", "1'40", "2'05", "2'30", "2'55"}));
    const auto ticks = FullHeightTicks(d);
    ASSERT_EQ(ticks.size(), 8u);
    // 25 s = 400 000 bytes = 760.46 pixels… in twips round(400000 / 7890 × 15).
    EXPECT_EQ(ticks[1].X1, 760);
    EXPECT_EQ(ticks[1].X2, 760);
    EXPECT_EQ(ticks[1].Y2, kH);
    const auto labels = OfKind(d, DrawKind::Text, kTickColor);
    EXPECT_EQ(labels[1].X1, 760 + 3 * kT);
    EXPECT_EQ(labels[1].Y1, 0);
    // One-second ticks 100 twips high along the bottom, seconds 0 … 179.
    const auto all = OfKind(d, DrawKind::Line, kTickColor);
    EXPECT_EQ(all.size() - ticks.size(), 180u);
    EXPECT_EQ(all.back().Y1, kH - 100);
    EXPECT_EQ(all.back().Y2, kH);
}

struct StepCase {
    const char* name;
    std::int32_t widthPx;
    std::int32_t viewMs;  // the time the view spans
    std::int32_t labels;  // labelled ticks drawn
    bool secondTicks;
};

void PrintTo(const StepCase& c, std::ostream* os) {
    *os << c.name;
}

class TickStepTest : public ::testing::TestWithParam<StepCase> {};

TEST_P(TickStepTest, LabelsAndSecondTicksFollowTheWidth) {
    const StepCase& c = GetParam();
    DrawInput in;
    in.DurationMs = 1000000;
    in.AudioLength = 100000000;  // 100 bytes per millisecond
    in.ViewWidthPx = c.widthPx;
    in.Scale = {0, c.viewMs * 100 / c.widthPx, kT};
    in.Width = c.widthPx * kT;
    in.Height = kH;
    const Drawing d = DrawPicture(in);
    EXPECT_EQ(static_cast<int>(Texts(d, kTickColor).size()), c.labels);
    EXPECT_EQ(OfKind(d, DrawKind::Line, kTickColor).size() > FullHeightTicks(d).size(), c.secondTicks);
    EXPECT_EQ(d.HandlesPlaced, c.labels > 0);
}

INSTANTIATE_TEST_SUITE_P(Widths, TickStepTest,
                         ::testing::Values(StepCase{"TenSecondsInFiveHundredPixelsEverySecond", 500, 10000, 11, true},
                                           StepCase{"TwentyFivePixelsDrawNothing", 25, 10000, 0, false},
                                           StepCase{"TwentySixPixelsHoldOneLabel", 26, 10000, 2, true},
                                           StepCase{"HundredSecondStepsDropSecondTicks", 100, 200000, 3, false},
                                           StepCase{"JustUnderHundredSecondSteps", 100, 199000, 3, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DrawPicture, BlockMarksOnTheEdgesAreNotDrawn) {
    DrawInput in = TenKilobytesPerSecond();
    in.Scale.ViewOffset = 1000;
    const std::vector<BlockRec> blocks{{}, {1000, 1100}, {37500, 0}, {0, 2000}};
    in.Blocks = &blocks;
    const auto bars = OfKind(DrawPicture(in), DrawKind::Bar, kBlockMarkColor);
    // 1000 is x = 0 and 37 500 is x = W: only 1100 (x = 15) and 2000 (x = 150) show.
    ASSERT_EQ(bars.size(), 2u);
    EXPECT_EQ(bars[0].X1, 15);
    EXPECT_EQ(bars[0].X2, 30);
    EXPECT_EQ(bars[0].Y1, 0);
    EXPECT_EQ(bars[0].Y2, kH);
    EXPECT_EQ(bars[1].X1, 150);
}

TEST(DrawPicture, SplitPointsShowOnlyForAnOpenSplitList) {
    DrawInput in = ThreeMinutesWhole();
    ListRows split(ListMode::Split);
    split.Add(60000, 0, in.DurationMs);
    split.Add(3000000, 0, in.DurationMs);  // beyond the picture
    in.Rows = &split;
    const Drawing d = DrawPicture(in);
    const auto bars = OfKind(d, DrawKind::Bar, kSplitMarkColor);
    ASSERT_EQ(bars.size(), 1u);
    const std::int32_t x = 1825;  // round(960000 / 7890 × 15)
    EXPECT_EQ(bars[0].X1, x);
    const auto numbers = OfKind(d, DrawKind::Text, kSplitMarkColor);
    ASSERT_EQ(numbers.size(), 1u);
    EXPECT_EQ(numbers[0].Text, "02");
    EXPECT_EQ(numbers[0].X1, x + 6 * kT);
    EXPECT_EQ(numbers[0].Y1, 270);

    ListRows build(ListMode::Build);
    build.Add(60000, 70000, in.DurationMs);
    in.Rows = &build;
    EXPECT_TRUE(OfKind(DrawPicture(in), DrawKind::Bar, kSplitMarkColor).empty());
    in.Rows = nullptr;  // the list window closed
    EXPECT_TRUE(OfKind(DrawPicture(in), DrawKind::Bar, kSplitMarkColor).empty());
}

TEST(DrawPicture, ThePastTheEndOfTheAudioIsShaded) {
    DrawInput in = TenKilobytesPerSecond();
    in.Scale.ViewOffset = 990000;  // the last 10 000 bytes are 100 pixels
    const Drawing d = DrawPicture(in);
    const auto shade =
        std::find_if(d.Ops.begin(), d.Ops.end(), [](const DrawOp& op) { return op.Role == ColorRole::ButtonShadow; });
    ASSERT_NE(shade, d.Ops.end());
    EXPECT_EQ(shade->Kind, DrawKind::Bar);
    EXPECT_EQ(shade->X1, 1500);
    EXPECT_EQ(shade->X2, kW);
    EXPECT_EQ(shade->Y2, kH);

    in.Scale.ViewOffset = 0;  // the end lies right of the picture
    const Drawing whole = DrawPicture(in);
    EXPECT_TRUE(std::none_of(whole.Ops.begin(), whole.Ops.end(),
                             [](const DrawOp& op) { return op.Role == ColorRole::ButtonShadow; }));
}

struct SelectionCase {
    const char* name;
    std::int32_t selStart, selEnd;
    bool drawn;
    std::int32_t x1, x2;
};

void PrintTo(const SelectionCase& c, std::ostream* os) {
    *os << c.name;
}

class SelectionBoxTest : public ::testing::TestWithParam<SelectionCase> {};

TEST_P(SelectionBoxTest, HighlightIsClippedToThePicture) {
    const SelectionCase& c = GetParam();
    DrawInput in = TenKilobytesPerSecond();
    in.Scale.ViewOffset = 10000;
    in.SelStart = c.selStart;
    in.SelEnd = c.selEnd;
    const Drawing d = DrawPicture(in);
    EXPECT_EQ(d.HandleX[0], (c.selStart - 10000) * kT / 100);
    EXPECT_EQ(d.HandleX[1], (c.selEnd - 10000) * kT / 100);
    const auto boxes = OfKind(d, DrawKind::Selection, kSelectionColor);
    ASSERT_EQ(boxes.size(), c.drawn ? 1u : 0u);
    if (!c.drawn) return;
    EXPECT_EQ(boxes[0].X1, c.x1);
    EXPECT_EQ(boxes[0].X2, c.x2);
    EXPECT_EQ(boxes[0].Y2, kH);
    EXPECT_EQ(d.Ops.back().Kind, DrawKind::Selection);  // painted last, over everything
}

INSTANTIATE_TEST_SUITE_P(Places, SelectionBoxTest,
                         ::testing::Values(SelectionCase{"Inside", 12000, 15000, true, 300, 750},
                                           SelectionCase{"WhollyLeftOfTheView", 1000, 5000, false, 0, 0},
                                           SelectionCase{"StartsLeftEndsInside", 5000, 12000, true, 0, 300},
                                           SelectionCase{"RunsPastTheRightEdge", 12000, 90000, true, 300, kW},
                                           SelectionCase{"WhollyRightOfTheView", 60000, 90000, false, 0, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DrawPicture, NothingToMeasureByLeavesAClearedPictureAndTheHandles) {
    DrawInput noAudio = TenKilobytesPerSecond();
    noAudio.AudioLength = 0;
    DrawInput noScale = TenKilobytesPerSecond();
    noScale.Scale.BytesPerPixel = 0;
    DrawInput noDuration = TenKilobytesPerSecond();
    noDuration.DurationMs = 0;
    for (const DrawInput& in : {noAudio, noScale, noDuration}) {
        const Drawing d = DrawPicture(in);
        EXPECT_TRUE(d.Ops.empty());
        EXPECT_FALSE(d.HandlesPlaced);
    }
}

TEST(DrawPicture, MarksAFileAwayDoNotWrapIntoView) {
    DrawInput in = TenKilobytesPerSecond();
    in.AudioLength = 2000000000;
    in.DurationMs = 200000000;
    in.Scale = {0, 1, kT};
    // 286 331 163 bytes are 2^32 + 149 twips: wrapped to 32 bits that would be x = 149.
    const std::vector<BlockRec> blocks{{}, {286331163, 0}};
    in.Blocks = &blocks;
    EXPECT_TRUE(OfKind(DrawPicture(in), DrawKind::Bar, kBlockMarkColor).empty());
}

// The envelope comes first, so the scale, the marks and the highlight lie over
// it; each column reaches out from the middle line by its peaks, on a scale of
// 60 dB, in whole pixels (half the picture is 22 pixels).
TEST(DrawPicture, LevelsAreAnEnvelopeBehindEverythingElse) {
    DrawInput in = TenKilobytesPerSecond();
    in.SelStart = 100;
    in.SelEnd = 300;
    const std::vector<PeakPair> levels{{kNoLevel, kNoLevel},
                                       {LevelCodeOfDb(0), LevelCodeOfDb(0)},
                                       {LevelCodeOfDb(-30), LevelCodeOfDb(-60)},
                                       {LevelCodeOfDb(-90), LevelCodeOfDb(-127)}};
    in.Levels = &levels;
    const Drawing d = DrawPicture(in);
    ASSERT_FALSE(d.Ops.empty());
    EXPECT_EQ(d.Ops.front().Kind, DrawKind::Envelope);
    EXPECT_EQ(d.Ops.front().Y1, 22 * kT);
    EXPECT_EQ(d.Ops.back().Kind, DrawKind::Selection);
    std::vector<std::pair<std::int32_t, std::int32_t>> columns;
    for (const EnvelopeColumn& c : d.Envelope) columns.emplace_back(c.Up, c.Down);
    const std::vector<std::pair<std::int32_t, std::int32_t>> expected{{0, 0}, {330, 330}, {165, 0}, {0, 0}};
    EXPECT_EQ(columns, expected);

    in.Levels = nullptr;
    const Drawing none = DrawPicture(in);
    EXPECT_TRUE(none.Envelope.empty());
    EXPECT_NE(none.Ops.front().Kind, DrawKind::Envelope);
}

TEST(TickLabel, MinutesAndTwoDigitSeconds) {
    EXPECT_EQ(TickLabel(5000), "0'05");
    EXPECT_EQ(TickLabel(90000), "1'30");
    EXPECT_EQ(TickLabel(720000), "12'00");
}

}  // namespace
}  // namespace kalvor
