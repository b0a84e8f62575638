// The Layer III side information reader, on bits laid out here field by field
// and on every frame of encoder-made files, and the frame CRC it keeps right.
#include <gtest/gtest.h>

#include <vector>

#include "mpeg/FCT_mpeg.h"
#include "repack/frame_crc.h"
#include "repack/frame_run.h"
#include "repack/side_info.h"
#include "support/param_names.h"
#include "support/test_support.h"

namespace kalvor {
namespace {

// Writes fields most significant bit first, as the side information holds them.
class BitWriter {
   public:
    explicit BitWriter(std::vector<std::uint8_t>& bytes, std::size_t at) : bytes_(bytes), bit_(at * 8) {}
    void Put(int width, int value) {
        for (int i = width - 1; i >= 0; --i, ++bit_)
            if ((value >> i) & 1) bytes_[bit_ / 8] |= static_cast<std::uint8_t>(0x80 >> (bit_ % 8));
    }
    void Skip(int width) { bit_ += static_cast<std::size_t>(width); }
    int Get(int width) {
        int value = 0;
        for (int i = 0; i < width; ++i, ++bit_) value = (value << 1) | ((bytes_[bit_ / 8] >> (7 - bit_ % 8)) & 1);
        return value;
    }

   private:
    std::vector<std::uint8_t>& bytes_;
    std::size_t bit_;
};

struct BuiltCase {
    const char* name;
    std::uint8_t b2, b3, b4;  // header bytes 2..4
    int sideInfoSize;
};

// MPEG-1 stereo and mono, MPEG-2 LSF stereo, MPEG-2.5 mono, and MPEG-1 with a CRC word.
const BuiltCase kBuilt[] = {
    {"Mpeg1Stereo", 0xFB, 0x90, 0x44, 32}, {"Mpeg1Mono", 0xFB, 0x90, 0xC4, 17}, {"Mpeg2Stereo", 0xF3, 0x80, 0x44, 17},
    {"Mpeg25Mono", 0xE3, 0x80, 0xC4, 9},   {"Mpeg1Crc", 0xFA, 0x90, 0x44, 32},
};

class BuiltSideInfo : public ::testing::TestWithParam<BuiltCase> {
   protected:
    bool Mpeg1() const { return (GetParam().b2 & 0x18) == 0x18; }
    int Channels() const { return (GetParam().b4 & 0xC0) == 0xC0 ? 1 : 2; }
    std::size_t At() const { return (GetParam().b2 & 1) ? 4 : 6; }

