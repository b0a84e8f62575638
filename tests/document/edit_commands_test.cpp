// The edit commands on byte-built streams whose frames can be told apart, so
// every result is checked frame by frame.
#include <gtest/gtest.h>

#include <algorithm>

#include "document/document.h"
#include "document/messages.h"
#include "services/basic.h"
#include "services/event_pump.h"
#include "support/document_harness.h"
#include "support/exact_frames_scope.h"
#include "support/frame_builder.h"

namespace kalvor {
namespace {

using test::FrameNumbers;
using test::FrameStart;
using test::Range;
using test::operator+;
using Recs = std::vector<BlockRec>;
using Messages = std::vector<std::string>;

constexpr int kFrames = 100;
constexpr std::int32_t kLast = kFrames * test::kNumberedFrameBytes;  // AudioEndPos

Recs Records(const BlockList& list) {
    return Recs(list.Blocks().begin() + 1, list.Blocks().end());
}

class EditTest : public ::testing::Test {
   protected:
    void SetUp() override {
        src = dir.file("song.mp3");
        test::WriteFile(src, test::NumberedFrames(0, kFrames));
        other = dir.file("other.mp3");
        otherBytes = test::Id3v2Tag(300) + test::NumberedFrames(200, 5) + test::Id3v1Tag();
        test::WriteFile(other, otherBytes);
        ASSERT_EQ(doc.OpenFile(src), 1);
        sink.Clear();
    }
    void Select(std::int32_t from, std::int32_t to) { doc.Sel.SelectRange(from, to); }
    std::vector<int> Current() const { return FrameNumbers(test::ReadFile(doc.CurFile())); }
    std::vector<int> Clip() const { return FrameNumbers(test::ReadFile(doc.Working().ClipFile)); }
    // The other file's five frames, without its tags.
    static constexpr std::int32_t kOtherAudio = 5 * test::kNumberedFrameBytes;

