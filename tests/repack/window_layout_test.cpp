// Where a window's main data goes: small windows whose every figure is worked
// out by hand.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "repack/window_layout.h"

namespace kalvor {
namespace {

// A frame of `length` data bytes whose area is 100 bytes per bit-rate index
// from index 3 on (index 3: 100, 4: 200, ...), starting at index `index`.
LayoutFrame Frame(std::int32_t length, int index, std::optional<std::int64_t> kept = std::nullopt) {
    LayoutFrame f;
    f.DataLength = length;
    f.KeptStart = kept;
    for (int i = 3; i <= 14; ++i) f.AreaOf[static_cast<std::size_t>(i)] = 100 * (i - 2);
    f.Index = index;
    f.MaxIndex = 6;
    return f;
}

struct LayoutCase {
    const char* name;
    std::vector<LayoutFrame> frames;
    std::int32_t tail;
    bool raise;
    std::optional<std::vector<int>> index;  // none: it cannot be laid out
    std::vector<std::int32_t> mainDataBegin;
};

const LayoutCase kCases[] = {
    // 120 bytes of the frame after the window fit behind the data kept in place.
    {"TailInFreeRoom", {Frame(100, 4, -50)}, 120, false, std::vector<int>{4}, {50}},
    // Without raising there is no room for the tail...
    {"ShortWithoutRaising", {Frame(100, 3, -20)}, 100, false, std::nullopt, {}},
    // ...and one step up gives it: 200 bytes hold the 80 in the area and 100 of tail.
    {"RaisedForTheTail", {Frame(100, 3, -20)}, 100, true, std::vector<int>{4}, {20}},
    // An output's first frame starts its data in its own area.
    {"FirstFrameOfAFile", {Frame(250, 4), Frame(50, 4)}, 0, true, std::vector<int>{5, 4}, {0, 50}},
    // The second frame's data starts in the first one's room, 150 bytes back.
    {"ReservoirInsideTheWindow", {Frame(50, 4), Frame(250, 4)}, 0, false, std::vector<int>{4, 4}, {0, 150}},
    // The frame nearest the shortage is raised first, the one before only when it is at its most.
    {"NearestFrameRaisedFirst", {Frame(100, 3, -10), Frame(100, 3)}, 500, true, std::vector<int>{5, 6}, {10, 210}},
    // Nothing fits when every frame is at its highest index.
    {"NoRoomAtAll", {Frame(900, 5), Frame(10, 5)}, 0, true, std::nullopt, {}},
};

class WindowLayoutCases : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(WindowLayoutCases, DataGoesWhereTheRulesAllow) {
    const LayoutCase& c = GetParam();
    const std::optional<WindowLayout> layout = LayOutWindow({c.frames, c.tail, 511}, c.raise);
    ASSERT_EQ(layout.has_value(), c.index.has_value());
    if (!layout) return;
    EXPECT_EQ(layout->Index, *c.index);
    for (std::size_t i = 0; i < c.mainDataBegin.size(); ++i) EXPECT_EQ(layout->MainDataBegin(i), c.mainDataBegin[i]);
}

INSTANTIATE_TEST_SUITE_P(Windows, WindowLayoutCases, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(WindowLayout, DataReachesBackNoFurtherThanMainDataBeginCan) {
    // The second frame's data may not start 390 bytes back, right after the
    // first one's, when 255 is the most: it starts 255 back and still fits...
    const std::optional<WindowLayout> layout = LayOutWindow({{Frame(10, 6), Frame(250, 3)}, 0, 255}, false);
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->MainDataBegin(1), 255);
    // ...but 400 bytes from there run past its own area.
    EXPECT_FALSE(LayOutWindow({{Frame(10, 6), Frame(400, 3)}, 0, 255}, false));
}

}  // namespace
}  // namespace kalvor
