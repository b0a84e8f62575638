// The list's rules in both modes: numbering, the split order and lengths, delete, move.
#include <gtest/gtest.h>

#include "listwin/list_rows.h"
#include "listwin/time_text_pos.h"

namespace kalvor {
namespace {

constexpr std::int32_t kThreeMinutes = 180000;

std::vector<std::string> Column(const ListRows& rows, int column) {
    std::vector<std::string> cells;
    for (int i = 0; i < rows.Count(); ++i) cells.push_back(rows.Cell(i, column));
    return cells;
}

TEST(ListRows, ColumnTitlesFollowTheMode) {
    EXPECT_EQ(ListRows::ColumnTitle(ListMode::Build, 0), "No");
    EXPECT_EQ(ListRows::ColumnTitle(ListMode::Build, 1), "From");
    EXPECT_EQ(ListRows::ColumnTitle(ListMode::Build, 2), "To");
    EXPECT_EQ(ListRows::ColumnTitle(ListMode::Split, 0), "No");
    EXPECT_EQ(ListRows::ColumnTitle(ListMode::Split, 1), "Loc");
    EXPECT_EQ(ListRows::ColumnTitle(ListMode::Split, 2), "Length");
    EXPECT_EQ(ListRows::ColumnTitle(ListMode::Split, 3), "");
}

TEST(ListRows, SplitPointsSortIntoTimeOrderAndMeasureTheirPieces) {
    ListRows rows(ListMode::Split);
    rows.Add(120000, 150000, kThreeMinutes);
    rows.Add(60000, 60000, kThreeMinutes);
    EXPECT_EQ(Column(rows, kLocColumn), (std::vector<std::string>{"001'00.000", "002'00.000"}));
    EXPECT_EQ(Column(rows, kNoColumn), (std::vector<std::string>{"02", "03"}));
    EXPECT_EQ(Column(rows, kLengthColumn), (std::vector<std::string>{"001'00.000", "001'00.000"}));

    const auto marks = rows.SplitMarks();
    ASSERT_EQ(marks.size(), 2u);
    EXPECT_EQ(marks[0].LocMs, 60000);
    EXPECT_EQ(marks[0].Number, "02");
    EXPECT_EQ(marks[1].LocMs, 120000);
    EXPECT_EQ(marks[1].Number, "03");
}

TEST(ListRows, LastPieceRunsToTheDocumentsEnd) {
    ListRows rows(ListMode::Split);
    rows.Add(61234, 0, 62500);
    EXPECT_EQ(rows.Cell(0, kLengthColumn), "000'01.266");
    rows.Add(62000, 0, 62500);
    EXPECT_EQ(Column(rows, kLengthColumn), (std::vector<std::string>{"000'00.766", "000'00.500"}));
}

TEST(ListRows, SplitOrderIsTimeOrderBeyondThreeDigitMinutes) {
    ListRows rows(ListMode::Split);
    const std::int32_t longDocument = 70000000;  // 1166 minutes
    rows.Add(60000000, 0, longDocument);         // 1000'00.000
    rows.Add(59940000, 0, longDocument);         // 999'00.000
    EXPECT_EQ(Column(rows, kLocColumn), (std::vector<std::string>{"999'00.000", "1000'00.000"}));
    EXPECT_EQ(rows.Cell(0, kLengthColumn), "001'00.000");
}

TEST(ListRows, BuildRowsTakeTheWholeSelection) {
    ListRows rows(ListMode::Build);
    rows.Add(10000, 20000, kThreeMinutes);
    rows.Add(5000, 8000, kThreeMinutes);
    EXPECT_EQ(Column(rows, kNoColumn), (std::vector<std::string>{"01", "02"}));
    EXPECT_EQ(Column(rows, kFromColumn), (std::vector<std::string>{"000'10.000", "000'05.000"}));
    EXPECT_EQ(Column(rows, kToColumn), (std::vector<std::string>{"000'20.000", "000'08.000"}));
    EXPECT_TRUE(rows.SplitMarks().empty());
}

TEST(ListRows, NegativeSelectionTimesBecomeZero) {
    ListRows rows(ListMode::Build);
    rows.Add(-5, -1, kThreeMinutes);
    EXPECT_EQ(rows.Cell(0, kFromColumn), "000'00.000");
    EXPECT_EQ(rows.Cell(0, kToColumn), "000'00.000");
}

TEST(ListRows, NumbersTravelWithMovedRowsUntilTheNextAdd) {
    ListRows rows(ListMode::Build);
    rows.Add(0, 1000, kThreeMinutes);
    rows.Add(2000, 3000, kThreeMinutes);
    rows.Add(4000, 5000, kThreeMinutes);
    rows.Select(1);
    EXPECT_TRUE(rows.MoveSelected(true));
    EXPECT_EQ(Column(rows, kNoColumn), (std::vector<std::string>{"02", "01", "03"}));
    EXPECT_EQ(rows.Cell(0, kFromColumn), "000'02.000");
    EXPECT_EQ(rows.SelectedRow(), 0);
    EXPECT_FALSE(rows.MoveSelected(true));  // no row above
    EXPECT_TRUE(rows.MoveSelected(false));
    EXPECT_TRUE(rows.MoveSelected(false));
    EXPECT_EQ(rows.SelectedRow(), 2);
    EXPECT_FALSE(rows.MoveSelected(false));  // no row below
    EXPECT_EQ(Column(rows, kNoColumn), (std::vector<std::string>{"01", "03", "02"}));
    rows.ClearSelection();
    EXPECT_FALSE(rows.MoveSelected(true));
    rows.Add(6000, 7000, kThreeMinutes);
    EXPECT_EQ(Column(rows, kNoColumn), (std::vector<std::string>{"01", "02", "03", "04"}));
    EXPECT_EQ(Column(rows, kFromColumn),
              (std::vector<std::string>{"000'00.000", "000'04.000", "000'02.000", "000'06.000"}));
}

TEST(ListRows, SplitRowsDoNotMove) {
    ListRows rows(ListMode::Split);
    rows.Add(1000, 0, kThreeMinutes);
    rows.Add(2000, 0, kThreeMinutes);
    rows.Select(1);
    EXPECT_FALSE(rows.MoveSelected(true));
    EXPECT_EQ(rows.Cell(0, kLocColumn), "000'01.000");
}

TEST(ListRows, DeleteRemovesEverySelectedRowAndRenumbers) {
    ListRows rows(ListMode::Split);
    for (std::int32_t s : {30000, 60000, 90000, 120000}) rows.Add(s, 0, kThreeMinutes);
    EXPECT_FALSE(rows.DeleteSelected(kThreeMinutes));
    rows.Select(1);
    rows.Select(3);
    EXPECT_TRUE(rows.DeleteSelected(kThreeMinutes));
    EXPECT_EQ(Column(rows, kLocColumn), (std::vector<std::string>{"000'30.000", "001'30.000"}));
    EXPECT_EQ(Column(rows, kNoColumn), (std::vector<std::string>{"02", "03"}));
    EXPECT_EQ(Column(rows, kLengthColumn), (std::vector<std::string>{"001'00.000", "001'30.000"}));
    EXPECT_EQ(rows.SelectedRow(), -1);
}

TEST(ListRows, CellsOutsideTheListAreEmpty) {
    ListRows rows(ListMode::Build);
    rows.Add(0, 1000, kThreeMinutes);
    EXPECT_EQ(rows.Cell(1, 0), "");
    EXPECT_EQ(rows.Cell(0, 3), "");
    EXPECT_EQ(rows.Cell(-1, 0), "");
    rows.Select(5);
    EXPECT_EQ(rows.SelectedRow(), -1);
}

TEST(ListRows, NumbersKeepAllTheirDigits) {
    EXPECT_EQ(ListNumberText(2), "02");
    EXPECT_EQ(ListNumberText(99), "99");
    EXPECT_EQ(ListNumberText(100), "100");
}

struct PosCase {
    const char* text;
    std::int32_t durationMs, audioLength, expected;
    std::int32_t origin = 0;  // bytes before the first frame
};
class TimeTextPos : public ::testing::TestWithParam<PosCase> {};

TEST_P(TimeTextPos, ConvertsInProportionToTheAudio) {
    const PosCase c = GetParam();
    EXPECT_EQ(TimeTextToBytePos(c.text, {c.origin, c.audioLength, c.durationMs}), c.expected) << c.text;
}
INSTANTIATE_TEST_SUITE_P(, TimeTextPos,
                         ::testing::Values(PosCase{"001'02.500", 62500, 1000000, 1000000},  // the whole document
                                           PosCase{"000'00.016", 62500, 1000000, 256},
                                           PosCase{"000'00.000", 62500, 1000000, 0},
                                           PosCase{"00'02.500", 62500, 1000000, 0},    // nine characters
                                           PosCase{"0001'02.500", 62500, 1000000, 0},  // eleven
                                           PosCase{"001'02.500", 0, 1000000, 0},       // no duration
                                           PosCase{"0x1'02.500", 62500, 1000000, 0},   // not a number
                                           PosCase{"001'0a.500", 62500, 1000000, 0},
                                           PosCase{"001'02.5 0", 62500, 1000000, 0},
                                           PosCase{"001x02y500", 62500, 1000000, 1000000},  // separators are not read
                                           PosCase{"1.5'00.000", 62500, 1000000, 1440000},  // minutes may be a decimal
                                           PosCase{"000'00.001", 4, 2, 0},                  // 0.5 rounds to even
                                           PosCase{"000'00.003", 4, 2, 2},                  // 1.5 rounds to even
                                           PosCase{"000'00.016", 62500, 1000000, 118304, 118048},  // after a tag
                                           PosCase{"001'02.500", 0, 1000000, 0, 118048}),
                         [](const auto& info) { return "case" + std::to_string(info.index); });

}  // namespace
}  // namespace kalvor
