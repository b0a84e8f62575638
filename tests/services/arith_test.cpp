#include "services/arith.h"

#include <gtest/gtest.h>

namespace kalvor {

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(RoundHalfEven(0.5), 0);
    EXPECT_EQ(RoundHalfEven(1.5), 2);
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(2.5000001), 3);
    EXPECT_EQ(RoundHalfEven(1254.0), 1254);
}

TEST(RoundHalfEven, OutOfRangeWrapsLikeIntegers) {
    EXPECT_EQ(RoundHalfEven(2147483648.0), -2147483647 - 1);
    EXPECT_EQ(RoundHalfEven(4294967296.0 + 5), 5);
}

TEST(Wrap32, KeepsTheLow32Bits) {
    EXPECT_EQ(Wrap32(0x1'0000'0001LL), 1);
    EXPECT_EQ(WrapAdd(2147483647, 1), -2147483647 - 1);
    EXPECT_EQ(WrapSub(-2147483647 - 1, 1), 2147483647);
    EXPECT_EQ(WrapMul(65536, 65536), 0);
}

}  // namespace kalvor
