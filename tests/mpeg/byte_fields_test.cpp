#include "mpeg/byte_fields.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>

namespace kalvor {
namespace {

using Four = std::array<std::uint8_t, 4>;

TEST(ByteFields, NumbersInEachByteOrder) {
    const Four b{0x12, 0x34, 0x56, 0x78};
    EXPECT_EQ(BigEndian32(b.data()), 0x12345678u);
    EXPECT_EQ(BigEndian16(b.data()), 0x1234u);
    EXPECT_EQ(LittleEndian32(b.data()), 0x78563412u);
    EXPECT_EQ(LittleEndian16(b.data()), 0x3412u);
    Four put{};
    PutBigEndian32(put.data(), 0xFEDCBA98u);
    EXPECT_EQ(put, (Four{0xFE, 0xDC, 0xBA, 0x98}));
    PutBigEndian16(put.data(), 0x0102);
    EXPECT_EQ(put, (Four{0x01, 0x02, 0xBA, 0x98}));
}

TEST(ByteFields, SynchsafeSizesUseSevenBitsOfEachByte) {
    EXPECT_EQ(SynchsafeSize(Four{0x00, 0x00, 0x02, 0x01}.data()), 257);
    EXPECT_EQ(SynchsafeSize(Four{0x7F, 0x7F, 0x7F, 0x7F}.data()), (1 << 28) - 1);
    EXPECT_EQ(SynchsafeSize(Four{0x80, 0x80, 0x80, 0x81}.data()), 1);  // the top bits are not part of the size
}

TEST(ByteFields, TagIds) {
    const auto bytes = [](const char* text) { return reinterpret_cast<const std::uint8_t*>(text); };
    EXPECT_TRUE(IsId3v1Tag(bytes("TAG+")));
    EXPECT_FALSE(IsId3v1Tag(bytes("TAg")));
    EXPECT_TRUE(IsId3v2Tag(bytes("ID3\x04")));
    EXPECT_FALSE(IsId3v2Tag(bytes("ID2")));
    EXPECT_TRUE(IsXingTag(bytes("Xing")));
    EXPECT_TRUE(IsXingTag(bytes("Info")));
    EXPECT_FALSE(IsXingTag(bytes("VBRI")));
    EXPECT_FALSE(IsXingTag(bytes("Xinf")));
}

}  // namespace
}  // namespace kalvor
