#include "mpeg/frame_walker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

#include "support/frame_builder.h"
#include "support/frame_cut.h"
#include "support/param_names.h"
#include "support/test_support.h"

namespace kalvor {
namespace {

using test::Bytes;
using test::Frames;
using test::TempDir;
using test::operator+;

struct Walked {
    bool ok = false;
    FrameWalk walk;
    std::vector<FrameSpot> frames;
    Bytes seen;  // what the byte observer was given, in order
};

Walked Walk(const std::string& path, const HeaderBytes& ref, std::int64_t start = 0) {
    Walked w;
    FrameWalkSinks sinks;
    sinks.OnFrame = [&w](const FrameSpot& f) { w.frames.push_back(f); };
    sinks.OnBytes = [&w](std::int64_t offset, const std::uint8_t* bytes, std::size_t count) {
        EXPECT_EQ(offset, w.walk.StartOffset + static_cast<std::int64_t>(w.seen.size()));
        w.seen.insert(w.seen.end(), bytes, bytes + count);
    };
    w.ok = WalkFrames(path, start, ref, w.walk, sinks);
    return w;
}

Walked WalkBytes(const Bytes& bytes, const HeaderBytes& ref) {
    TempDir dir;
    test::WriteFile(dir.file("s.mp3"), bytes);
    return Walk(dir.file("s.mp3"), ref);
}

struct LengthCase {
    const char* name;
    HeaderBytes header;
    int length;   // by the ISO formulas, worked out by hand
    int samples;  // per frame
};

class FrameLengths : public testing::TestWithParam<LengthCase> {};

TEST_P(FrameLengths, StepsByTheLengthTheHeaderGives) {
    const LengthCase& c = GetParam();
    EXPECT_EQ(FrameLengthOf(c.header), c.length);
    const Walked w = WalkBytes(Frames(c.header[0], c.header[1], c.header[2], 7), c.header);
    ASSERT_TRUE(w.ok);
    EXPECT_EQ(w.walk.FrameCount, 7);
    EXPECT_EQ(w.walk.FrameBytes, 7 * c.length);
    EXPECT_EQ(w.walk.JunkBytes, 0);
    EXPECT_EQ(w.walk.SampleCount, 7 * c.samples);
    ASSERT_EQ(w.frames.size(), 7u);
    EXPECT_EQ(w.frames[6].Offset, 6 * c.length);
}

INSTANTIATE_TEST_SUITE_P(
    Layers, FrameLengths,
    testing::Values(LengthCase{"mpeg1_layer1_448k_32k", {0xFF, 0xE8, 0x00}, 672, 384},   // (12*448000/32000)*4
                    LengthCase{"mpeg1_layer1_padded", {0xFF, 0x42, 0x00}, 140, 384},     // (12*128000/44100+1)*4
                    LengthCase{"mpeg1_layer2_192k_48k", {0xFD, 0xA4, 0x00}, 576, 1152},  // 144*192000/48000
                    LengthCase{"mpeg1_layer3_128k", {0xFB, 0x90, 0x64}, 417, 1152},      // 144*128000/44100
                    LengthCase{"mpeg1_layer3_padded", {0xFB, 0x92, 0x64}, 418, 1152},
                    LengthCase{"mpeg2_layer1_64k_22k", {0xF7, 0x40, 0x00}, 136, 384},    // (12*64000/22050)*4
                    LengthCase{"mpeg2_layer2_64k_24k", {0xF5, 0x84, 0x00}, 384, 1152},   // 144*64000/24000
                    LengthCase{"mpeg2_layer3_64k_22k", {0xF3, 0x80, 0x64}, 208, 576},    // 72*64000/22050
                    LengthCase{"mpeg2_layer3_160k_16k", {0xF3, 0xEA, 0xC0}, 721, 576}),  // 72*160000/16000+1
    [](const testing::TestParamInfo<LengthCase>& info) { return std::string(info.param.name); });

const HeaderBytes kRef{0xFB, 0x90, 0x64};  // MPEG-1 Layer III, 128 kbit/s, 44.1 kHz: 417 bytes
Bytes F128(int n) {
    return Frames(0xFB, 0x90, 0x64, n);
}
Bytes F160(int n) {
    return Frames(0xFB, 0xA0, 0x64, n);
}  // 522 bytes, likeness 40

TEST(FrameWalker, ResynchronisesPastJunk) {
    Bytes junk(37, 0x00);
    junk[5] = 0xFF;  // a lone sync-like byte pair that no frame follows
    junk[6] = 0xFB;
    const Walked w = WalkBytes(F128(3) + junk + F128(4), kRef);
    ASSERT_TRUE(w.ok);
    EXPECT_EQ(w.walk.FrameCount, 7);
    EXPECT_EQ(w.walk.JunkBytes, 37);
    EXPECT_EQ(w.walk.Resyncs, 1);
    EXPECT_EQ(w.frames[3].Offset, 3 * 417 + 37);
}

TEST(FrameWalker, AFrameBrokenOffMidStreamIsJunk) {
    const Bytes frame = F128(1);
    const Bytes broken(frame.begin(), frame.begin() + 100);
    const Walked w = WalkBytes(F128(2) + broken + F128(3), kRef);
    ASSERT_TRUE(w.ok);
    EXPECT_EQ(w.walk.FrameCount, 5);
    EXPECT_EQ(w.walk.JunkBytes, 100);
    EXPECT_EQ(w.frames[2].Offset, 2 * 417 + 100);
}

TEST(FrameWalker, AFrameRunningPastTheEndIsJunk) {
    const Bytes frame = F128(1);
    const Bytes broken(frame.begin(), frame.begin() + 300);
    const Walked w = WalkBytes(F128(4) + broken, kRef);
    ASSERT_TRUE(w.ok);
    EXPECT_EQ(w.walk.FrameCount, 4);
    EXPECT_EQ(w.walk.JunkBytes, 300);
    EXPECT_EQ(w.walk.AudioEndOffset, 4 * 417 + 300);
}

TEST(FrameWalker, ATrailingTagIsNotAudio) {
    const Walked w = WalkBytes(F128(5) + test::Id3v1Tag(), kRef);
    ASSERT_TRUE(w.ok);
    EXPECT_EQ(w.walk.FrameCount, 5);
    EXPECT_EQ(w.walk.JunkBytes, 0);
    EXPECT_EQ(w.walk.AudioEndOffset, 5 * 417);
    EXPECT_EQ(w.seen.size(), 5u * 417);
}

// After junk, a frame of another bit rate (less alike) comes before one of the
// reference's: both are real and follow each other, so neither may be skipped.
TEST(FrameWalker, LessAlikeFramesAfterJunkStillCount) {
    const Walked w = WalkBytes(F128(2) + Bytes(50, 0x11) + F160(1) + F128(2), kRef);
    ASSERT_TRUE(w.ok);
    EXPECT_EQ(w.walk.FrameCount, 5);
    EXPECT_EQ(w.walk.JunkBytes, 50);
}

// A false header in junk whose length happens to land on a real header competes
// with the real frame that starts inside it: the one more like the reference wins.
TEST(FrameWalker, OverlappingCandidatesGoToTheMoreAlike) {
    Bytes junk(200, 0x00);
    const std::size_t fake = junk.size() - 105;  // 522 - 105 = 417: lands on the second real header
    junk[fake] = 0xFF;
    junk[fake + 1] = 0xFB;
    junk[fake + 2] = 0xA0;
    junk[fake + 3] = 0x64;
    const Walked w = WalkBytes(F128(1) + junk + F128(3), kRef);
    ASSERT_TRUE(w.ok);
    EXPECT_EQ(w.walk.FrameCount, 4);
    EXPECT_EQ(w.walk.JunkBytes, 200);
    EXPECT_EQ(w.frames[1].Offset, 417 + 200);
}

TEST(FrameWalker, FramesOfAnotherStreamAreJunk) {
    // 48 kHz frames among 44.1 kHz ones would need another length formula.
    const Walked w = WalkBytes(F128(2) + Frames(0xFB, 0x94, 0x64, 2) + F128(2), kRef);
    ASSERT_TRUE(w.ok);
    EXPECT_EQ(w.walk.FrameCount, 4);
    EXPECT_EQ(w.walk.JunkBytes, 2 * 384);
}

TEST(FrameWalker, JunkAcrossReadBlocks) {
    // About 1.3 MB, so the walk reads several blocks and the junk straddles one's end.
    const Bytes head = F128(1257);  // 524169 bytes: just past the first 512 KiB block
    const Bytes bytes = head + Bytes(1000, 0x33) + F128(2000);
    const Walked w = WalkBytes(bytes, kRef);
    ASSERT_TRUE(w.ok);
    EXPECT_EQ(w.walk.FrameCount, 3257);
    EXPECT_EQ(w.walk.JunkBytes, 1000);
    EXPECT_EQ(w.seen, bytes);
}

TEST(FrameWalker, StartsWhereItIsTold) {
    const Bytes bytes = test::Id3v2Tag(300) + F128(3);
    TempDir dir;
    test::WriteFile(dir.file("s.mp3"), bytes);
    const Walked w = Walk(dir.file("s.mp3"), kRef, 300);
    ASSERT_TRUE(w.ok);
    EXPECT_EQ(w.walk.FrameCount, 3);
    EXPECT_EQ(w.frames[0].Offset, 300);
    EXPECT_EQ(w.seen.size(), 3u * 417);
}

TEST(FrameWalker, FailsOnWhatCannotBeRead) {
    TempDir dir;
    FrameWalk walk;
    EXPECT_FALSE(WalkFrames(dir.file("missing.mp3"), 0, kRef, walk));
    EXPECT_EQ(walk.Fault, WalkFault::Unreadable);
    EXPECT_FALSE(WalkFrames(dir.path().string(), 0, kRef, walk));
    test::WriteFile(dir.file("s.mp3"), F128(2));
    EXPECT_FALSE(WalkFrames(dir.file("s.mp3"), 5000, kRef, walk));
    EXPECT_FALSE(WalkFrames(dir.file("s.mp3"), 0, {0xFB, 0x9C, 0x64}, walk));  // sampling code 3
    EXPECT_EQ(walk.Fault, WalkFault::BadReference);
}

TEST(FrameWalker, EmptyAndHeaderlessFilesHaveNoFrames) {
    const Walked empty = WalkBytes({}, kRef);
    ASSERT_TRUE(empty.ok);
    EXPECT_EQ(empty.walk.FrameCount, 0);
    const Walked junk = WalkBytes(Bytes(5000, 0xFF), kRef);
    ASSERT_TRUE(junk.ok);
    EXPECT_EQ(junk.walk.FrameCount, 0);
    EXPECT_EQ(junk.walk.JunkBytes, 5000);
}

// A walk that follows a file while another thread writes it, in pieces of the
// given sizes, gives exactly what a walk of the complete file gives.
Walked WalkWhileWritten(const Bytes& bytes, const HeaderBytes& ref, const std::vector<std::size_t>& pieces) {
    TempDir dir;
    const std::string path = dir.file("growing.mp3");
    test::WriteFile(path, {});
    WriteProgress progress;
    std::thread writer([&] {
        test::AppendInPieces(path, bytes, pieces);
        progress.MarkComplete();
    });
    Walked w;
    FrameWalkSinks sinks;
    sinks.OnFrame = [&w](const FrameSpot& f) { w.frames.push_back(f); };
    sinks.OnBytes = [&w](std::int64_t, const std::uint8_t* b, std::size_t count) {
        w.seen.insert(w.seen.end(), b, b + count);
    };
    w.ok = WalkGrowingFile(path, 0, ref, w.walk, progress, sinks);
    writer.join();
    return w;
}

void ExpectSameWalk(const Walked& growing, const Walked& whole) {
    ASSERT_EQ(growing.ok, whole.ok);
    EXPECT_EQ(growing.walk.FrameCount, whole.walk.FrameCount);
    EXPECT_EQ(growing.walk.FrameBytes, whole.walk.FrameBytes);
    EXPECT_EQ(growing.walk.JunkBytes, whole.walk.JunkBytes);
    EXPECT_EQ(growing.walk.Resyncs, whole.walk.Resyncs);
    EXPECT_EQ(growing.walk.AudioEndOffset, whole.walk.AudioEndOffset);
    EXPECT_EQ(growing.walk.DurationMs(), whole.walk.DurationMs());
    EXPECT_EQ(growing.seen, whole.seen);
    ASSERT_EQ(growing.frames.size(), whole.frames.size());
    for (std::size_t i = 0; i < growing.frames.size(); ++i) ASSERT_EQ(growing.frames[i].Offset, whole.frames[i].Offset);
}

struct GrowingCase {
    const char* name;
    Bytes bytes;
};

void PrintTo(const GrowingCase& c, std::ostream* os) {
    *os << c.name;
}

class GrowingFiles : public testing::TestWithParam<GrowingCase> {};

// Pieces that cut headers, junk and a trailing tag anywhere; the tag's bytes
// come in last, after frames the walk has long reached.
TEST_P(GrowingFiles, FollowingTheWriterGivesTheWholeFilesWalk) {
    const Bytes& bytes = GetParam().bytes;
    const Walked whole = WalkBytes(bytes, kRef);
    const std::size_t scale = std::max<std::size_t>(1, bytes.size() / 20000);  // some hundred pieces at most
    for (std::vector<std::size_t> pieces :
         {std::vector<std::size_t>{1, 3, 700, 5}, std::vector<std::size_t>{417}, std::vector<std::size_t>{100000, 1}}) {
        for (std::size_t& n : pieces) n *= scale;
        SCOPED_TRACE(pieces.front());
        ExpectSameWalk(WalkWhileWritten(bytes, kRef, pieces), whole);
    }
}

Bytes BrokenOff(int keep) {
    const Bytes frame = F128(1);
    return Bytes(frame.begin(), frame.begin() + keep);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GrowingFiles,
    testing::Values(GrowingCase{"plain", F128(30)}, GrowingCase{"junk", F128(3) + Bytes(37, 0) + F128(4)},
                    GrowingCase{"broken_off_at_the_end", F128(4) + BrokenOff(300)},
                    GrowingCase{"trailing_tag", F128(5) + test::Id3v1Tag()},
                    GrowingCase{"short_tag_like_end", F128(2) + Bytes{'T', 'A', 'G'}},
                    GrowingCase{"less_alike_after_junk", F128(2) + Bytes(50, 0x11) + F160(1) + F128(2)},
                    GrowingCase{"empty", {}}, GrowingCase{"long", F128(1257) + Bytes(1000, 0x33) + F128(2000)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FrameWalker, AFollowingWalkStopsWhenTheWriterGivesUp) {
    TempDir dir;
    const std::string path = dir.file("abandoned.mp3");
    test::WriteFile(path, F128(10));
    WriteProgress progress;
    std::thread writer([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        progress.Cancel();
    });
    FrameWalk walk;
    EXPECT_FALSE(WalkGrowingFile(path, 0, kRef, walk, progress));
    EXPECT_EQ(walk.Fault, WalkFault::Unreadable);
    writer.join();

    WriteProgress complete;
    complete.MarkComplete();
    EXPECT_FALSE(WalkGrowingFile(dir.file("never-written.mp3"), 0, kRef, walk, complete));
}

// Encoder files: the walk finds every frame the test's own tables find.
class EncoderFiles : public testing::TestWithParam<const char*> {};

TEST_P(EncoderFiles, WalkFindsEveryFrame) {
    const std::string path = test::TestAudio(GetParam());
    const Bytes bytes = test::ReadFile(path);
    const std::vector<std::size_t> offsets = test::FrameOffsets(bytes);
    const Walked w = Walk(path, {bytes[1], bytes[2], bytes[3]});
    ASSERT_TRUE(w.ok);
    EXPECT_EQ(w.walk.FrameCount, static_cast<std::int32_t>(offsets.size() - 1));
    EXPECT_EQ(w.walk.JunkBytes, 0);
    ASSERT_EQ(w.frames.size(), offsets.size() - 1);
    for (std::size_t i = 0; i < w.frames.size(); ++i)
        ASSERT_EQ(w.frames[i].Offset, static_cast<std::int64_t>(offsets[i])) << i;
}

INSTANTIATE_TEST_SUITE_P(Files, EncoderFiles,
                         testing::Values("vbr.mp3", "cbr128.mp3", "lsf_vbr.mp3", "mono_vbr.mp3", "mp2_48k.mp2",
                                         "lsf.mp3"),
                         [](const auto& info) { return test::TestNameOfFile(info.param); });

}  // namespace
}  // namespace kalvor
