// Writing split pieces and built files from encoder-made audio, judged by the
// bytes they hold, by mp3val and by the analysis of what was written.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "listwin/list_output.h"
#include "listwin/time_text_pos.h"
#include "mpeg/FCT_mpeg.h"
#include "mpeg/FCTs.h"
#include "mpeg/frame_walker.h"
#include "services/basic.h"
#include "support/audio_checkers.h"
#include "support/exact_frames_scope.h"
#include "support/file_pieces.h"
#include "support/test_support.h"

namespace kalvor {
namespace {

using test::Bytes;
using test::Concatenation;
using test::Span;

ListDocument DocumentOf(const std::string& path) {
    ListDocument doc;
    doc.CurFile = doc.OrgFile = path;
    EXPECT_EQ(AnalyzeStream(path, doc.Info), 1) << path;
    doc.DurationMs = doc.Info.DurationMs;
    return doc;
}

ListRows SplitAt(const std::vector<std::int32_t>& ms, std::int32_t durationMs) {
    ListRows rows(ListMode::Split);
    for (std::int32_t t : ms) rows.Add(t, t, durationMs);
    return rows;
}

// The document's audio bytes, FirstFramePos..AudioEndPos.
Bytes AudioBytes(const ListDocument& doc) {
    return test::Span(doc.CurFile, doc.Info.FirstFramePos, doc.Info.AudioEndPos);
}

// The LAME header's end padding (12 bits) in the "Info"/"Xing" frame of an
// MPEG-1 stereo file: the header sits 36 bytes in, the LAME extension 120 after it.
int LameEndPadding(const std::string& path) {
    const Bytes b = test::ReadRange(path, 36 + 120 + 21, 3);
    return b.size() == 3 ? ((b[1] & 0x0F) << 8) | b[2] : -1;
}

class ListOutput : public ::testing::Test {
   protected:
    // The pieces' bytes are the document's frames as ExactFrames writes them;
    // gapless, repacked pieces are judged by their decoded sound elsewhere.
    test::ExactFramesScope exactFrames_;
    test::TempDir dir_;
};

TEST_F(ListOutput, SplitPiecesHoldExactlyTheDocumentsAudio) {
    const ListDocument doc = DocumentOf(test::TestAudio("cbr128_plain_tags.mp3"));
    const ListRows rows = SplitAt({15000, 5000, 10000}, doc.DurationMs);
    const std::string out = dir_.file("live.mp3");
    std::vector<std::pair<int, int>> progress;
    const ListOutputResult r =
        WriteListOutput(rows, doc, out, [&](int done, int total) { progress.emplace_back(done, total); });
    ASSERT_TRUE(r.Ok()) << ListOutputFaultText(r);
    const std::vector<std::string> names{dir_.file("live - 01.mp3"), dir_.file("live - 02.mp3"),
                                         dir_.file("live - 03.mp3"), dir_.file("live - 04.mp3")};
    EXPECT_EQ(r.Written, names);
    EXPECT_EQ(progress, (std::vector<std::pair<int, int>>{{1, 4}, {2, 4}, {3, 4}, {4, 4}}));
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_TRUE(Concatenation(names) == AudioBytes(doc));  // no ID3v2 tag, no "TAG" block, nothing lost
    for (const auto& name : names) {
        EXPECT_EQ(test::BrokenFrameWarnings(name), std::vector<std::string>{}) << name;
    }
}

TEST_F(ListOutput, OnePointMakesTwoPiecesMeetingAtAFrame) {
    const ListDocument doc = DocumentOf(test::TestAudio("mp2_48k.mp2"));
    const ListOutputResult r = WriteListOutput(SplitAt({10000}, doc.DurationMs), doc, dir_.file("cut.mp2"));
    ASSERT_TRUE(r.Ok()) << ListOutputFaultText(r);
    ASSERT_EQ(r.Written.size(), 2u);
    const std::int32_t at = SnapToFrame(doc.CurFile, TimeTextToBytePos("000'10.000", doc.TimeScale()), doc.Info);
    EXPECT_TRUE(test::ReadFile(r.Written[0]) == Span(doc.CurFile, doc.Info.FirstFramePos, at - 1));
    EXPECT_TRUE(test::ReadFile(r.Written[1]) == Span(doc.CurFile, at, doc.Info.AudioEndPos));
    EXPECT_NEAR(test::FfprobeDurationMs(r.Written[0]), 10000, 30);
}

TEST_F(ListOutput, XingPiecesDescribeThemselves) {
    const ListDocument doc = DocumentOf(test::TestAudio("vbr.mp3"));
    const ListOutputResult r = WriteListOutput(SplitAt({7000}, doc.DurationMs), doc, dir_.file("v.mp3"));
    ASSERT_TRUE(r.Ok()) << ListOutputFaultText(r);
    StreamInfo first;
    ASSERT_EQ(AnalyzeStream(r.Written[0], first), 1);
    EXPECT_EQ(first.IsVbr, 1);
    EXPECT_NEAR(first.DurationMs, 7000, 60);  // the header counts the piece's frames, not the source's
    EXPECT_EQ(LameEndPadding(r.Written[0]), 0);
    EXPECT_EQ(test::BrokenFrameWarnings(r.Written[0]), std::vector<std::string>{});
    EXPECT_EQ(test::BrokenFrameWarnings(r.Written[1]), std::vector<std::string>{});
}

TEST_F(ListOutput, PointsOnTheSameFrameLeaveNoGapAndNoEmptyFile) {
    const ListDocument doc = DocumentOf(test::TestAudio("cbr128_plain.mp3"));
    const ListOutputResult r = WriteListOutput(SplitAt({8000, 8000}, doc.DurationMs), doc, dir_.file("s.mp3"));
    ASSERT_TRUE(r.Ok()) << ListOutputFaultText(r);
    EXPECT_EQ(r.Written, (std::vector<std::string>{dir_.file("s - 01.mp3"), dir_.file("s - 03.mp3")}));
    EXPECT_FALSE(std::filesystem::exists(dir_.file("s - 02.mp3")));
    EXPECT_TRUE(Concatenation(r.Written) == AudioBytes(doc));
}

TEST_F(ListOutput, SplitReplacesExistingPieces) {
    const ListDocument doc = DocumentOf(test::TestAudio("cbr128_plain.mp3"));
    test::WriteFile(dir_.file("old - 02"), Bytes(5000, 0x41));
    const ListOutputResult r = WriteListOutput(SplitAt({12000}, doc.DurationMs), doc, dir_.file("old"));
    ASSERT_TRUE(r.Ok()) << ListOutputFaultText(r);
    EXPECT_EQ(r.Written, (std::vector<std::string>{dir_.file("old - 01"), dir_.file("old - 02")}));
    EXPECT_TRUE(Concatenation(r.Written) == AudioBytes(doc));
}

TEST_F(ListOutput, BuildWritesRangesInListOrder) {
    const ListDocument doc = DocumentOf(test::TestAudio("cbr128_plain_tags.mp3"));
    ListRows rows(ListMode::Build);
    rows.Add(10000, 20000, doc.DurationMs);
    rows.Add(5000, 8000, doc.DurationMs);
    const std::string out = dir_.file("built.mp3");
    test::WriteFile(out, Bytes(100000, 0x41));  // replaced, not appended to
    const ListOutputResult r = WriteListOutput(rows, doc, out);
    ASSERT_TRUE(r.Ok()) << ListOutputFaultText(r);
    EXPECT_EQ(r.Written, std::vector<std::string>{out});
    const auto snap = [&](const char* text) {
        return SnapToFrame(doc.CurFile, TimeTextToBytePos(text, doc.TimeScale()), doc.Info);
    };
    Bytes expected = Span(doc.CurFile, snap("000'10.000"), snap("000'20.000") - 1);
    const Bytes second = Span(doc.CurFile, snap("000'05.000"), snap("000'08.000") - 1);
    expected.insert(expected.end(), second.begin(), second.end());
    EXPECT_TRUE(test::ReadFile(out) == expected);
    EXPECT_EQ(test::BrokenFrameWarnings(out), std::vector<std::string>{});
    EXPECT_NEAR(test::FfprobeDurationMs(out), 13000, 120);
}

TEST_F(ListOutput, BuiltFileKeepsItsEndPaddingOnlyWhenItEndsWithTheSource) {
    const ListDocument doc = DocumentOf(test::TestAudio("cbr128.mp3"));
    const int sourcePadding = LameEndPadding(doc.CurFile);
    ASSERT_GT(sourcePadding, 0);
    ListRows whole(ListMode::Build);
    whole.Add(0, doc.DurationMs, doc.DurationMs);
    ASSERT_TRUE(WriteListOutput(whole, doc, dir_.file("whole.mp3")).Ok());
    EXPECT_EQ(LameEndPadding(dir_.file("whole.mp3")), sourcePadding);

    ListRows endFirst(ListMode::Build);
    endFirst.Add(0, doc.DurationMs, doc.DurationMs);
    endFirst.Add(0, 3000, doc.DurationMs);
    ASSERT_TRUE(WriteListOutput(endFirst, doc, dir_.file("cut.mp3")).Ok());
    EXPECT_EQ(LameEndPadding(dir_.file("cut.mp3")), 0);
    StreamInfo built;
    ASSERT_EQ(AnalyzeStream(dir_.file("cut.mp3"), built), 1);
    EXPECT_NEAR(built.DurationMs, doc.DurationMs + 3000, 60);
}

TEST_F(ListOutput, EmptyRangesWriteNothing) {
    const ListDocument doc = DocumentOf(test::TestAudio("cbr128_plain.mp3"));
    ListRows rows(ListMode::Build);
    rows.Add(9000, 4000, doc.DurationMs);
    const ListOutputResult r = WriteListOutput(rows, doc, dir_.file("none.mp3"));
    EXPECT_FALSE(r.Ok());
    EXPECT_NE(ListOutputFaultText(r).find("empty"), std::string::npos) << ListOutputFaultText(r);
    EXPECT_FALSE(std::filesystem::exists(dir_.file("none.mp3")));
    EXPECT_EQ(ListOutputFaultText(WriteListOutput(ListRows(ListMode::Split), doc, dir_.file("x.mp3"))),
              "the list is empty");
}

// A file cut after its Xing frame: the header still counts the frames it lost,
// so the file opens, yet any piece or build of it would be a header frame alone.
TEST_F(ListOutput, AHeaderFrameWithoutAudioIsNoOutput) {
    const std::string source = test::TestAudio("vbr.mp3");
    StreamInfo info;
    ASSERT_EQ(AnalyzeStream(source, info), 1);
    const std::string cut = dir_.file("cut.mp3");
    test::WriteFile(cut, Span(source, info.FirstFramePos, info.FirstFramePos + FrameLengthOf(info.RefHeader) - 1));
    const ListDocument doc = DocumentOf(cut);
    ListRows whole(ListMode::Build);
    whole.Add(0, doc.DurationMs, doc.DurationMs);
    for (const bool exact : {true, false}) {
        SetExactFrames(exact);  // the fixture's scope turns it off again
        EXPECT_EQ(WriteListOutput(whole, doc, dir_.file("b.mp3")).Fault, ListOutputFault::NothingWritten);
        EXPECT_EQ(WriteListOutput(SplitAt({doc.DurationMs / 2}, doc.DurationMs), doc, dir_.file("s.mp3")).Fault,
                  ListOutputFault::NothingWritten);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path()), {}), 1) << "only cut.mp3";
    }
}

