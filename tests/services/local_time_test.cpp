#include "services/local_time.h"

#include <gtest/gtest.h>

#include <string>

#include "support/text_shape.h"

namespace kalvor {
namespace {

struct StampCase {
    int parts;
    int style;
    std::string expected;
    friend void PrintTo(const StampCase& c, std::ostream* os) { *os << "parts " << c.parts << " style " << c.style; }
};

class DateTimeTexts : public testing::TestWithParam<StampCase> {};

TEST_P(DateTimeTexts, WritesTheAskedPartsInTheStyle) {
    std::tm local{};
    local.tm_year = 2021 - 1900;
    local.tm_mon = 2;
    local.tm_mday = 4;
    local.tm_hour = 5;
    local.tm_min = 6;
    local.tm_sec = 7;
    EXPECT_EQ(DateTimeText(local, GetParam().parts, GetParam().style), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(PartsAndStyles, DateTimeTexts,
                         testing::Values(StampCase{3, 0, "20210304050607"}, StampCase{3, 1, "2021/03/04 05:06:07"},
                                         StampCase{3, 2, "2021年03月04日 05時06分07秒"}, StampCase{1, 0, "20210304"},
                                         StampCase{1, 1, "2021/03/04"}, StampCase{2, 1, "05:06:07"},
                                         StampCase{2, 2, "05時06分07秒"}, StampCase{0, 1, ""}, StampCase{3, 3, ""},
                                         StampCase{3, -1, ""}));

TEST(LocalTime, NowTextIsTheLogStamp) {
    EXPECT_TRUE(test::HasShape(NowText(), "####/##/## ##:##:##")) << NowText();
}

TEST(LocalTime, MidnightClockCanBeReplacedAndRestored) {
    SetMidnightClock([] { return 12.5; });
    EXPECT_EQ(SecondsSinceMidnight(), 12.5);
    SetMidnightClock({});
    const double now = SecondsSinceMidnight();
    EXPECT_GE(now, 0.0);
    EXPECT_LT(now, 86401.0);  // a leap second may read 86 400.x
}

}  // namespace
}  // namespace kalvor
