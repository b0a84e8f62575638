// The core's side of kept tags, with a stand-in for the tag layer: which files
// get the tags around which audio, and what the layer is told about each file.
#include <gtest/gtest.h>

#include "document/document.h"
#include "listwin/list_output.h"
#include "mpeg/FCT_mpeg.h"
#include "services/arith.h"
#include "support/document_harness.h"
#include "support/exact_frames_scope.h"
#include "support/frame_builder.h"

namespace kalvor {
namespace {

using test::Bytes;
using test::operator+;

// Hands the tags back as they are and notes what it was told.
class NotingRewriter : public TagRewriter {
   public:
    FileTags ForOutput(const FileTags& tags, const OutputFacts& facts) const override {
        Told.push_back({facts.LengthMs(), facts.Piece, facts.Pieces});
        return tags;
    }
    struct Facts {
        std::int32_t LengthMs;
        int Piece, Pieces;
        bool operator==(const Facts&) const = default;
    };
    mutable std::vector<Facts> Told;
};

const Bytes kLead = test::Id3v2Tag(300);
const Bytes kApe = Bytes{'A', 'P', 'E', 'T', 'A', 'G', 'E', 'X', 0xD0, 0x07, 0, 0, 32, 0, 0, 0,
                         0,   0,   0,   0,   0,   0,   0,   0,   0,    0,    0, 0, 0,  0, 0, 0};
const Bytes kTrail = kApe + test::Id3v1Tag();

// 100 numbered frames of 417 bytes (26 ms each at 128 kbit/s) between the tags.
class KeptTagsTest : public ::testing::Test {
   protected:
    // Which frames go where between the tags, byte for byte: as ExactFrames
    // writes them (repacking with tags is judged end to end by the CLI table).
    test::ExactFramesScope exactFrames;
    void SetUp() override {
        source = dir.file("song.mp3");
        test::WriteFile(source, kLead + test::NumberedFrames(0, 100) + kTrail);
        doc.SetTagRewriter(&rewriter);
        ASSERT_EQ(doc.OpenFile(source), 1);
    }
    // The numbers of the frames between the tags, once the tags are found in place.
    static std::vector<int> FramesBetweenTags(const std::string& path) {
        const Bytes bytes = test::ReadFile(path);
        const auto trail = static_cast<std::ptrdiff_t>(kTrail.size());
        if (bytes.size() <= kLead.size() + kTrail.size()) return {};
        EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 300), kLead) << path;
        EXPECT_EQ(Bytes(bytes.end() - trail, bytes.end()), kTrail) << path;
        return test::FrameNumbers(Bytes(bytes.begin() + 300, bytes.end() - trail));
    }
    // The length of n frames, as the tag layer is told it.
    static std::int32_t MsOf(int frames) { return RoundHalfEven(frames * 417 * 8 / 128.0); }

    test::TempDir dir, work;
    NotingRewriter rewriter;
    Document doc{work.path().string()};
    std::string source;
};

TEST_F(KeptTagsTest, TheAudioEndsBeforeTheTrailingTagsAndWorkingFilesHoldAudioOnly) {
    EXPECT_EQ(doc.Info().AudioEndPos, 300 + 100 * 417);
    doc.Sel.SelectRange(test::FrameStart(90) + 300, doc.Info().AudioEndPos);
    ASSERT_EQ(doc.Cut(), 1);
    EXPECT_EQ(test::FrameNumbers(test::ReadFile(doc.Working().ClipFile)), test::Range(90, 100));
    EXPECT_EQ(test::FrameNumbers(test::ReadFile(doc.CurFile())), test::Range(0, 90));
    // Pasting a tagged file inserts its frames only.
    doc.Sel.SelectRange(1, 1);
    ASSERT_EQ(doc.PasteFromFile(source), 1);
    EXPECT_EQ(test::FrameNumbers(test::ReadFile(doc.CurFile())), test::Range(0, 100) + test::Range(0, 90));
    EXPECT_TRUE(rewriter.Told.empty());
}

TEST_F(KeptTagsTest, SavesPutTheTagsAroundTheVersionAndEditingGoesOn) {
    doc.Sel.SelectRange(test::FrameStart(10) + 300, test::FrameStart(20) + 300);
    ASSERT_EQ(doc.Delete(), 1);
    const std::string saved = dir.file("saved.mp3");
    ASSERT_EQ(doc.SaveAs(saved), 1);
    EXPECT_EQ(FramesBetweenTags(saved), test::Range(0, 10) + test::Range(20, 100));
    // The document goes on with the version's audio, where its positions are.
    EXPECT_EQ(doc.OrgFile(), saved);
    EXPECT_EQ(doc.CurFile(), doc.Working().TempFile);
    doc.Sel.SelectRange(test::FrameStart(0), test::FrameStart(5));
    ASSERT_EQ(doc.Delete(), 1);
    ASSERT_EQ(doc.Overwrite(), 1);
    EXPECT_EQ(FramesBetweenTags(saved), test::Range(5, 10) + test::Range(20, 100));
    const std::string selection = dir.file("selection.mp3");
    doc.Sel.SelectRange(test::FrameStart(10), test::FrameStart(30));
    ASSERT_EQ(doc.WriteToFile(selection), 1);
    EXPECT_EQ(FramesBetweenTags(selection), test::Range(25, 45));
    using Facts = NotingRewriter::Facts;
    EXPECT_EQ(rewriter.Told, (std::vector<Facts>{{MsOf(90), 0, 0}, {MsOf(85), 0, 0}, {MsOf(20), 0, 0}}));
}

// Undo after a save brings back the opened file as it was, tags and all.
TEST_F(KeptTagsTest, AVersionWithTagsOfItsOwnIsSavedWithOneSetOfTags) {
    doc.Sel.SelectRange(test::FrameStart(10) + 300, test::FrameStart(20) + 300);
    ASSERT_EQ(doc.Delete(), 1);
    ASSERT_EQ(doc.SaveAs(dir.file("edited.mp3")), 1);
    ASSERT_EQ(doc.Undo(), 1);
    const std::string saved = dir.file("undone.mp3");
    ASSERT_EQ(doc.SaveAs(saved), 1);
    EXPECT_EQ(test::ReadFile(saved).size(), test::ReadFile(source).size());
    EXPECT_EQ(FramesBetweenTags(saved), test::Range(0, 100));
}

TEST_F(KeptTagsTest, PiecesAreToldTheirNumberAndLength) {
    ListDocument list;
    list.CurFile = list.OrgFile = source;
    list.Info = doc.Info();
    list.DurationMs = doc.DurationMs();
    list.Rewriter = &rewriter;
    list.Tags = doc.Tags();
    ListRows rows(ListMode::Split);
    for (int frame : {30, 70}) rows.Add(MsOf(frame), MsOf(frame), list.DurationMs);
    const std::string out = dir.file("piece.mp3");
    ASSERT_TRUE(WriteListOutput(rows, list, out).Ok());
    ASSERT_EQ(rewriter.Told.size(), 3u);
    std::vector<int> all;
    for (int k = 1; k <= 3; ++k) {
        const std::vector<int> frames = FramesBetweenTags(SplitPieceName(out, k));
        const NotingRewriter::Facts expected{MsOf(static_cast<int>(frames.size())), k, 3};
        EXPECT_EQ(rewriter.Told[static_cast<std::size_t>(k - 1)], expected);
        all = all + frames;
    }
    EXPECT_EQ(all, test::Range(0, 100));
}

}  // namespace
}  // namespace kalvor