TEST_F(ListOutput, TheDocumentsOwnFilesAreNeverTargets) {
    const std::string source = dir_.file("doc.mp3");
    std::filesystem::copy_file(test::TestAudio("cbr128_plain.mp3"), source);
    const Bytes before = test::ReadFile(source);
    ListDocument doc = DocumentOf(source);
    doc.OrgFile = dir_.file("opened.mp3");
    doc.WorkingFiles = {dir_.file("undo.mp3"), dir_.file("temp.mp3"), dir_.file("work - 02.mp3")};
    ListRows build(ListMode::Build);
    build.Add(1000, 2000, doc.DurationMs);
    for (const std::string& target : {source, dir_.file("./opened.mp3"), dir_.file("temp.mp3")}) {
        const ListOutputResult r = WriteListOutput(build, doc, target);
        EXPECT_FALSE(r.Ok()) << target;
        EXPECT_NE(ListOutputFaultText(r).find("document"), std::string::npos) << ListOutputFaultText(r);
    }
    // Piece 02 of "work" would be a working file: no piece at all is written.
    const ListOutputResult r = WriteListOutput(SplitAt({5000}, doc.DurationMs), doc, dir_.file("work.mp3"));
    EXPECT_FALSE(r.Ok());
    EXPECT_NE(ListOutputFaultText(r).find("working file"), std::string::npos) << ListOutputFaultText(r);
    EXPECT_FALSE(std::filesystem::exists(dir_.file("work - 01.mp3")));
    EXPECT_TRUE(test::ReadFile(source) == before);
}