    // Which frames go where, byte for byte: as ExactFrames writes them (what
    // repacking makes of an edit is judged by its decoded sound elsewhere).
    test::ExactFramesScope exactFrames;
    test::TempDir dir;
    test::TempDir work;
    test::RecordingSink sink;
    Document doc{work.path().string(), &sink};
    std::string src, other;
    test::Bytes otherBytes;
};

TEST_F(EditTest, DeleteRemovesTheSelectedFramesIntoANewVersion) {
    Select(FrameStart(10), FrameStart(20));
    ASSERT_EQ(doc.Delete(), 1);
    EXPECT_EQ(Current(), Range(0, 10) + Range(20, kFrames));
    EXPECT_EQ(doc.CurFile(), doc.Working().TempFile);
    EXPECT_EQ(FrameNumbers(test::ReadFile(src)), Range(0, kFrames));  // the opened file is untouched
    EXPECT_EQ(sink.Messages, (Messages{msg::kDeleting, msg::kDone}));
    EXPECT_EQ(sink.BusyOn, 1);
    EXPECT_EQ(sink.BusyOff, 1);
    EXPECT_EQ(sink.Loads, std::vector<LoadReason>{LoadReason::Edit});
    // A one-byte selection at the edit point, and a point record there.
    EXPECT_EQ(doc.Sel.SelStart, FrameStart(10));
    EXPECT_EQ(doc.Sel.SelEnd, FrameStart(10));
    EXPECT_EQ(doc.Sel.SelLength, 1);
    EXPECT_EQ(Records(doc.Blocks()), (Recs{{FrameStart(10), 0}}));
    EXPECT_EQ(doc.AudioLength(), 90 * test::kNumberedFrameBytes);
    EXPECT_EQ(FileExists(doc.Working().WorkFile), 0);
}

// SelStart just past a frame header is the case where the byte before the
// selection is a header: that frame must stay in the document, not vanish
// between the clipboard and the remainder.
class CutPasteTest : public EditTest, public ::testing::WithParamInterface<std::int32_t> {};

TEST_P(CutPasteTest, MovesExactlyTheCutFrames) {
    const std::int32_t d = GetParam();
    const int first = d == 0 ? 10 : 11, end = d == 0 ? 20 : 21;
    Select(FrameStart(10) + d, FrameStart(20) + d);
    ASSERT_EQ(doc.Cut(), 1);
    EXPECT_EQ(sink.Messages, (Messages{msg::kCutting, msg::kDone}));
    EXPECT_EQ(Clip(), Range(first, end));
    const std::vector<int> rest = Range(0, first) + Range(end, kFrames);
    EXPECT_EQ(Current(), rest);

    const int at = d == 0 ? 40 : 41;  // the frames before the insertion point
    Select(FrameStart(40) + d, FrameStart(40) + d);
    ASSERT_EQ(doc.Paste(), 1);
    const std::vector<int> moved(rest.begin(), rest.begin() + at);
    EXPECT_EQ(Current(), moved + Range(first, end) + std::vector<int>(rest.begin() + at, rest.end()));
    // The clipboard stays for another paste.
    EXPECT_EQ(Clip(), Range(first, end));
}

INSTANTIATE_TEST_SUITE_P(SelStartOffsets, CutPasteTest, ::testing::Values(0, 1, 200));

struct RangeCase {
    const char* name;
    std::int32_t from, to;
    std::vector<int> left;  // frames left after a delete
};

class EdgeRuleTest : public EditTest, public ::testing::WithParamInterface<RangeCase> {};

TEST_P(EdgeRuleTest, DeleteNearTheEndsGoesToTheEnd) {
    Select(GetParam().from, GetParam().to);
    ASSERT_EQ(doc.Delete(), 1);
    EXPECT_EQ(Current(), GetParam().left);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EdgeRuleTest,
    ::testing::Values(
        RangeCase{"StartWithin300BytesTakesTheFirstFrame", 300, FrameStart(10), Range(10, kFrames)},
        RangeCase{"StartPast300KeepsTheHead", 301, FrameStart(10), Range(0, 1) + Range(10, kFrames)},
        RangeCase{"EndWithin300BytesOfLastGoesToTheEnd", FrameStart(90), kLast - 300, Range(0, 90)},
        RangeCase{"EndFurtherOffKeepsTheTail", FrameStart(90), FrameStart(95) - 1, Range(0, 90) + Range(95, kFrames)},
        // Fewer than three frames after the end: the frame search gives the end of the audio.
        RangeCase{"EndInTheLastThreeFramesGoesToTheEnd", FrameStart(90), FrameStart(97) - 1, Range(0, 90)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(EditTest, DeletingAllAudioLeavesAnEmptyDocumentThatUndoRestores) {
    Select(200, kLast);
    ASSERT_EQ(doc.Delete(), 1);
    EXPECT_EQ(test::ReadFile(doc.CurFile()).size(), 0u);
    EXPECT_EQ(doc.AudioLength(), 0);
    EXPECT_EQ(doc.DurationMs(), 0);
    EXPECT_EQ(doc.Info().AudioEndPos, 0);
    // Nothing left to delete, select or copy.
    EXPECT_EQ(doc.Delete(), 0);
    doc.SelectAll();
    EXPECT_EQ(doc.Copy(), 0);
    EXPECT_EQ(sink.Last(), msg::kNotSelected);
    ASSERT_EQ(doc.Undo(), 1);
    EXPECT_EQ(Current(), Range(0, kFrames));
    EXPECT_EQ(doc.AudioLength(), kLast);
    // Audio can be pasted into the empty version as well.
    ASSERT_EQ(doc.Undo(), 1);
    EXPECT_EQ(doc.AudioLength(), 0);
    Select(1, 1);
    ASSERT_EQ(doc.PasteFromFile(other), 1);
    EXPECT_EQ(Current(), Range(200, 205));
}

struct CopyCase {
    const char* name;
    std::int32_t from, to;
    std::vector<int> clip;
};

class CopyTest : public EditTest, public ::testing::WithParamInterface<CopyCase> {};

TEST_P(CopyTest, FillsTheClipboardAndLeavesTheDocument) {
    Select(GetParam().from, GetParam().to);
    ASSERT_EQ(doc.Copy(), 1);
    EXPECT_EQ(sink.Messages, (Messages{msg::kCopying, msg::kDone}));
    EXPECT_EQ(Clip(), GetParam().clip);
    EXPECT_EQ(doc.CurFile(), src);
    EXPECT_EQ(sink.Loads.size(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CopyTest,
    ::testing::Values(CopyCase{"WholeFrames", FrameStart(90), FrameStart(95), Range(90, 95)},
                      CopyCase{"EndWithin200BytesOfLastCopiesToLast", FrameStart(90), kLast - 150, Range(90, kFrames)},
                      CopyCase{"StartInTheLastThreeFramesCopiesNothing", FrameStart(98), kLast - 150, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(EditTest, PasteFromFileInsertsItsAudioWithoutTags) {
    Select(FrameStart(30), FrameStart(30));
    ASSERT_EQ(doc.PasteFromFile(other), 1);
    EXPECT_EQ(sink.Messages, (Messages{msg::kPasting, msg::kDone}));
    EXPECT_EQ(Current(), Range(0, 30) + Range(200, 205) + Range(30, kFrames));
    // The selection covers the inserted frames, up to the first frame after them.
    EXPECT_EQ(doc.Sel.SelStart, FrameStart(30));
    EXPECT_EQ(doc.Sel.SelEnd, FrameStart(35));
    EXPECT_EQ(doc.Sel.SelLength, kOtherAudio + 1);
    EXPECT_EQ(Records(doc.Blocks()), (Recs{{FrameStart(30), FrameStart(35)}}));
    // Deleting it gives the document back.
    ASSERT_EQ(doc.Delete(), 1);
    EXPECT_EQ(Current(), Range(0, kFrames));
}

TEST_F(EditTest, PasteReplacesTheSelection) {
    Select(FrameStart(30), FrameStart(40));
    ASSERT_EQ(doc.PasteFromFile(other), 1);
    EXPECT_EQ(Current(), Range(0, 30) + Range(200, 205) + Range(40, kFrames));
}

TEST_F(EditTest, PasteAtADeletePointReplacesItsRecord) {
    Select(FrameStart(10), FrameStart(20));
    ASSERT_EQ(doc.Delete(), 1);
    ASSERT_EQ(doc.PasteFromFile(other), 1);
    EXPECT_EQ(Current(), Range(0, 10) + Range(200, 205) + Range(20, kFrames));
    EXPECT_EQ(Records(doc.Blocks()), (Recs{{FrameStart(10), FrameStart(10) + kOtherAudio}}));
}

TEST_F(EditTest, ClipMarksTravelWithTheClipboard) {
    Select(FrameStart(30), FrameStart(30));
    ASSERT_EQ(doc.PasteFromFile(other), 1);  // block 12511..14596 over frames 200..204
    const BlockRec pasted = Records(doc.Blocks())[0];
    Select(FrameStart(29), FrameStart(40));
    ASSERT_EQ(doc.Copy(), 1);
    ASSERT_EQ(doc.Blocks().ClipBlocks().size(), 2u);
    const BlockRec clip = doc.Blocks().ClipBlocks()[1];
    EXPECT_EQ(clip, (BlockRec{pasted.StartPos - FrameStart(29), pasted.EndPos - FrameStart(29)}));
    Select(FrameStart(80), FrameStart(80));
    ASSERT_EQ(doc.Paste(), 1);
    const std::int32_t size = static_cast<std::int32_t>(test::ReadFile(doc.Working().ClipFile).size());
    EXPECT_EQ(Records(doc.Blocks()), (Recs{pasted,
                                           {FrameStart(80), FrameStart(80) + size},
                                           {clip.StartPos + FrameStart(80), clip.EndPos + FrameStart(80)}}));
}

TEST_F(EditTest, PasteWithoutADocumentOpensTheFile) {
    ASSERT_EQ(doc.InitAll(), 1);
    ASSERT_EQ(doc.PasteFromFile(other), 1);
    EXPECT_EQ(doc.OrgFile(), other);
    EXPECT_EQ(doc.CurFile(), other);
    EXPECT_EQ(doc.Info().FirstFramePos, 301);
}

TEST_F(EditTest, PasteWithAnEmptyClipboardSaysThereIsNoData) {
    EXPECT_EQ(doc.Paste(), 0);
    EXPECT_EQ(sink.Messages, Messages{msg::kNoData});
    Select(FrameStart(1), FrameStart(5));
    ASSERT_EQ(doc.Copy(), 1);
    // Closing and opening again empties the clipboard.
    ASSERT_EQ(doc.OpenFile(src), 1);
    EXPECT_EQ(FileExists(doc.Working().ClipFile), 0);
    EXPECT_EQ(doc.Paste(), 0);
    EXPECT_EQ(sink.Last(), msg::kNoData);
    EXPECT_EQ(doc.CurFile(), src);
}

enum class Command { Copy, Delete, Cut, Write };

class NoSelectionTest : public EditTest, public ::testing::WithParamInterface<Command> {};

TEST_P(NoSelectionTest, SaysSoAndChangesNothing) {
    Select(FrameStart(10), FrameStart(10));  // an insertion point selects nothing
    const std::string target = dir.file("piece.mp3");
    switch (GetParam()) {
        case Command::Copy: EXPECT_EQ(doc.Copy(), 0); break;
        case Command::Delete: EXPECT_EQ(doc.Delete(), 0); break;
        case Command::Cut: EXPECT_EQ(doc.Cut(), 0); break;
        case Command::Write: EXPECT_EQ(doc.WriteToFile(target), 0); break;
    }
    EXPECT_EQ(sink.Messages, Messages{msg::kNotSelected});
    EXPECT_EQ(sink.BusyOn, 0);
    EXPECT_EQ(doc.CurFile(), src);
    EXPECT_EQ(FileExists(doc.Working().ClipFile), 0);
    EXPECT_EQ(FileExists(doc.Working().TempFile), 0);
    EXPECT_EQ(FileExists(target), 0);
}

// After an edit the selection is the one-byte point where it was made: a
// second delete or cut there removes no frame and keeps the undo and the clip.
TEST_F(EditTest, DeleteOrCutAgainWhereAnEditLeftTheSelectionKeepsItsUndo) {
    // Frames first..end - 1 in the middle, at the start and at the end.
    const std::pair<int, int> removals[] = {{10, 20}, {0, 10}, {90, kFrames}};
    for (const bool cut : {false, true}) {
        for (const auto& [first, end] : removals) {
            SCOPED_TRACE(testing::Message() << (cut ? "cut " : "delete ") << first << ".." << end);
            ASSERT_EQ(doc.OpenFile(src), 1);
            Select(first == 0 ? 1 : FrameStart(first), end == kFrames ? kLast : FrameStart(end));
            ASSERT_EQ(cut ? doc.Cut() : doc.Delete(), 1);
            ASSERT_EQ(Current(), Range(0, first) + Range(end, kFrames));
            const std::vector<int> clip = Clip();
            sink.Clear();
            EXPECT_EQ(cut ? doc.Cut() : doc.Delete(), 0);
            EXPECT_EQ(sink.Messages, Messages{msg::kNotSelected});
            EXPECT_EQ(Clip(), clip);
            ASSERT_EQ(doc.Undo(), 1);
            EXPECT_EQ(Current(), Range(0, kFrames));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Commands, NoSelectionTest,
                         ::testing::Values(Command::Copy, Command::Delete, Command::Cut, Command::Write));

TEST_F(EditTest, UndoRightAfterOpeningReloadsTheOpenedFile) {
    ASSERT_EQ(doc.Undo(), 1);
    EXPECT_EQ(sink.Messages, Messages{msg::kUndone});
    EXPECT_EQ(doc.CurFile(), src);
    EXPECT_EQ(doc.Blocks().BlockCount(), 1);
}

TEST_F(EditTest, UndoTogglesBetweenTheTwoNewestVersions) {
    Select(FrameStart(10), FrameStart(20));
    ASSERT_EQ(doc.Delete(), 1);
    const std::vector<int> first = Current();
    const Recs firstBlocks = Records(doc.Blocks());

    ASSERT_EQ(doc.Undo(), 1);  // back to the opened file
    EXPECT_EQ(doc.CurFile(), src);
    EXPECT_EQ(Records(doc.Blocks()), Recs{});
    ASSERT_EQ(doc.Undo(), 1);  // the edit again
    EXPECT_EQ(Current(), first);
    EXPECT_EQ(Records(doc.Blocks()), firstBlocks);

    Select(FrameStart(50), FrameStart(60));
    ASSERT_EQ(doc.Delete(), 1);
    const std::vector<int> second = Current();
    ASSERT_EQ(doc.Undo(), 1);
    EXPECT_EQ(Current(), first);
    EXPECT_EQ(Records(doc.Blocks()), firstBlocks);
    // Undo leaves the selection where the edit put it.
    EXPECT_EQ(doc.Sel.SelStart, FrameStart(50));
    ASSERT_EQ(doc.Undo(), 1);
    EXPECT_EQ(Current(), second);
    EXPECT_EQ(sink.Last(), msg::kUndone);
}

TEST_F(EditTest, AnEditAfterUndoingToTheOpenedFileUndoesBackToIt) {
    Select(FrameStart(10), FrameStart(20));
    ASSERT_EQ(doc.Delete(), 1);
    ASSERT_EQ(doc.Undo(), 1);
    Select(FrameStart(50), FrameStart(60));
    ASSERT_EQ(doc.Delete(), 1);
    EXPECT_EQ(Current(), Range(0, 50) + Range(60, kFrames));
    ASSERT_EQ(doc.Undo(), 1);
    // Not the undone first edit, which an old UndoFile would bring back.
    EXPECT_EQ(Current(), Range(0, kFrames));
    EXPECT_EQ(doc.CurFile(), src);
}

TEST_F(EditTest, WriteToFileWritesTheSelectedFramesOnly) {
    Select(FrameStart(10) + 5, FrameStart(20) + 5);
    ASSERT_EQ(doc.WriteToFile(dir.file("piece")), 1);  // the document's extension is added
    EXPECT_EQ(sink.Messages, (Messages{msg::kWriting, msg::kDone}));
    EXPECT_EQ(FrameNumbers(test::ReadFile(dir.file("piece.mp3"))), Range(11, 21));
    EXPECT_EQ(doc.CurFile(), src);
    EXPECT_EQ(doc.Blocks().BlockCount(), 1);

    // An existing file is replaced.
    Select(FrameStart(0), FrameStart(2));
    ASSERT_EQ(doc.WriteToFile(dir.file("piece.mp3")), 1);
    EXPECT_EQ(FrameNumbers(test::ReadFile(dir.file("piece.mp3"))), Range(0, 2));
}

TEST_F(EditTest, WriteToFileOfLessThanAFrameWritesNothing) {
    test::WriteFile(dir.file("keep.mp3"), {1, 2, 3});
    Select(FrameStart(10) + 5, FrameStart(10) + 100);
    EXPECT_EQ(doc.WriteToFile(dir.file("keep.mp3")), 0);
    EXPECT_EQ(sink.Last(), msg::kNoData);
    EXPECT_EQ(test::ReadFile(dir.file("keep.mp3")), (test::Bytes{1, 2, 3}));
}

TEST_F(EditTest, SelectAllTakesTheWholeAudio) {
    doc.SelectAll();
    EXPECT_EQ(doc.Sel.SelStart, 1);
    EXPECT_EQ(doc.Sel.SelEnd, kLast);
    EXPECT_EQ(doc.Sel.SelLength, kLast);
    EXPECT_EQ(doc.Sel.SelEndMs, doc.DurationMs());
    EXPECT_EQ(sink.SelectionChanges, 1);
}

// Copies let window events run; a command started from one is refused.
TEST_F(EditTest, ACommandStartedDuringAnotherIsRefused) {
    std::vector<int> results;
    SetEventPump([&] {
        if (!results.empty()) return;
        results = {doc.Copy(), doc.Undo(), doc.Paste(), doc.OpenFile(other), doc.InitAll(), doc.SaveAs(dir.file("x"))};
    });
    Select(FrameStart(10), FrameStart(20));
    const int deleted = doc.Delete();
    SetEventPump({});
    EXPECT_EQ(deleted, 1);
    EXPECT_EQ(results, (std::vector<int>{0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(std::count(sink.Messages.begin(), sink.Messages.end(), msg::kBusy), 6);
    EXPECT_EQ(Current(), Range(0, 10) + Range(20, kFrames));
    EXPECT_EQ(doc.OrgFile(), src);
    EXPECT_FALSE(doc.Running());
}

}  // namespace
}  // namespace kalvor
