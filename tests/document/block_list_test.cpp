#include "document/block_list.h"

#include <gtest/gtest.h>

#include <vector>

namespace kalvor {
namespace {

using Recs = std::vector<BlockRec>;

// The records of a list without its unused slot 0.
Recs Records(const std::vector<BlockRec>& list) {
    return Recs(list.begin() + 1, list.end());
}

BlockList ListOf(const Recs& recs) {
    BlockList list;
    for (const auto& r : recs) list.AddBlock(r.StartPos, r.EndPos);
    return list;
}

Selection Sel(std::int32_t start, std::int32_t end, std::int32_t length) {
    Selection s;
    s.SelStart = start;
    s.SelEnd = end;
    s.SelLength = length;
    return s;
}

TEST(BlockList, StartsWithTheSingleEmptySlot) {
    BlockList list;
    EXPECT_EQ(list.BlockCount(), 1);
    EXPECT_EQ(list.Blocks().size(), 1u);
    EXPECT_EQ(list.UndoBlocks().size(), 1u);
    EXPECT_EQ(list.ClipBlocks().size(), 1u);
    list.AddBlock(5, 9);
    EXPECT_EQ(list.BlockCount(), 2);
    EXPECT_EQ(list.Blocks()[1], (BlockRec{5, 9}));
    list.ResetBlocks();
    EXPECT_EQ(list.BlockCount(), 1);
}

TEST(BlockList, DeleteBlockMovesLaterRecordsUp) {
    BlockList list = ListOf({{1, 0}, {2, 0}, {3, 0}});
    EXPECT_FALSE(list.DeleteBlock(0));
    EXPECT_FALSE(list.DeleteBlock(4));
    EXPECT_FALSE(list.DeleteBlock(-1));
    EXPECT_EQ(list.BlockCount(), 4);
    EXPECT_TRUE(list.DeleteBlock(1));
    EXPECT_EQ(Records(list.Blocks()), (Recs{{2, 0}, {3, 0}}));
    EXPECT_TRUE(list.DeleteBlock(2));  // the last one
    EXPECT_EQ(Records(list.Blocks()), (Recs{{2, 0}}));
    EXPECT_EQ(list.BlockCount(), 2);
}

TEST(BlockList, UndoSwapsAndASecondSwapRestores) {
    BlockList list = ListOf({{100, 0}});
    list.SaveBlocks();
    list.AddBlock(200, 300);
    const Recs edited = Records(list.Blocks());
    list.SwapBlocks();
    EXPECT_EQ(Records(list.Blocks()), (Recs{{100, 0}}));
    EXPECT_EQ(list.BlockCount(), 2);
    list.SwapBlocks();
    EXPECT_EQ(Records(list.Blocks()), edited);
    EXPECT_EQ(list.BlockCount(), 3);
}

struct ShiftCase {
    const char* name;
    ShiftMode mode;
    Selection sel;
    Recs before;
    Recs after;
};

class ShiftBlocksTest : public ::testing::TestWithParam<ShiftCase> {};

TEST_P(ShiftBlocksTest, MovesOrDropsFields) {
    BlockList list = ListOf(GetParam().before);
    list.ShiftBlocks(GetParam().mode, GetParam().sel);
    EXPECT_EQ(Records(list.Blocks()), GetParam().after);
    EXPECT_EQ(list.BlockCount(), static_cast<std::int32_t>(GetParam().after.size()) + 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ShiftBlocksTest,
    ::testing::Values(
        ShiftCase{"RemovalDropsMovesAndKeeps",
                  ShiftMode::Removed,
                  Sel(1000, 2000, 1000),
                  {{1500, 0}, {2000, 2600}, {3000, 3500}, {500, 900}},
                  {{0, 1600}, {2000, 2500}, {500, 900}}},
        ShiftCase{"RemovalAtTheStartEdgeDropsTheField",
                  ShiftMode::Removed,
                  Sel(1000, 2000, 1000),
                  {{1000, 1200}, {999, 0}},
                  {{999, 0}}},
        // The amount is the selection's length, whatever the range says.
        ShiftCase{"RemovalShiftsBySelLength", ShiftMode::Removed, Sel(1000, 2000, 1001), {{5000, 0}}, {{3999, 0}}},
        ShiftCase{"InsertionKeepsAFieldAtThePoint",
                  ShiftMode::Inserted,
                  Sel(1000, 1500, 500),
                  {{1000, 1200}, {999, 1001}},
                  {{1000, 1700}, {999, 1501}}},
        ShiftCase{"EmptyListStaysEmpty", ShiftMode::Removed, Sel(1, 10, 9), {}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CollectClipBlocks, TakesRecordsInsideTheSelectionRelativeToItsStart) {
    BlockList list = ListOf({{1500, 1800}, {900, 1200}, {1900, 2500}, {300, 400}, {2000, 0}});
    list.CollectClipBlocks(Sel(1000, 2000, 1000));
    EXPECT_EQ(Records(list.ClipBlocks()), (Recs{{500, 800}, {0, 200}, {900, 0}}));
}

TEST(CollectClipBlocks, AnEndAtSelStartIsTakenButCarriesNothing) {
    BlockList list = ListOf({{500, 1000}});
    list.CollectClipBlocks(Sel(1000, 2000, 1000));
    EXPECT_EQ(Records(list.ClipBlocks()), (Recs{{0, 0}}));
    list.InsertClipBlocks(7000);
    EXPECT_EQ(Records(list.Blocks()), (Recs{{500, 1000}}));
}

TEST(CollectClipBlocks, NoRecordInsideLeavesTheClipEmpty) {
    BlockList list = ListOf({{100, 0}});
    list.CollectClipBlocks(Sel(1000, 2000, 1000));
    EXPECT_EQ(list.ClipBlocks().size(), 1u);
    BlockList empty;
    empty.CollectClipBlocks(Sel(1000, 2000, 1000));
    EXPECT_EQ(empty.ClipBlocks().size(), 1u);
}

TEST(InsertClipBlocks, MovesNonZeroFieldsToThePastePoint) {
    BlockList list = ListOf({{1500, 1800}, {1200, 0}});
    list.CollectClipBlocks(Sel(1000, 2000, 1000));
    list.ResetBlocks();
    // ResetBlocks empties the clip marks too.
    list.InsertClipBlocks(10);
    EXPECT_EQ(list.BlockCount(), 1);

    BlockList other = ListOf({{1500, 1800}, {1200, 0}});
    other.CollectClipBlocks(Sel(1000, 2000, 1000));
    other.InsertClipBlocks(5000);
    EXPECT_EQ(Records(other.Blocks()), (Recs{{1500, 1800}, {1200, 0}, {5500, 5800}, {5200, 0}}));
}

TEST(Selection, ConvertsBytesAndTimesLinearly) {
    EXPECT_EQ((AudioTimeScale{0, 1000, 3}.PosToMs(500)), 2);  // 1.5 rounds to even
    EXPECT_EQ((AudioTimeScale{0, 0, 1000}.PosToMs(1)), 0);
    EXPECT_EQ((AudioTimeScale{0, 320000, 20000}.MsToPos(10000)), 160000);
    EXPECT_EQ((AudioTimeScale{0, 320000, 0}.MsToPos(10)), 0);

    Selection sel;
    sel.SelectRange(1000, 3000);
    EXPECT_EQ(sel.SelLength, 2000);
    sel.UpdateMs({0, 16000, 1000});
    EXPECT_EQ(sel.SelStartMs, 62);  // 62.5, halves to even
    EXPECT_EQ(sel.SelEndMs, 188);   // 187.5
    EXPECT_EQ(sel.SelLengthMs, 126);

    // Without audio (all of it deleted) every position is at 0 ms.
    sel.SelectRange(1, 5000);
    sel.UpdateMs({0, 0, 1000});
    EXPECT_EQ(sel.SelStartMs, 0);
    EXPECT_EQ(sel.SelEndMs, 0);
    EXPECT_EQ(sel.SelLengthMs, 0);
}

// A leading tag of Origin bytes moves every position by Origin and no time:
// 1000 audio bytes over 2000 ms, so 1 ms is half a byte (rounded before the
// origin is added, whatever its parity).
class TaggedScale : public ::testing::TestWithParam<std::int32_t> {};

TEST_P(TaggedScale, MeasuresPositionsFromTheFirstFrame) {
    const std::int32_t origin = GetParam();
    const AudioTimeScale scale{origin, 1000, 2000};
    EXPECT_EQ(scale.MsToPos(0), origin);
    EXPECT_EQ(scale.MsToPos(1), origin);  // 0.5 halves to even
    EXPECT_EQ(scale.MsToPos(3), origin + 2);
    EXPECT_EQ(scale.MsToPos(2000), origin + 1000);
    EXPECT_EQ(scale.PosToMs(origin + 500), 1000);
    EXPECT_EQ(scale.PosToMs(origin), 0);  // the tag has no time

    Selection sel;
    sel.SelectAll(scale);
    EXPECT_EQ(sel.SelStart, origin + 1);   // FirstFramePos
    EXPECT_EQ(sel.SelEnd, origin + 1000);  // AudioEndPos
    EXPECT_EQ(sel.SelLength, 1000);
    sel.SelStart = origin / 2;  // inside the tag
    sel.UpdateMs(scale);
    EXPECT_EQ(sel.SelStartMs, 0);
    EXPECT_EQ(sel.SelEndMs, 2000);
}
INSTANTIATE_TEST_SUITE_P(, TaggedScale, ::testing::Values(0, 2047, 116000));

}  // namespace
}  // namespace kalvor
