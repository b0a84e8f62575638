// Bad sources and targets: the command says why, and neither the document nor
// any file of the user's changes.
#include <gtest/gtest.h>

#include <filesystem>

#include "document/document.h"
#include "document/messages.h"
#include "services/basic.h"
#include "support/document_harness.h"

namespace kalvor {
namespace {

using Messages = std::vector<std::string>;
using Recs = std::vector<BlockRec>;

Recs Records(const BlockList& list) {
    return Recs(list.Blocks().begin() + 1, list.Blocks().end());
}

// An open, once-edited document of cbr128.mp3 (20 s, 320 991 bytes).
class BadInputTest : public ::testing::Test {
   protected:
    void SetUp() override { OpenIn(work.path().string()); }

    void OpenIn(const std::string& folder) {
        doc = std::make_unique<Document>(folder, &sink);
        src = dir.file("song.mp3");
        std::filesystem::copy_file(test::TestAudio("cbr128.mp3"), src);
        ASSERT_EQ(doc->OpenFile(src), 1);
        SelectMs(1000, 2000);
        ASSERT_EQ(doc->Delete(), 1);
        SelectMs(5000, 6000);
        before = Snapshot();
        sink.Clear();
    }
    void SelectMs(std::int32_t from, std::int32_t to) {
        doc->Sel.SelectRange(doc->TimeScale().MsToPos(from), doc->TimeScale().MsToPos(to));
    }

    struct State {
        std::string cur;
        test::Bytes curBytes;
        std::int32_t audioLength;
        Recs blocks;
        std::int32_t selStart, selEnd, selLength;
        bool operator==(const State&) const = default;
    };
    State Snapshot() const {
        return {doc->CurFile(),     test::ReadFile(doc->CurFile()),
                doc->AudioLength(), Records(doc->Blocks()),
                doc->Sel.SelStart,  doc->Sel.SelEnd,
                doc->Sel.SelLength};
    }
    void ExpectUnchanged() {
        EXPECT_TRUE(Snapshot() == before);
        EXPECT_EQ(FileExists(doc->Working().WorkFile), 0);
        EXPECT_FALSE(doc->Running());
    }

