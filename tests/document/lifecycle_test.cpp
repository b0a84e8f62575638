// Opening, closing, the working files, the player hand-over and saving.
#include <gtest/gtest.h>

#include <filesystem>

#include "document/document.h"
#include "document/messages.h"
#include "services/basic.h"
#include "support/document_harness.h"
#include "support/exact_frames_scope.h"
#include "support/frame_builder.h"

namespace kalvor {
namespace {

using test::FrameNumbers;
using test::FrameStart;
using test::Range;
using test::operator+;

constexpr int kFrames = 60;

class FakePlayer : public Player {
   public:
    void DropGraph() override { calls += "drop "; }
    void CreateGraph() override { calls += "create "; }
    void SetFileName(const std::string& path) override { calls += "open:" + path + " "; }
    std::int32_t Length() override { return length; }

    std::string calls;
    std::int32_t length = 0;
};

class LifecycleTest : public ::testing::Test {
   protected:
    void SetUp() override {
        src = dir.file("song.mp3");
        test::WriteFile(src, test::NumberedFrames(0, kFrames));
    }
    std::vector<int> Frames(const std::string& path) const { return FrameNumbers(test::ReadFile(path)); }
    void DeleteFrames(int first, int end) {
        doc.Sel.SelectRange(FrameStart(first), FrameStart(end));
        ASSERT_EQ(doc.Delete(), 1);
    }