// An immutable file cannot be deleted even by root; skipped where the file
// system has no such attribute.
class UndeletableFile {
   public:
    explicit UndeletableFile(const std::string& path) : path_(path) {
        test::WriteFile(path, Bytes(10, 0x41));
        made_ = test::Run("chattr +i " + test::ShellQuote(path) + " 2>/dev/null").exitCode == 0;
    }
    ~UndeletableFile() { test::Run("chattr -i " + test::ShellQuote(path_) + " 2>/dev/null"); }
    bool Made() const { return made_; }

   private:
    std::string path_;
    bool made_ = false;
};

TEST_F(ListOutput, AnUndeletablePieceStopsTheSplit) {
    const ListDocument doc = DocumentOf(test::TestAudio("cbr128_plain.mp3"));
    UndeletableFile locked(dir_.file("p - 02.mp3"));
    if (!locked.Made()) GTEST_SKIP() << "no immutable files here";
    const ListOutputResult r = WriteListOutput(SplitAt({5000, 10000}, doc.DurationMs), doc, dir_.file("p.mp3"));
    EXPECT_FALSE(r.Ok());
    EXPECT_NE(ListOutputFaultText(r).find("cannot be replaced"), std::string::npos) << ListOutputFaultText(r);
    EXPECT_EQ(r.Written, std::vector<std::string>{dir_.file("p - 01.mp3")});
    EXPECT_EQ(test::ReadFile(dir_.file("p - 02.mp3")).size(), 10u);
    EXPECT_FALSE(std::filesystem::exists(dir_.file("p - 03.mp3")));
}