    test::TempDir dir;
    test::TempDir work;
    test::RecordingSink sink;
    std::unique_ptr<Document> doc;
    std::string src;
    State before;
};

struct SourceCase {
    const char* name;
    const char* file;  // in the test audio, or "" for the bytes below
    test::Bytes bytes;
    const char* message;
};

class BadSourceTest : public BadInputTest, public ::testing::WithParamInterface<SourceCase> {};

TEST_P(BadSourceTest, IsNotPasted) {
    std::string path = dir.file("source.mp3");
    if (*GetParam().file) {
        path = test::TestAudio(GetParam().file);
    } else {
        test::WriteFile(path, GetParam().bytes);
    }
    EXPECT_EQ(doc->PasteFromFile(path), 0);
    EXPECT_EQ(sink.Messages, Messages{GetParam().message});
    EXPECT_EQ(sink.BusyOn, 0);
    ExpectUnchanged();
}

INSTANTIATE_TEST_SUITE_P(Sources, BadSourceTest,
                         ::testing::Values(SourceCase{"Wave", "tone.wav", {}, msg::kNotMpeg},
                                           SourceCase{"Text", "", test::Bytes(3000, 'x'), msg::kNotMpeg},
                                           SourceCase{"Mpeg25", "mpeg25.mp3", {}, msg::kMpeg25},
                                           SourceCase{"Empty", "", {}, msg::kNoData},
                                           SourceCase{"OtherSampleRate", "cbr48k.mp3", {}, msg::kFormatMismatch},
                                           SourceCase{"Mono", "mono.mp3", {}, msg::kFormatMismatch},
                                           SourceCase{"LowerSamplingFrequency", "lsf.mp3", {}, msg::kFormatMismatch},
                                           SourceCase{"LayerTwo", "mp2_48k.mp2", {}, msg::kFormatMismatch}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(BadInputTest, AMissingPasteSourceHasNoData) {
    EXPECT_EQ(doc->PasteFromFile(dir.file("missing.mp3")), 0);
    EXPECT_EQ(sink.Messages, Messages{msg::kNoData});
    ExpectUnchanged();
}

TEST_F(BadInputTest, ACurrentVersionThatVanishedCannotBeEdited) {
    const test::Bytes bytes = test::ReadFile(doc->CurFile());
    std::filesystem::remove(doc->CurFile());
    EXPECT_EQ(doc->Delete(), 0);
    EXPECT_EQ(sink.Last(), msg::kReadFailed);
    test::WriteFile(doc->CurFile(), bytes);
    ExpectUnchanged();
}

TEST_F(BadInputTest, AMissingTargetFolderIsReported) {
    const std::string target = dir.file("no-such-folder") + "/piece.mp3";
    EXPECT_EQ(doc->WriteToFile(target), 0);
    EXPECT_EQ(sink.Last(), msg::kWriteFailed);
    EXPECT_EQ(doc->SaveAs(target), 0);
    EXPECT_EQ(sink.Last(), msg::kWriteFailed);
    EXPECT_FALSE(std::filesystem::exists(dir.file("no-such-folder")));
    ExpectUnchanged();
    EXPECT_EQ(doc->OrgFile(), src);
}

TEST_F(BadInputTest, AReadOnlyTargetIsLeftAlone) {
    test::SmallDisk disk(400);
    if (!disk.Ok()) GTEST_SKIP() << "cannot mount a small file system here (not root?)";
    const std::string target = disk.file("keep.mp3");
    test::WriteFile(target, {1, 2, 3});
    ASSERT_TRUE(disk.MakeReadOnly());
    EXPECT_EQ(doc->WriteToFile(target), 0);
    EXPECT_EQ(sink.Last(), msg::kWriteFailed);
    EXPECT_EQ(doc->SaveAs(target), 0);
    EXPECT_EQ(sink.Last(), msg::kWriteFailed);
    EXPECT_EQ(doc->SaveAs(disk.file("new.mp3")), 0);
    EXPECT_EQ(test::ReadFile(target), (test::Bytes{1, 2, 3}));
    ExpectUnchanged();
    EXPECT_EQ(doc->OrgFile(), src);
}

TEST_F(BadInputTest, AFullDiskKeepsTheOldTargetWhole) {
    test::SmallDisk disk(100);
    if (!disk.Ok()) GTEST_SKIP() << "cannot mount a small file system here (not root?)";
    const std::string target = disk.file("keep.mp3");
    test::WriteFile(target, test::Bytes(20000, 7));
    SelectMs(1000, 15000);  // about 220 000 bytes
    EXPECT_EQ(doc->WriteToFile(target), 0);
    EXPECT_EQ(sink.Last(), msg::kWriteFailed);
    EXPECT_EQ(doc->SaveAs(target), 0);
    EXPECT_EQ(sink.Last(), msg::kWriteFailed);
    EXPECT_EQ(test::ReadFile(target), test::Bytes(20000, 7));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(disk.Folder()), {}), 1);  // no part file left
    EXPECT_EQ(doc->OrgFile(), src);
}

// The working folder fills up while an edit builds the new version.
class FullWorkFolderTest : public BadInputTest {
   protected:
    void SetUp() override {
        if (!disk.Ok()) GTEST_SKIP() << "cannot mount a small file system here (not root?)";
        // Room for the first edit's version and a small clip, not for a second version.
        OpenIn(disk.Folder());
    }
    test::SmallDisk disk{700};
};

TEST_F(FullWorkFolderTest, AnEditThatDoesNotFitChangesNothing) {
    SelectMs(3000, 3500);
    ASSERT_EQ(doc->Copy(), 1);
    const test::Bytes clip = test::ReadFile(doc->Working().ClipFile);
    const Recs clipBlocks = Recs(doc->Blocks().ClipBlocks().begin() + 1, doc->Blocks().ClipBlocks().end());
    SelectMs(5000, 6000);
    before = Snapshot();
    // Fill the disk so that no new version fits.
    test::WriteFile(disk.file("filler"), test::Bytes(700 * 1024 - 320991 - clip.size() - 150000, 0));
    sink.Clear();
    EXPECT_EQ(doc->Delete(), 0);
    EXPECT_EQ(sink.Messages, (Messages{msg::kDeleting, msg::kWriteFailed}));
    ExpectUnchanged();
    EXPECT_EQ(sink.BusyOn, sink.BusyOff);

    SelectMs(1000, 17000);
    before = Snapshot();
    EXPECT_EQ(doc->Copy(), 0);
    EXPECT_EQ(sink.Last(), msg::kWriteFailed);
    EXPECT_EQ(test::ReadFile(doc->Working().ClipFile), clip);  // the old clipboard stays
    ExpectUnchanged();

    SelectMs(5000, 5000);
    before = Snapshot();
    EXPECT_EQ(doc->Paste(), 0);
    EXPECT_EQ(sink.Last(), msg::kWriteFailed);
    ExpectUnchanged();
    EXPECT_EQ(Recs(doc->Blocks().ClipBlocks().begin() + 1, doc->Blocks().ClipBlocks().end()), clipBlocks);

    // Room again: the same edit goes through, and undo still works.
    std::filesystem::remove(disk.file("filler"));
    SelectMs(5000, 6000);
    ASSERT_EQ(doc->Delete(), 1);
    ASSERT_EQ(doc->Undo(), 1);
    EXPECT_EQ(test::ReadFile(doc->CurFile()), before.curBytes);
}

}  // namespace
}  // namespace kalvor
