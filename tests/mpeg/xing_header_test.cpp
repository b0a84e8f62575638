#include "mpeg/xing_header.h"

#include <gtest/gtest.h>

#include <vector>

#include "mpeg/crc16.h"
#include "mpeg/frame_header.h"
#include "support/frame_builder.h"
#include "support/frame_cut.h"
#include "support/param_names.h"
#include "support/test_support.h"

namespace kalvor {
namespace {

using test::Bytes;

struct EncoderCase {
    const char* file;
    std::size_t offset;  // of "Xing"/"Info" in the first frame
    bool info;
};

class EncoderHeaders : public testing::TestWithParam<EncoderCase> {
   protected:
    void SetUp() override {
        bytes = test::ReadFile(test::TestAudio(GetParam().file));
        offsets = test::FrameOffsets(bytes);
        frameLength = offsets[1];
    }
    Bytes bytes;
    std::vector<std::size_t> offsets;
    std::size_t frameLength = 0;
};

TEST_P(EncoderHeaders, ReadsWhatTheEncoderWrote) {
    const auto x = ParseXingHeader(bytes.data(), frameLength);
    ASSERT_TRUE(x);
    EXPECT_EQ(x->Offset, GetParam().offset);
    EXPECT_EQ(x->IsInfo, GetParam().info);
    EXPECT_EQ(x->Flags, 0x0Fu);
    EXPECT_EQ(x->Frames, offsets.size() - 2);  // the frames after the header frame
    EXPECT_EQ(x->Bytes, bytes.size());
    ASSERT_TRUE(x->Lame);
    EXPECT_EQ(x->Lame->Offset, GetParam().offset + 120);
    EXPECT_EQ(x->Lame->EncoderDelay, 576);
    EXPECT_GT(x->Lame->EndPadding, 0);
    EXPECT_EQ(x->Lame->MusicLength, bytes.size());
    EXPECT_EQ(x->Lame->MusicCrc, Crc16(bytes.data() + frameLength, bytes.size() - frameLength));
}

TEST_P(EncoderHeaders, TableOfContentsIsRebuiltExactly) {
    const auto x = ParseXingHeader(bytes.data(), frameLength);
    ASSERT_TRUE(x);
    XingTocBuilder toc;
    for (std::size_t i = 1; i + 1 < offsets.size(); ++i) {
        const std::uint8_t* h = bytes.data() + offsets[i];
        toc.AddFrame(BitRateOf(h[1], h[2]));
    }
    EXPECT_EQ(toc.Toc(), x->Toc);
}

TEST_P(EncoderHeaders, StoringUnchangedFieldsGivesTheSameBytes) {
    auto x = ParseXingHeader(bytes.data(), frameLength);
    ASSERT_TRUE(x);
    Bytes frame(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(frameLength));
    std::fill(frame.begin() + static_cast<std::ptrdiff_t>(x->Lame->Offset + kLameTagCrcOffset),
              frame.begin() + static_cast<std::ptrdiff_t>(x->Lame->Offset + kLameTagCrcOffset + 2), 0);
    StoreXingHeader(*x, frame.data(), frame.size());  // the tag CRC is computed afresh
    EXPECT_EQ(frame, Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(frameLength)));
}

INSTANTIATE_TEST_SUITE_P(Files, EncoderHeaders,
                         testing::Values(EncoderCase{"vbr.mp3", 36, false}, EncoderCase{"cbr128.mp3", 36, true},
                                         EncoderCase{"lsf_vbr.mp3", 21, false}, EncoderCase{"mono_vbr.mp3", 21, false}),
                         [](const auto& info) { return test::TestNameOfFile(info.param.file); });

// A byte-built header frame: MPEG-1 Layer III stereo, 128 kbit/s (417 bytes).
Bytes HeaderFrame(const char* name, std::uint32_t flags) {
    Bytes f = test::Frame(0xFB, 0x90, 0x64, 417, 0x00);
    std::copy(name, name + 4, f.begin() + 36);
    f[43] = static_cast<std::uint8_t>(flags);
    return f;
}

TEST(XingHeader, OnlyFlaggedFieldsAreRead) {
    Bytes f = HeaderFrame("Xing", kXingBytesFlag | kXingQualityFlag);
    f[47] = 0x10;  // bytes = 16
    f[51] = 0x55;  // quality
    const auto x = ParseXingHeader(f.data(), f.size());
    ASSERT_TRUE(x);
    EXPECT_FALSE(x->Has(kXingFramesFlag));
    EXPECT_EQ(x->Bytes, 16u);
    EXPECT_EQ(x->Quality, 0x55u);
    EXPECT_FALSE(x->Lame);  // all zeros: its CRC field does not match

    auto changed = *x;
    changed.Bytes = 0x01020304;
    changed.Frames = 99;  // not flagged: must not be written
    Bytes out = f;
    StoreXingHeader(changed, out.data(), out.size());
    EXPECT_EQ(Bytes(out.begin() + 44, out.begin() + 52), (Bytes{1, 2, 3, 4, 0, 0, 0, 0x55}));
    std::copy(f.begin() + 44, f.begin() + 48, out.begin() + 44);
    EXPECT_EQ(out, f);  // nothing else was written
}

TEST(XingHeader, NothingOutsideTheFrameOrTheLayerIsTaken) {
    const Bytes f = HeaderFrame("Info", 0x0F);
    EXPECT_TRUE(ParseXingHeader(f.data(), f.size()));
    EXPECT_FALSE(ParseXingHeader(f.data(), 36 + 8 + 4 + 4 + 100 + 3));  // the quality field is cut off
    EXPECT_FALSE(ParseXingHeader(f.data(), 3));
    const Bytes other = HeaderFrame("Xinf", 0x0F);
    EXPECT_FALSE(ParseXingHeader(other.data(), other.size()));
    Bytes layer2 = f;
    layer2[1] = 0xFD;
    EXPECT_FALSE(ParseXingHeader(layer2.data(), layer2.size()));
    Bytes mono = f;  // a mono frame has its header at 21, not 36
    mono[3] = 0xC4;
    EXPECT_FALSE(ParseXingHeader(mono.data(), mono.size()));
}

TEST(XingHeader, LameExtensionNeedsItsCrcAndItsRoom) {
    const Bytes lame = test::ReadFile(test::TestAudio("vbr.mp3"));
    Bytes f(lame.begin(), lame.begin() + 417);
    ASSERT_TRUE(ParseXingHeader(f.data(), f.size())->Lame);
    EXPECT_FALSE(ParseXingHeader(f.data(), 156 + 35)->Lame);  // tag CRC cut off
    f[160] ^= 1;                                              // a changed byte breaks the tag CRC
    EXPECT_FALSE(ParseXingHeader(f.data(), f.size())->Lame);
    // No encoder name: zeros whose CRC happens to match are no extension.
    std::fill(f.begin() + 156, f.begin() + 156 + 36, 0);
    const std::uint16_t crc = Crc16(f.data(), 156 + 34);
    f[156 + 34] = static_cast<std::uint8_t>(crc >> 8);
    f[156 + 35] = static_cast<std::uint8_t>(crc);
    EXPECT_FALSE(ParseXingHeader(f.data(), f.size())->Lame);
}

TEST(XingHeader, DelayAndPaddingAreTwelveBitsEach) {
    const Bytes lame = test::ReadFile(test::TestAudio("vbr.mp3"));
    Bytes f(lame.begin(), lame.begin() + 417);
    auto x = ParseXingHeader(f.data(), f.size());
    ASSERT_TRUE(x && x->Lame);
    x->Lame->EncoderDelay = 0xABC;
    x->Lame->EndPadding = 0x123;
    StoreXingHeader(*x, f.data(), f.size());
    EXPECT_EQ(Bytes(f.begin() + 156 + 21, f.begin() + 156 + 24), (Bytes{0xAB, 0xC1, 0x23}));
    const auto back = ParseXingHeader(f.data(), f.size());
    ASSERT_TRUE(back && back->Lame);  // so the tag CRC was brought up to date
    EXPECT_EQ(back->Lame->EncoderDelay, 0xABC);
    EXPECT_EQ(back->Lame->EndPadding, 0x123);
}

TEST(XingToc, EmptyAndSteadyStreams) {
    EXPECT_EQ(XingTocBuilder().Toc(), XingToc{});
    XingTocBuilder steady;
    for (int i = 0; i < 1000; ++i) steady.AddFrame(128);
    const XingToc toc = steady.Toc();
    EXPECT_EQ(toc[0], 0);
    // 1000 frames leave the bag sampled every 4th frame, 250 entries, each the sum
    // after its frame: entry 125 of 250 stands for 504 frames, 256 x 504 / 1000.
    EXPECT_EQ(toc[50], 129);
    EXPECT_EQ(toc[99], 253);  // entry 247: 992 frames
    for (std::size_t i = 1; i < toc.size(); ++i) EXPECT_GE(toc[i], toc[i - 1]);
}

}  // namespace
}  // namespace kalvor