TEST_F(ListOutput, AnUndeletableOutputStopsTheBuildBeforeWriting) {
    const ListDocument doc = DocumentOf(test::TestAudio("cbr128_plain.mp3"));
    UndeletableFile locked(dir_.file("b.mp3"));
    if (!locked.Made()) GTEST_SKIP() << "no immutable files here";
    ListRows rows(ListMode::Build);
    rows.Add(1000, 2000, doc.DurationMs);
    const ListOutputResult r = WriteListOutput(rows, doc, dir_.file("b.mp3"));
    EXPECT_FALSE(r.Ok());
    EXPECT_NE(ListOutputFaultText(r).find("cannot be replaced"), std::string::npos) << ListOutputFaultText(r);
    EXPECT_EQ(test::ReadFile(dir_.file("b.mp3")).size(), 10u);
}

TEST_F(ListOutput, AnUnwritablePieceStopsWithNothingMoreWritten) {
    const ListDocument doc = DocumentOf(test::TestAudio("cbr128_plain.mp3"));
    std::filesystem::create_directory(dir_.file("q - 02.mp3"));  // a folder where a piece should go
    const ListOutputResult r = WriteListOutput(SplitAt({5000, 10000}, doc.DurationMs), doc, dir_.file("q.mp3"));
    EXPECT_FALSE(r.Ok());
    EXPECT_NE(ListOutputFaultText(r).find("q - 02.mp3"), std::string::npos) << ListOutputFaultText(r);
    EXPECT_EQ(r.Written.size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(dir_.file("q - 03.mp3")));
    const ListOutputResult missing =
        WriteListOutput(SplitAt({5000}, doc.DurationMs), doc, dir_.file("no/such/folder/x.mp3"));
    EXPECT_FALSE(missing.Ok());
    EXPECT_TRUE(missing.Written.empty());
}

TEST(SplitPieceNames, NumberGoesBeforeTheExtension) {
    EXPECT_EQ(SplitPieceName("/audio/live.mp3", 1), "/audio/live - 01.mp3");
    EXPECT_EQ(SplitPieceName("/audio/live.mp3", 100), "/audio/live - 100.mp3");
    EXPECT_EQ(SplitPieceName("/audio/live", 2), "/audio/live - 02");
    EXPECT_EQ(SplitPieceName("live.mp2", 3), "live - 03.mp2");  // stays relative
    EXPECT_EQ(SplitPieceName("/a.b/take.one.mp3", 4), "/a.b/take.one - 04.mp3");
}

}  // namespace
}  // namespace kalvor