    // A frame whose fields hold distinct values: part2_3_length 100 + 7n,
    // big_values 200 + n, global_gain 150, scalefac_compress 9, scfsi 0b1010.
    std::vector<std::uint8_t> Frame(int mainDataBegin) const {
        std::vector<std::uint8_t> f(100, 0);
        f[0] = 0xFF, f[1] = GetParam().b2, f[2] = GetParam().b3, f[3] = GetParam().b4;
        BitWriter w(f, At());
        w.Put(Mpeg1() ? 9 : 8, mainDataBegin);
        w.Put(Mpeg1() ? (Channels() == 1 ? 5 : 3) : (Channels() == 1 ? 1 : 2), 0);
        for (int ch = 0; Mpeg1() && ch < Channels(); ++ch) w.Put(4, 0b1010);
        for (int n = 0; n < (Mpeg1() ? 2 : 1) * Channels(); ++n) {
            w.Put(12, 100 + 7 * n), w.Put(9, 200 + n), w.Put(8, 150), w.Put(Mpeg1() ? 4 : 9, 9);
            w.Skip(Mpeg1() ? 26 : 25);
        }
        return f;
    }
};

TEST_P(BuiltSideInfo, FieldsAreReadWrittenAndSilenced) {
    const int maxBack = Mpeg1() ? 511 : 255;
    std::vector<std::uint8_t> f = Frame(maxBack);
    std::optional<SideInfo> side = ReadSideInfo(f.data(), f.size());
    ASSERT_TRUE(side);
    EXPECT_EQ(side->Size, GetParam().sideInfoSize);
    EXPECT_EQ(side->AreaOffset(), static_cast<int>(At()) + GetParam().sideInfoSize);
    EXPECT_EQ(side->MainDataBegin, maxBack);
    EXPECT_EQ(MaxMainDataBegin({f[1], f[2], f[3]}), maxBack);
    int bits = 0;
    for (int n = 0; n < side->Granules * side->Channels; ++n) bits += 100 + 7 * n;
    EXPECT_EQ(side->MainDataBits(), bits);

    WriteMainDataBegin(f.data(), *side, 77);
    SilenceGranules(f.data(), *side);
    StoreFrameCrc(f.data(), *side);
    const std::optional<SideInfo> silent = ReadSideInfo(f.data(), f.size());
    ASSERT_TRUE(silent);
    EXPECT_EQ(silent->MainDataBegin, 77);
    EXPECT_EQ(silent->MainDataBits(), 0);
    // Big values, scale factors and their reuse are gone; the gain stays.
    BitWriter r(f, At());
    r.Skip((Mpeg1() ? 9 + (Channels() == 1 ? 5 : 3) : 8 + (Channels() == 1 ? 1 : 2)));
    if (Mpeg1()) {
        EXPECT_EQ(r.Get(4 * Channels()), 0);
    }
    EXPECT_EQ(r.Get(12), 0);
    EXPECT_EQ(r.Get(9), 0);
    EXPECT_EQ(r.Get(8), 150);
    EXPECT_EQ(r.Get(Mpeg1() ? 4 : 9), 0);
    if (At() == 6) {
        EXPECT_EQ((f[4] << 8) | f[5], FrameCrc(f.data(), *silent));
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, BuiltSideInfo, ::testing::ValuesIn(kBuilt),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SideInfo, OtherLayersAndShortFramesAreNotRead) {
    const std::vector<std::uint8_t> layer2 = {0xFF, 0xFD, 0x90, 0x44, 0, 0, 0, 0};
    EXPECT_FALSE(ReadSideInfo(layer2.data(), layer2.size()));
    const std::vector<std::uint8_t> cut = {0xFF, 0xFB, 0x90, 0x44, 0, 0, 0, 0, 0, 0};
    EXPECT_FALSE(ReadSideInfo(cut.data(), cut.size()));
}

// Every frame of an encoder's file, read as one run: each frame's data ends in
// its own frame and starts after the data before it, so every field the layout
// depends on was read from its place; protected frames carry the CRC computed here.
class EncodedSideInfo : public ::testing::TestWithParam<const char*> {};

TEST_P(EncodedSideInfo, EveryFrameLaysOutItsDataAsTheRulesSay) {
    const std::string path = test::TestAudio(GetParam());
    const test::Bytes bytes = test::ReadFile(path);
    StreamInfo info;
    ASSERT_EQ(AnalyzeStream(path, info), 1);
    const std::int64_t first = info.FirstFramePos - 1;
    // All frames from the first on, as far as they chain.
    const std::optional<FrameRun> run =
        FrameRun::Read(path, info.RefHeader, {first, first, static_cast<std::int64_t>(bytes.size()), 0, 100000});
    ASSERT_TRUE(run);
    ASSERT_GT(run->Frames().size(), 100u);
    EXPECT_TRUE(run->FromFileStart());
    int protectedFrames = 0;
    for (std::size_t i = 0; i < run->Frames().size(); ++i) {
        EXPECT_TRUE(run->DataWithin(i)) << i;
        EXPECT_TRUE(run->DataConsistent(i)) << i;
        const RunFrame& f = run->Frames()[i];
        if (f.Side.HeaderSize != 6) continue;
        ++protectedFrames;
        const std::uint8_t* frame = bytes.data() + f.Offset;
        EXPECT_EQ((frame[4] << 8) | frame[5], FrameCrc(frame, f.Side)) << i;
    }
    if (std::string(GetParam()) == "crc.mp3") {
        EXPECT_EQ(protectedFrames, static_cast<int>(run->Frames().size()));
    }
}

INSTANTIATE_TEST_SUITE_P(Encoders, EncodedSideInfo,
                         ::testing::Values("cbr128.mp3", "vbr.mp3", "lsf.mp3", "lsf_vbr.mp3", "mono.mp3",
                                           "mono_vbr.mp3", "ffmpeg.mp3", "crc.mp3"),
                         [](const auto& info) { return test::TestNameOfFile(info.param); });

}  // namespace
}  // namespace kalvor