    // Which frames each version holds, byte for byte: as ExactFrames writes them.
    test::ExactFramesScope exactFrames;
    test::TempDir dir;
    test::TempDir work;
    test::RecordingSink sink;
    Document doc{work.path().string(), &sink};
    std::string src;
};

TEST_F(LifecycleTest, OpenSetsTheFilesAndAnalysesTheDocument) {
    ASSERT_EQ(doc.OpenFile(src), 1);
    EXPECT_TRUE(doc.IsOpen());
    EXPECT_EQ(doc.OrgFile(), src);
    EXPECT_EQ(doc.CurFile(), src);
    EXPECT_EQ(doc.FileExt(), ".mp3");
    EXPECT_EQ(doc.AudioLength(), kFrames * test::kNumberedFrameBytes);
    EXPECT_EQ(doc.DurationMs(), 1564);  // 25020 bytes at 16 bytes per ms
    EXPECT_EQ(doc.Working().UndoFile, work.file("undo.mp3"));
    EXPECT_EQ(doc.Working().ClipFile, work.file("clip.mp3"));
    EXPECT_EQ(sink.Resets, 1);
    EXPECT_EQ(sink.Loads, std::vector<LoadReason>{LoadReason::Open});
    EXPECT_EQ(sink.BusyOn, 1);
    EXPECT_EQ(sink.BusyOff, 1);
}

struct NameCase {
    const char* file;
    const char* ext;
    const char* undo;
};

class WorkingNameTest : public LifecycleTest, public ::testing::WithParamInterface<NameCase> {};

TEST_P(WorkingNameTest, TakeTheExtensionAsWritten) {
    const std::string path = dir.file(GetParam().file);
    test::WriteFile(path, test::NumberedFrames(0, 10));
    ASSERT_EQ(doc.OpenFile(path), 1);
    EXPECT_EQ(doc.FileExt(), GetParam().ext);
    EXPECT_EQ(doc.Working().UndoFile, work.file(GetParam().undo));
}

INSTANTIATE_TEST_SUITE_P(Names, WorkingNameTest,
                         ::testing::Values(NameCase{"song.MP3", ".MP3", "undo.MP3"}, NameCase{"song", "", "undo"},
                                           NameCase{"a.b.mp2", ".mp2", "undo.mp2"}));

TEST_F(LifecycleTest, OpeningAPathThatIsNoFileLeavesTheDocumentClosed) {
    ASSERT_EQ(doc.OpenFile(src), 1);
    EXPECT_EQ(doc.OpenFile(dir.file("missing.mp3")), 0);
    EXPECT_FALSE(doc.IsOpen());
    EXPECT_EQ(doc.AudioLength(), 0);
    EXPECT_EQ(doc.FileExt(), ".mp3");
    EXPECT_EQ(doc.OpenFile(dir.path().string()), 0);  // a folder
    EXPECT_FALSE(doc.IsOpen());
}

TEST_F(LifecycleTest, AFileThatIsNotMpegIsOpenWithNothingToShow) {
    const std::string text = dir.file("notes.mp3");
    test::WriteFile(text, test::Bytes(5000, 'a'));
    EXPECT_EQ(doc.OpenFile(text), 0);
    EXPECT_TRUE(doc.IsOpen());
    EXPECT_EQ(doc.AudioLength(), 0);
    EXPECT_EQ(sink.Last(), msg::kNotMpeg);
    doc.SelectAll();
    EXPECT_EQ(doc.Delete(), 0);
    EXPECT_EQ(sink.Last(), msg::kNotSelected);
}

TEST_F(LifecycleTest, AFileNamedLikeAWorkingFileIsNotOpened) {
    ASSERT_EQ(doc.OpenFile(src), 1);
    const std::string clip = work.file("clip.mp3");
    test::WriteFile(clip, test::NumberedFrames(0, 10));
    EXPECT_EQ(doc.OpenFile(clip), 0);
    EXPECT_EQ(sink.Last(), msg::kWorkingName);
    EXPECT_EQ(doc.OrgFile(), src);  // the open document stays
    EXPECT_EQ(Frames(clip), Range(0, 10));
}

TEST_F(LifecycleTest, ClosingDeletesTheWorkingFiles) {
    ASSERT_EQ(doc.OpenFile(src), 1);
    DeleteFrames(10, 20);
    DeleteFrames(10, 20);
    doc.Sel.SelectRange(FrameStart(1), FrameStart(5));
    ASSERT_EQ(doc.Copy(), 1);
    const WorkingFiles files = doc.Working();
    for (const std::string& f : {files.UndoFile, files.TempFile, files.ClipFile}) EXPECT_EQ(FileExists(f), 1) << f;
    ASSERT_EQ(doc.InitAll(), 1);
    for (const std::string& f : {files.UndoFile, files.TempFile, files.ClipFile}) EXPECT_EQ(FileExists(f), 0) << f;
    EXPECT_FALSE(doc.IsOpen());
    EXPECT_EQ(doc.Blocks().BlockCount(), 1);
    EXPECT_EQ(doc.Sel.SelLength, 0);
    EXPECT_EQ(Frames(src), Range(0, kFrames));
}

TEST_F(LifecycleTest, TheDocumentLeavesNoWorkingFilesBehind) {
    std::string temp;
    {
        Document scoped(work.path().string());
        ASSERT_EQ(scoped.OpenFile(src), 1);
        scoped.Sel.SelectRange(FrameStart(10), FrameStart(20));
        ASSERT_EQ(scoped.Delete(), 1);
        temp = scoped.Working().TempFile;
        ASSERT_EQ(FileExists(temp), 1);
    }
    EXPECT_EQ(FileExists(temp), 0);
}

TEST_F(LifecycleTest, ThePlayerLetsGoOfFilesAndGivesTheDuration) {
    FakePlayer player;
    player.length = 1600;
    doc.SetPlayer(&player);
    ASSERT_EQ(doc.OpenFile(src), 1);
    EXPECT_EQ(player.calls, "drop create drop create open:" + src + " ");
    EXPECT_EQ(doc.DurationMs(), 1600);
    player.calls.clear();
    DeleteFrames(10, 20);
    // Released before the files move, then given the new version.
    EXPECT_EQ(player.calls, "drop create drop create open:" + doc.Working().TempFile + " ");
    player.length = 0;  // a length the player does not know comes from the analysis
    ASSERT_EQ(doc.Undo(), 1);
    EXPECT_EQ(doc.DurationMs(), 1564);
}

TEST_F(LifecycleTest, SaveAsKeepsTheWorkingFilesAndUndo) {
    ASSERT_EQ(doc.OpenFile(src), 1);
    DeleteFrames(10, 20);
    DeleteFrames(10, 20);
    const std::string saved = dir.file("saved");
    ASSERT_EQ(doc.SaveAs(saved), 1);
    EXPECT_EQ(doc.OrgFile(), saved + ".mp3");
    EXPECT_EQ(doc.CurFile(), saved + ".mp3");
    EXPECT_EQ(Frames(saved + ".mp3"), Range(0, 10) + Range(30, kFrames));
    EXPECT_EQ(Frames(src), Range(0, kFrames));
    ASSERT_EQ(doc.Undo(), 1);
    EXPECT_EQ(Frames(doc.CurFile()), Range(0, 10) + Range(20, kFrames));
}

TEST_F(LifecycleTest, OverwriteReplacesTheOpenedFileWithTheCurrentVersion) {
    ASSERT_EQ(doc.OpenFile(src), 1);
    ASSERT_EQ(doc.Overwrite(), 1);  // nothing edited: nothing happens
    EXPECT_EQ(Frames(src), Range(0, kFrames));
    DeleteFrames(10, 20);
    ASSERT_EQ(doc.Overwrite(), 1);
    EXPECT_EQ(Frames(src), Range(0, 10) + Range(20, kFrames));
    EXPECT_EQ(doc.CurFile(), src);
    EXPECT_EQ(std::filesystem::exists(src + ".kalvor-copy"), false);
}

TEST_F(LifecycleTest, SaveToTheCurrentVersionDoesNothing) {
    ASSERT_EQ(doc.OpenFile(src), 1);
    const std::string sameFile = dir.path().string() + "/./song.mp3";
    ASSERT_EQ(doc.SaveToFile(sameFile), 1);
    EXPECT_EQ(doc.CurFile(), src);
    EXPECT_EQ(Frames(src), Range(0, kFrames));
}

// Saving onto a working file, or writing the selection onto any of the
// document's own files, would destroy what the copy reads from or what undo
// needs; the paths are compared normalised.
TEST_F(LifecycleTest, SaveAsAndWriteRefuseTheDocumentsOwnFiles) {
    ASSERT_EQ(doc.OpenFile(src), 1);
    DeleteFrames(10, 20);
    DeleteFrames(10, 20);
    const std::string opened = dir.path().string() + "/../" + dir.path().filename().string() + "/song.mp3";
    const std::vector<std::string> own = {doc.Working().TempFile, doc.Working().UndoFile,
                                          work.path().string() + "//clip.mp3", work.file("work"), opened};
    doc.Sel.SelectRange(FrameStart(1), FrameStart(5));
    for (const std::string& path : own) {
        sink.Clear();
        EXPECT_EQ(doc.WriteToFile(path), 0) << path;
        EXPECT_EQ(sink.Messages, std::vector<std::string>{msg::kOwnFile}) << path;
        if (path == opened) continue;  // save as copies over the opened file (below)
        sink.Clear();
        EXPECT_EQ(doc.SaveAs(path), 0) << path;
        EXPECT_EQ(sink.Messages, std::vector<std::string>{msg::kOwnFile}) << path;
    }
    EXPECT_EQ(Frames(src), Range(0, kFrames));
    EXPECT_EQ(Frames(doc.Working().UndoFile), Range(0, 10) + Range(20, kFrames));
    EXPECT_EQ(doc.SaveToFile(doc.Working().UndoFile), 0);
    EXPECT_EQ(sink.Last(), msg::kOwnFile);
}

// Save as onto the opened file is what Overwrite does; onto the current version
// it has nothing to do.
TEST_F(LifecycleTest, SaveAsOntoTheOpenedFileCopiesTheCurrentVersionOverIt) {
    ASSERT_EQ(doc.OpenFile(src), 1);
    DeleteFrames(10, 20);
    sink.Clear();
    ASSERT_EQ(doc.SaveAs(dir.path().string() + "/./song"), 1);
    EXPECT_EQ(Frames(src), Range(0, 10) + Range(20, kFrames));
    EXPECT_TRUE(SamePath(doc.CurFile(), src));
    ASSERT_EQ(doc.SaveAs(src), 1);
    EXPECT_EQ(Frames(src), Range(0, 10) + Range(20, kFrames));
    EXPECT_EQ(sink.Messages, std::vector<std::string>{});
}

// One edit, then any save, then undo: the version before the edit comes back
// (though the saved file is now the opened one, or was written over it), and a
// second undo brings the edit back.
enum class SaveKind { SaveAsAnother, SaveAsTheOpened, Overwrite, HandOver };
class UndoAfterSave : public LifecycleTest, public ::testing::WithParamInterface<SaveKind> {};

TEST_P(UndoAfterSave, ReachesTheVersionBeforeTheEdit) {
    ASSERT_EQ(doc.OpenFile(src), 1);
    DeleteFrames(10, 20);
    test::TempDir other;
    switch (GetParam()) {
        case SaveKind::SaveAsAnother: ASSERT_EQ(doc.SaveAs(dir.file("saved.mp3")), 1); break;
        case SaveKind::SaveAsTheOpened: ASSERT_EQ(doc.SaveAs(src), 1); break;
        case SaveKind::Overwrite: ASSERT_EQ(doc.Overwrite(), 1); break;
        case SaveKind::HandOver: ASSERT_EQ(doc.SaveToFile(other.file("song.mp3")), 1); break;
    }
    ASSERT_EQ(doc.Undo(), 1);
    EXPECT_EQ(Frames(doc.CurFile()), Range(0, kFrames));
    ASSERT_EQ(doc.Undo(), 1);
    EXPECT_EQ(Frames(doc.CurFile()), Range(0, 10) + Range(20, kFrames));
}

std::string SaveKindName(const ::testing::TestParamInfo<SaveKind>& info) {
    static const char* const kNames[] = {"SaveAsAnother", "SaveAsTheOpened", "Overwrite", "HandOver"};
    return kNames[static_cast<int>(info.param)];
}
INSTANTIATE_TEST_SUITE_P(, UndoAfterSave,
                         ::testing::Values(SaveKind::SaveAsAnother, SaveKind::SaveAsTheOpened, SaveKind::Overwrite,
                                           SaveKind::HandOver),
                         SaveKindName);

}  // namespace
}  // namespace kalvor
