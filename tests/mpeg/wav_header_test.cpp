// WAVE header reading over byte-built RIFF files.
#include <gtest/gtest.h>

#include <string>

#include "mpeg/WaveMMIO.h"
#include "services/fault_trap.h"
#include "support/frame_builder.h"
#include "support/test_support.h"
#include "support/wav_builder.h"

namespace kalvor {
namespace {

using test::Bytes;
using test::DataChunkHead;
using test::FmtChunk;
using test::RiffHeader;
using test::operator+;

Bytes U32(std::uint32_t v) {
    return test::LittleU32(v);
}
Bytes Id(const char* four) {
    return test::ChunkId(four);
}

class WavHeader : public ::testing::Test {
   protected:
    std::string Write(const Bytes& bytes, const std::string& name = "x.wav") {
        const std::string path = dir_.file(name);
        test::WriteFile(path, bytes);
        return path;
    }
    test::TempDir dir_;
};

TEST_F(WavHeader, CanonicalPcmFile) {
    const WavInfo info = ReadWavHeader(Write(RiffHeader() + FmtChunk(1, 2, 44100, 16) + DataChunkHead(1764000)));
    EXPECT_EQ(info.Ok, 1);
    EXPECT_EQ(info.SampleRate, 44100);
    EXPECT_EQ(info.BitsPerSample, 16);
    EXPECT_EQ(info.Channels, 2);
    EXPECT_EQ(info.DurationMs, 10000);
    EXPECT_EQ(info.FormatTag, 1);
}

TEST_F(WavHeader, MpegInWaveStopsAtTheFormatChunkWithItsTag) {
    const std::string path = Write(RiffHeader() + FmtChunk(0x55, 2, 44100, 0) + DataChunkHead(1000));
    const WavInfo info = ReadWavHeader(path);
    EXPECT_EQ(info.Ok, 0);
    EXPECT_EQ(info.FormatTag, 85);
    EXPECT_EQ(info.Channels, 2);
    EXPECT_EQ(WavContainerType(path), "mp3");
}

TEST_F(WavHeader, ExtensibleFormatIsReadButContainerTypeIsTheExtension) {
    const std::string path = Write(RiffHeader() + FmtChunk(0xFFFE, 2, 48000, 24) + DataChunkHead(288000), "multi.WAVE");
    const WavInfo info = ReadWavHeader(path);
    EXPECT_EQ(info.FormatTag, -2);
    EXPECT_EQ(info.Ok, 1);
    EXPECT_EQ(info.DurationMs, 1000);
    EXPECT_EQ(WavContainerType(path), "wave");
}

TEST_F(WavHeader, OddSizedChunkIsSkippedWithItsPadByte) {
    // LIST of size 25 at offset 36 takes 8 + 25 + 1 = 34 bytes; "data" follows at 70.
    const Bytes list = Id("LIST") + U32(25) + Bytes(25, 'x') + Bytes{0};
    const WavInfo info = ReadWavHeader(Write(RiffHeader() + FmtChunk(1, 1, 8000, 8) + list + DataChunkHead(8000)));
    EXPECT_EQ(info.Ok, 1);
    EXPECT_EQ(info.DurationMs, 1000);
}

TEST_F(WavHeader, DataBeforeFormatIsFoundToo) {
    const WavInfo info = ReadWavHeader(Write(RiffHeader() + DataChunkHead(4) + Bytes(4, 0) + FmtChunk(1, 1, 8000, 8)));
    EXPECT_EQ(info.Ok, 1);
    EXPECT_EQ(info.DurationMs, 0);  // 0.5 ms rounds to the even 0
}

TEST_F(WavHeader, DurationRoundsHalvesToEven) {
    // 12 one-byte frames at 8000 Hz last 1.5 ms.
    EXPECT_EQ(ReadWavHeader(Write(RiffHeader() + FmtChunk(1, 1, 8000, 8) + DataChunkHead(12))).DurationMs, 2);
}

TEST_F(WavHeader, SampleFramesAndDurationAreCappedAt32BitRange) {
    WavInfo info = ReadWavHeader(Write(RiffHeader() + FmtChunk(1, 1, 44100, 8) + DataChunkHead(0xFFFFFFFF)));
    EXPECT_EQ(info.Ok, 1);
    EXPECT_EQ(info.DurationMs, 48695774);  // (2^31 - 1) / 44100 s
    // 771 866 644 frames at 68 Hz would be 11 351 million ms.
    info = ReadWavHeader(Write(RiffHeader() + FmtChunk(1, 2, 68, 16) + DataChunkHead(0xB8070050)));
    EXPECT_EQ(info.Ok, 1);
    EXPECT_EQ(info.DurationMs, 2147483647);
}

struct Shape {
    std::uint16_t channels, bits;
    int ok;
};
class WavShapes : public WavHeader, public ::testing::WithParamInterface<Shape> {};

TEST_P(WavShapes, OnlyKnownChannelAndSampleSizesAreAccepted) {
    const Shape s = GetParam();
    const WavInfo info =
        ReadWavHeader(Write(RiffHeader() + FmtChunk(1, s.channels, 48000, s.bits) + DataChunkHead(48000 * 48)));
    EXPECT_EQ(info.Ok, s.ok);
    EXPECT_EQ(info.Channels, s.channels);  // filled even when refused
    EXPECT_EQ(info.BitsPerSample, s.bits);
    EXPECT_EQ(info.FormatTag, 1);
}
INSTANTIATE_TEST_SUITE_P(, WavShapes,
                         ::testing::Values(Shape{1, 8, 1}, Shape{2, 24, 1}, Shape{6, 16, 1}, Shape{8, 24, 1},
                                           Shape{4, 16, 0}, Shape{6, 8, 0}, Shape{2, 32, 0}, Shape{1, 12, 0},
                                           Shape{3, 16, 0}, Shape{0, 16, 0}),
                         [](const auto& info) {
                             return std::to_string(info.param.channels) + "ch" + std::to_string(info.param.bits) +
                                    "bit";
                         });

TEST_F(WavHeader, TruncatedOrBrokenFilesGiveOkZeroAndKeepWhatWasRead) {
    const Bytes fmt = RiffHeader() + FmtChunk(1, 2, 44100, 16);
    // "data" without its size.
    WavInfo info = ReadWavHeader(Write(fmt + Id("data")));
    EXPECT_EQ(info.Ok, 0);
    EXPECT_EQ(info.SampleRate, 44100);
    // A format chunk cut inside its 16 bytes.
    info = ReadWavHeader(Write(Bytes(fmt.begin(), fmt.end() - 3)));
    EXPECT_EQ(info.Ok, 0);
    EXPECT_EQ(info.FormatTag, 0);
    // A chunk whose size points far beyond the end ends the walk.
    info = ReadWavHeader(Write(RiffHeader() + Id("junk") + U32(0xFFFFFFFF) + FmtChunk(1, 2, 44100, 16)));
    EXPECT_EQ(info.Ok, 0);
    EXPECT_EQ(info.FormatTag, 0);
    // Too short for any chunk, empty, missing.
    EXPECT_EQ(ReadWavHeader(Write(Id("RIFF"))).Ok, 0);
    EXPECT_EQ(ReadWavHeader(Write({})).Ok, 0);
    info = ReadWavHeader(dir_.file("missing.wav"));
    EXPECT_EQ(info.Ok + info.SampleRate + info.Channels + info.BitsPerSample + info.FormatTag, 0);
}

TEST_F(WavHeader, ZeroOrHugeSampleRateIsATrappedFault) {
    for (const std::uint32_t rate : {0u, 0xCB000000u}) {
        const std::string path = Write(RiffHeader() + FmtChunk(1, 2, rate, 16) + DataChunkHead(1000));
        const WavInfo info = ReadWavHeader(path);
        EXPECT_EQ(info.Ok, 0) << rate;
        EXPECT_EQ(info.Channels, 2);
        SetNoErrorTrap(true);
        EXPECT_ANY_THROW(ReadWavHeader(path));
        SetNoErrorTrap(false);
    }
}

struct Container {
    std::uint16_t tag;
    const char* name;
    const char* type;
};
class WavContainers : public WavHeader, public ::testing::WithParamInterface<Container> {};

TEST_P(WavContainers, TypeFollowsTheFormatTag) {
    const Container c = GetParam();
    const std::string path = Write(RiffHeader() + FmtChunk(c.tag, 2, 44100, 16) + DataChunkHead(4), c.name);
    EXPECT_EQ(WavContainerType(path), c.type);
}
INSTANTIATE_TEST_SUITE_P(, WavContainers,
                         ::testing::Values(Container{1, "a.wav", "wav"}, Container{0x50, "a.wav", "mp2"},
                                           Container{0x55, "a.wav", "mp3"}, Container{0x160, "a.wma", "wmariff"},
                                           Container{0x161, "a.asf", "wmariff"}, Container{0x11, "a.Wav", "wav"},
                                           Container{0x11, "noext", ""}),
                         [](const auto& info) {
                             return "tag" + std::to_string(info.param.tag) + "_" + std::to_string(info.index);
                         });

TEST_F(WavHeader, MpegFileIsNamedByItsExtension) {
    const Bytes frames = test::Frames(0xFB, 0x90, 0x64, 10);  // MPEG-1 Layer III, 128 kbit/s, 44.1 kHz
    EXPECT_EQ(WavContainerType(Write(frames, "song.MP3")), "mp3");
    EXPECT_EQ(ReadWavHeader(Write(frames, "song.mp3")).FormatTag, 0);
    EXPECT_EQ(WavContainerType(test::TestAudio("cbr128.mp3")), "mp3");
    EXPECT_EQ(WavContainerType(test::TestAudio("tone.wav")), "wav");
}

TEST(WavHeaderEncoded, ToneFromTheEncoderSet) {
    const WavInfo info = ReadWavHeader(test::TestAudio("tone.wav"));
    EXPECT_EQ(info.Ok, 1);
    EXPECT_EQ(info.SampleRate, 44100);
    EXPECT_EQ(info.Channels, 2);
    EXPECT_EQ(info.BitsPerSample, 16);
    EXPECT_EQ(info.DurationMs, 5000);
}

}  // namespace
}  // namespace kalvor
