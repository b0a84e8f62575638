#include "mpeg/crc16.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

namespace kalvor {
namespace {

TEST(Crc16, StandardCheckValue) {
    const char* text = "123456789";
    EXPECT_EQ(Crc16(reinterpret_cast<const std::uint8_t*>(text), std::strlen(text)), 0xBB3D);
    EXPECT_EQ(Crc16Bytewise(reinterpret_cast<const std::uint8_t*>(text), std::strlen(text)), 0xBB3D);
    EXPECT_EQ(Crc16(nullptr, 0, 0x1234), 0x1234);
}

// The fast paths (slices of eight, folding when the processor has it) must
// agree with the byte-wise table for every length, alignment and start value,
// including the lengths around where folding takes over.
TEST(Crc16, FastPathsMatchTheByteWiseTable) {
    std::mt19937 random(7);
    std::vector<std::uint8_t> data(9000);
    for (auto& b : data) b = static_cast<std::uint8_t>(random());
    for (std::size_t length : {0, 1, 7, 8, 9, 15, 16, 17, 127, 128, 255, 256, 257, 383, 384, 1000, 4099, 8191}) {
        for (std::size_t skew : {0, 1, 3}) {
            for (std::uint16_t start : {0x0000, 0xFFFF, 0x8005}) {
                const std::uint8_t* p = data.data() + skew;
                ASSERT_EQ(Crc16(p, length, start), Crc16Bytewise(p, length, start))
                    << "length " << length << " skew " << skew << " start " << start;
            }
        }
    }
}

TEST(Crc16, RunsCanBeFedInPieces) {
    std::vector<std::uint8_t> data(5000);
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * 31 + 7);
    const std::uint16_t whole = Crc16(data.data(), data.size());
    for (std::size_t split : {1, 300, 2500, 4999}) {
        const std::uint16_t head = Crc16(data.data(), split);
        EXPECT_EQ(Crc16(data.data() + split, data.size() - split, head), whole) << split;
    }
}

}  // namespace
}  // namespace kalvor
