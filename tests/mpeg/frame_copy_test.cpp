#include "mpeg/FCTs.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "mpeg/FCT_mpeg.h"
#include "services/event_pump.h"
#include "support/audio_checkers.h"
#include "support/frame_builder.h"

namespace kalvor {
namespace {

using test::Bytes;
using test::operator+;

Bytes Pattern(std::size_t n) {
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i) b[i] = static_cast<std::uint8_t>((i * 7 + i / 251) % 251);
    return b;
}
Bytes Slice(const Bytes& b, std::int64_t firstPos, std::int64_t lastPos) {
    return Bytes(b.begin() + firstPos - 1, b.begin() + lastPos);
}

class Copy : public ::testing::Test {
   protected:
    void SetUp() override {
        src = dir.file("src.mp3");
        dst = dir.file("dst.mp3");
    }
    void TearDown() override { SetEventPump({}); }
    test::TempDir dir;
    std::string src, dst;
};

TEST_F(Copy, ASingleByteIsNoRangeButTwoAre) {
    const Bytes data = Pattern(5000);
    test::WriteFile(src, data);
    EXPECT_EQ(CopyFrames(src, dst, 1000, 1000, 0, 0).Fault, CopyFault::EmptyRange);
    EXPECT_FALSE(std::filesystem::exists(dst));
    EXPECT_EQ(CopyFrames(src, dst, 1000, 999, 0, 0).Fault, CopyFault::EmptyRange);
    EXPECT_EQ(CopyFrames(src, dst, 0, 999, 0, 0).Fault, CopyFault::EmptyRange);
    EXPECT_TRUE(CopyFrames(src, dst, 1000, 1001, 0, 0).Ok());
    EXPECT_EQ(test::ReadFile(dst), Slice(data, 1000, 1001));
}

// Steps of one chunk at first and of at most CopyStep bytes, appended in order
// after what the destination held; window events run before each step.
TEST_F(Copy, AppendsInStepsAfterTheOldContents) {
    const Bytes data = Pattern(2 * CopyStep + 50000);
    test::WriteFile(src, data);
    test::WriteFile(dst, {1, 2, 3});
    std::vector<std::uintmax_t> sizesSeen;
    SetEventPump([&] { sizesSeen.push_back(std::filesystem::file_size(dst)); });
    const CopyOutcome outcome = CopyFrames(src, dst, 1, static_cast<std::int32_t>(data.size()), 0, 0);
    EXPECT_TRUE(outcome.Ok());
    EXPECT_EQ(outcome.BytesAppended, static_cast<std::int64_t>(data.size()));
    ASSERT_GE(sizesSeen.size(), 3u);
    EXPECT_EQ(sizesSeen[0], 3u);
    EXPECT_EQ(sizesSeen[1], 3u + CopyChunk);
    for (std::size_t i = 1; i < sizesSeen.size(); ++i) {
        EXPECT_GT(sizesSeen[i], sizesSeen[i - 1]);
        EXPECT_LE(sizesSeen[i] - sizesSeen[i - 1], static_cast<std::uintmax_t>(CopyStep));
    }
    EXPECT_EQ(test::ReadFile(dst), (Bytes{1, 2, 3} + data));
}

// The source is read as the file it was when the copy began, even when it is
// renamed or deleted meanwhile; one that shrinks ends the copy with the bytes
// it still had, and nothing stale is appended.
TEST_F(Copy, TheSourceStaysOpenForTheWholeRange) {
    const Bytes data = Pattern(2 * CopyStep + 50000);
    const auto size = static_cast<std::int32_t>(data.size());
    test::WriteFile(src, data);
    int step = 0;
    SetEventPump([&] {
        if (++step == 2) std::filesystem::remove(src);
    });
    EXPECT_TRUE(CopyFrames(src, dst, 1, size, 0, 0).Ok());
    EXPECT_EQ(test::ReadFile(dst), data);

    std::filesystem::remove(dst);
    test::WriteFile(src, data);
    step = 0;
    SetEventPump([&] {
        if (++step == 2) std::filesystem::resize_file(src, CopyChunk + 1000);
    });
    const CopyOutcome outcome = CopyFrames(src, dst, 1, size, 0, 0);
    EXPECT_EQ(outcome.Fault, CopyFault::SourceEnded);
    EXPECT_EQ(outcome.BytesAppended, CopyChunk + 1000);
    EXPECT_EQ(test::ReadFile(dst), Slice(data, 1, CopyChunk + 1000));
}

TEST_F(Copy, AMissingOrSpecialSourceIsUnreadableAndCreatesNothing) {
    EXPECT_EQ(CopyFrames(dir.file("missing.mp3"), dir.file("none.mp3"), 1, 100, 0, 0).Fault,
              CopyFault::SourceUnreadable);
    EXPECT_EQ(CopyFrames(dir.path().string(), dir.file("none.mp3"), 1, 100, 0, 0).Fault, CopyFault::SourceUnreadable);
    // A pipe with no writer: refused at once, not waited on.
    const std::string pipe = dir.file("pipe");
    ASSERT_EQ(std::system(("mkfifo " + pipe).c_str()), 0);
    EXPECT_EQ(CopyFrames(pipe, dir.file("none.mp3"), 1, 100, 0, 0).Fault, CopyFault::SourceUnreadable);
    EXPECT_FALSE(std::filesystem::exists(dir.file("none.mp3")));
}

// A file appended to itself: the range read and the bytes written are the same
// file's, as when a document pastes its own audio.
TEST_F(Copy, AFileCanTakeARangeOfItself) {
    const Bytes data = Pattern(300000);
    test::WriteFile(src, data);
    EXPECT_TRUE(CopyFrames(src, src, 1001, 201000, 0, 0).Ok());
    EXPECT_EQ(test::ReadFile(src), data + Slice(data, 1001, 201000));
}

TEST_F(Copy, ARangePastTheEndOfTheSourceCopiesOnlyWhatIsThere) {
    const Bytes data = Pattern(150000);
    test::WriteFile(src, data);
    const CopyOutcome outcome = CopyFrames(src, dst, 1001, 300000, 0, 0);
    EXPECT_EQ(outcome.Fault, CopyFault::SourceEnded);
    EXPECT_EQ(test::ReadFile(dst), Slice(data, 1001, 150000));
}

TEST_F(Copy, AnUnwritableDestinationGetsNothing) {
    test::WriteFile(src, Pattern(5000));
    EXPECT_EQ(CopyFrames(src, dir.file("no/such/folder.mp3"), 1, 5000, 0, 0).Fault, CopyFault::DestinationUnwritable);
    EXPECT_EQ(CopyFrames(src, dir.path().string(), 1, 5000, 0, 0).Fault, CopyFault::DestinationUnwritable);
    const CopyOutcome full = CopyFrames(src, "/dev/full", 1, 5000, 0, 0);  // a full disk
    EXPECT_EQ(full.Fault, CopyFault::DestinationUnwritable);
    EXPECT_EQ(full.BytesAppended, 0);
}

// A constant-rate stream whose frames differ only in their padding bits, behind
// an ID3v2 tag and before an ID3v1 tag. Frame starts are computed here.
class SnapStream : public Copy {
   protected:
    void SetUp() override {
        Copy::SetUp();
        stream = test::Id3v2Tag(600);
        for (int i = 0; i < 40; ++i) {
            starts.push_back(static_cast<std::int32_t>(stream.size()) + 1);
            stream = stream + test::Frames(0xFB, i % 3 ? 0x92 : 0x90, 0x64, 1);
        }
        audioEnd = static_cast<std::int32_t>(stream.size());
        stream = stream + test::Id3v1Tag();
        test::WriteFile(src, stream);
        ASSERT_EQ(AnalyzeStream(src, info), 1);
        ASSERT_EQ(info.AudioEndPos, audioEnd);
    }
    Bytes stream;
    std::vector<std::int32_t> starts;
    std::int32_t audioEnd = 0;
    StreamInfo info;
};

TEST_F(SnapStream, EveryRealHeaderScoresFullSoTheNextOneIsTaken) {
    for (std::size_t k = 1; k + 4 < starts.size(); ++k) {
        EXPECT_EQ(SnapToFrame(src, starts[k], info), starts[k]);
        EXPECT_EQ(SnapToFrame(src, starts[k] - 200, info), starts[k]);
        EXPECT_EQ(SnapToFrame(src, starts[k - 1] + 1, info), starts[k]);
    }
    EXPECT_EQ(SnapToFrame(src, 1, info), starts[0]);
}

TEST_F(SnapStream, SnappedEndsHoldWholeFramesWithoutTags) {
    ASSERT_TRUE(CopyFrames(src, dst, 1, starts[5] + 10, 1, 1).Ok());  // from inside the ID3v2 tag
    EXPECT_EQ(test::ReadFile(dst), Slice(stream, starts[0], starts[6] - 1));
    std::filesystem::remove(dst);
    // Less than SnapWindow bytes before the end of the audio: the end is the boundary.
    ASSERT_TRUE(CopyFrames(src, dst, starts[30] + 5, audioEnd - 100, 1, 1).Ok());
    EXPECT_EQ(test::ReadFile(dst), Slice(stream, starts[31], audioEnd));
    std::filesystem::remove(dst);
    EXPECT_EQ(CopyFrames(src, dst, audioEnd - 100, audioEnd, 1, 0).Fault, CopyFault::EmptyRange);
    EXPECT_FALSE(std::filesystem::exists(dst));
}

TEST_F(SnapStream, AnalysisFailureWritesNothing) {
    test::WriteFile(src, Pattern(5000));
    const CopyOutcome outcome = CopyFrames(src, dst, 1, 5000, 1, 0);
    EXPECT_EQ(outcome.Fault, CopyFault::AnalysisFailed);
    EXPECT_EQ(outcome.Analysis.Fault, AnalysisFault::NoFrameHeader);
    EXPECT_FALSE(std::filesystem::exists(dst));
}

// Plants a false sync at a position inside the audio of frame 10.
struct FalseSync {
    const char* what;
    Bytes bytes;  // FF b2 b3 b4
    bool taken;   // wins over the real header of frame 11
};
void PrintTo(const FalseSync& c, std::ostream* os) {
    *os << c.what;
}
class SnapScore : public SnapStream, public ::testing::WithParamInterface<FalseSync> {};

TEST_P(SnapScore, TheBestScoreWinsAndTiesKeepTheEarlier) {
    const std::int32_t at = starts[10] + 100;
    std::copy(GetParam().bytes.begin(), GetParam().bytes.end(), stream.begin() + at - 1);
    test::WriteFile(src, stream);
    EXPECT_EQ(SnapToFrame(src, starts[10] + 50, info), GetParam().taken ? at : starts[11]);
}

INSTANTIATE_TEST_SUITE_P(Cases, SnapScore,
                         ::testing::Values(FalseSync{"weaker", {0xFF, 0xFB, 0xA0, 0x64}, false},
                                           FalseSync{"full_score", {0xFF, 0xFB, 0x92, 0x64}, true},
                                           FalseSync{"mpeg_2_5_is_no_sync", {0xFF, 0xEB, 0x90, 0x64}, false}),
                         [](const auto& i) { return std::string(i.param.what); });

// A Xing frame whose payload holds a sync exactly like the stream's: a search
// from inside it starts at its end, at the first audio frame or, when no frame
// follows, at the end of the audio.
TEST_F(Copy, NoSnapLandsInsideAHeaderFrame) {
    Bytes header = test::Frame(0xFB, 0x90, 0x64, test::FrameLengthOfHeader(0xFB, 0x90));
    const Bytes xing{'X', 'i', 'n', 'g', 0, 0, 0, 1, 0, 0, 0, 30};
    std::copy(xing.begin(), xing.end(), header.begin() + 36);
    const Bytes lookalike{0xFF, 0xFB, 0x90, 0x64};
    std::copy(lookalike.begin(), lookalike.end(), header.begin() + 200);
    for (const int frames : {30, 0}) {
        test::WriteFile(src, header + test::Frames(0xFB, 0x90, 0x64, frames));
        StreamInfo info;
        ASSERT_EQ(AnalyzeStream(src, info), 1);
        EXPECT_EQ(SnapToFrame(src, 100, info), static_cast<std::int32_t>(header.size()) + 1) << frames;
    }
}

TEST_F(SnapStream, OfTwoEqualWeakerCandidatesTheEarlierWins) {
    // Frames 11.. vanish behind filler, leaving two equally weak syncs.
    std::fill(stream.begin() + starts[11] - 1, stream.begin() + audioEnd, std::uint8_t{0x55});
    for (std::int32_t at : {starts[10] + 100, starts[10] + 300}) {
        const Bytes weak{0xFF, 0xFB, 0xA0, 0x64};
        std::copy(weak.begin(), weak.end(), stream.begin() + at - 1);
    }
    test::WriteFile(src, stream);
    EXPECT_EQ(SnapToFrame(src, starts[10] + 50, info), starts[10] + 100);
}

}  // namespace
}  // namespace kalvor
