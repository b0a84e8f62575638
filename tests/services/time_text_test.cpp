#include "services/time_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace kalvor {
namespace {

constexpr std::int32_t kMin32 = -2147483647 - 1;

struct FormatCase {
    std::int32_t ms;
    int mode;
    bool allowNegative;
    std::string expected;
    friend void PrintTo(const FormatCase& c, std::ostream* os) { *os << c.ms << " mode " << c.mode; }
};

class MsToTimeTextTable : public testing::TestWithParam<FormatCase> {};

TEST_P(MsToTimeTextTable, WritesTheLayoutOfTheMode) {
    const FormatCase& c = GetParam();
    EXPECT_EQ(MsToTimeText(c.ms, c.mode, c.allowNegative), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    EveryModeOfOneHourTwoMinutes, MsToTimeTextTable,
    testing::Values(FormatCase{3723456, 0, false, "062'03.456"},
                    FormatCase{3723456, 1, false, "62'03.4"},  // cut, not rounded
                    FormatCase{3723456, 2, false, "01:02:03"}, FormatCase{3723456, 3, false, "1:02:03.4"},
                    FormatCase{3723456, 4, false, "62:03"}, FormatCase{3723456, 5, false, "3723.456"},
                    FormatCase{3723456, 6, false, "3723.45"}, FormatCase{3723456, 7, false, "62:03.456"},
                    FormatCase{3723456, 8, false, "01:02:03.4"}, FormatCase{3723456, 9, false, "01:02:03.45"},
                    FormatCase{3723456, 10, false, "01:02:03.456"}, FormatCase{3723456, 11, false, "01時02分03秒"},
                    FormatCase{3723456, 12, false, "010203"}, FormatCase{3723456, 13, false, ""},
                    FormatCase{3723456, -1, true, ""}));

INSTANTIATE_TEST_SUITE_P(
    WidthsSignsAndLimits, MsToTimeTextTable,
    testing::Values(FormatCase{0, 0, false, "000'00.000"}, FormatCase{61234, 0, false, "001'01.234"},
                    FormatCase{59999, 0, false, "000'59.999"}, FormatCase{3600000, 0, false, "060'00.000"},
                    FormatCase{60000000, 0, false, "1000'00.000"}, FormatCase{-1500, 0, false, "000'00.000"},
                    FormatCase{-1500, 0, true, "-000'01.500"}, FormatCase{-1500, 12, true, "-000001"},
                    FormatCase{kMin32, 0, true, "-35791'23.648"}, FormatCase{2147483647, 10, false, "596:31:23.647"},
                    FormatCase{0, 3, false, "0:00:00.0"}, FormatCase{5, 6, false, "000.00"},
                    FormatCase{99999, 1, false, "01'39.9"}));

class MsToTimeTextRoundTrip : public testing::TestWithParam<std::int32_t> {};

TEST_P(MsToTimeTextRoundTrip, ModeZeroReadsBackExactly) {
    std::int32_t ok = 0;
    EXPECT_EQ(TimeTextToMs(MsToTimeText(GetParam()), false, &ok), GetParam());
    EXPECT_EQ(ok, 1);
}

INSTANTIATE_TEST_SUITE_P(Counts, MsToTimeTextRoundTrip,
                         testing::Values(0, 1, 10, 999, 59999, 61234, 3723456, 60000000, 2147483647));

struct ParseCase {
    std::string text;
    std::int32_t expected;
    friend void PrintTo(const ParseCase& c, std::ostream* os) { *os << c.text; }
};

class TimeTextReads : public testing::TestWithParam<ParseCase> {};

TEST_P(TimeTextReads, GivesTheCountAndSetsTheFlag) {
    for (bool failAsMinusOne : {false, true}) {
        std::int32_t ok = 7;
        EXPECT_EQ(TimeTextToMs(GetParam().text, failAsMinusOne, &ok), GetParam().expected);
        EXPECT_EQ(ok, 1);
    }
}

INSTANTIATE_TEST_SUITE_P(
    GroupedText, TimeTextReads,
    testing::Values(ParseCase{"001'01.234", 61234}, ParseCase{"1:02:03.5", 3723500}, ParseCase{"12:34", 45240000},
                    ParseCase{"12:34.5", 754500}, ParseCase{"12:34:56", 45296000}, ParseCase{"12'34", 754000},
                    ParseCase{"-1'30", -90000}, ParseCase{"1'2'3", 62300}, ParseCase{"1'2.34", 62340},
                    ParseCase{"1'2.3456", 65456}, ParseCase{"1\"30", 90000}, ParseCase{"1'2.", 62000},
                    ParseCase{"1:2:3:4.7", 3723400}, ParseCase{"1'2.3.4", 3723400}, ParseCase{"0'0", 0},
                    ParseCase{"-35791'23.648", kMin32}, ParseCase{"35791'23.647", 2147483647},
                    ParseCase{"00000000000000000001'00", 60000}));

INSTANTIATE_TEST_SUITE_P(PlainSeconds, TimeTextReads,
                         testing::Values(ParseCase{"90", 90000}, ParseCase{"1.5", 1500},
                                         ParseCase{"100000.123", 100000125},  // through single precision
                                         ParseCase{"-1.5", -1500}, ParseCase{"+2", 2000}, ParseCase{".5", 500},
                                         ParseCase{"12.", 12000}, ParseCase{"5", 5000}, ParseCase{"-0", 0},
                                         ParseCase{"0.0000000000000000000000000000000000000000000000001", 0}));

class TimeTextFails : public testing::TestWithParam<std::string> {};

TEST_P(TimeTextFails, GivesTheFailureValueAndLeavesTheFlag) {
    std::int32_t ok = 7;
    EXPECT_EQ(TimeTextToMs(GetParam(), false, &ok), 0);
    EXPECT_EQ(TimeTextToMs(GetParam(), true, &ok), -1);
    EXPECT_EQ(ok, 7);
}

INSTANTIATE_TEST_SUITE_P(Malformed, TimeTextFails,
                         testing::Values("1::2", "'x", "12:", "1'a", "--1'2", "+1'2", "1'2 ", " 90", ".'", "1:.", "1e3",
                                         "1,5", "1'2'", "1:2:3:"));

INSTANTIATE_TEST_SUITE_P(OutsideThirtyTwoBits, TimeTextFails,
                         testing::Values("99999999999'00", "2147483648'00", "1'00.99999999999", "35791'23.648",
                                         "-35791'23.649", "99999999:00:00", "2147484", "-2147484",
                                         "1000000000000000000000000000000000000000000000000"));

TEST(TimeTextToMs, TextOfOneCharacterIsZeroWhateverTheFailureValue) {
    for (const std::string text : {"", "x", "'", "時"}) {
        std::int32_t ok = 7;
        EXPECT_EQ(TimeTextToMs(text, true, &ok), 0) << text;
        EXPECT_EQ(ok, 7) << text;
    }
}

TEST(TimeTextToMs, IgnoresGroupsAfterTheFractionEvenWhenHuge) {
    EXPECT_EQ(TimeTextToMs("1:2:3.4.99999999999999"), 3723400);
}

struct NumericCase {
    std::string text;
    bool numeric;
    friend void PrintTo(const NumericCase& c, std::ostream* os) { *os << "[" << c.text << "]"; }
};

class NumericTest : public testing::TestWithParam<NumericCase> {};

TEST_P(NumericTest, AcceptsSignDigitsAndOnePoint) {
    EXPECT_EQ(IsNumericText(GetParam().text), GetParam().numeric);
}

INSTANTIATE_TEST_SUITE_P(Texts, NumericTest,
                         testing::Values(NumericCase{"90", true}, NumericCase{"-1.5", true}, NumericCase{"+.5", true},
                                         NumericCase{"12.", true}, NumericCase{"", false}, NumericCase{".", false},
                                         NumericCase{"-", false}, NumericCase{"1.2.3", false}, NumericCase{" 9", false},
                                         NumericCase{"1e3", false}, NumericCase{"1-", false}));

}  // namespace
}  // namespace kalvor
