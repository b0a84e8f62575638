// Edits of files made by real encoders, judged by mp3val and ffprobe.
#include <gtest/gtest.h>

#include <cmath>

#include "document/document.h"
#include "support/audio_checkers.h"
#include "support/document_harness.h"

namespace kalvor {
namespace {

struct EncodedCase {
    const char* file;
    int samplesPerFrame;
    int sampleRate;
};

class EncodedEditTest : public ::testing::TestWithParam<EncodedCase> {
   protected:
    void SetUp() override {
        src = test::TestAudio(GetParam().file);
        ASSERT_EQ(doc.OpenFile(src), 1);
    }
    void SelectFraction(double from, double to) {
        const auto at = [&](double f) {
            return doc.TimeScale().MsToPos(static_cast<std::int32_t>(f * doc.DurationMs()));
        };
        doc.Sel.SelectRange(at(from), at(to));
    }
    // A written file is sound: no broken frame, and a Xing/Info header that
    // tells the length the frames have.
    void ExpectSound(const std::string& path) {
        EXPECT_EQ(test::BrokenFrameWarnings(path), std::vector<std::string>{}) << path;
        const int frames = test::FfprobeFrameCount(path);
        ASSERT_GT(frames, 0) << path;
        const double expectedMs = 1000.0 * frames * GetParam().samplesPerFrame / GetParam().sampleRate;
        EXPECT_NEAR(test::FfprobeDurationMs(path), expectedMs, 60.0) << path;
    }

    test::TempDir dir;
    test::TempDir work;
    Document doc{work.path().string()};
    std::string src;
};

TEST_P(EncodedEditTest, CutAndPasteElsewhereKeepsEveryFrame) {
    const int frames = test::FfprobeFrameCount(src);
    SelectFraction(0.25, 0.45);
    ASSERT_EQ(doc.Cut(), 1);
    ExpectSound(doc.CurFile());
    ExpectSound(doc.Working().ClipFile);
    const int clipFrames = test::FfprobeFrameCount(doc.Working().ClipFile);
    EXPECT_EQ(test::FfprobeFrameCount(doc.CurFile()) + clipFrames, frames);

    SelectFraction(0.6, 0.6);
    ASSERT_EQ(doc.Paste(), 1);
    ExpectSound(doc.CurFile());
    EXPECT_EQ(test::FfprobeFrameCount(doc.CurFile()), frames);

    // Undo twice: back to the cut, then the paste again, byte for byte.
    const test::Bytes pasted = test::ReadFile(doc.CurFile());
    ASSERT_EQ(doc.Undo(), 1);
    EXPECT_EQ(test::FfprobeFrameCount(doc.CurFile()), frames - clipFrames);
    ASSERT_EQ(doc.Undo(), 1);
    EXPECT_EQ(test::ReadFile(doc.CurFile()), pasted);
}

TEST_P(EncodedEditTest, DeleteCopyAndWriteGiveSoundFiles) {
    SelectFraction(0.1, 0.2);
    ASSERT_EQ(doc.Delete(), 1);
    ExpectSound(doc.CurFile());
    SelectFraction(0.0, 0.3);  // from the very start
    ASSERT_EQ(doc.Copy(), 1);
    ExpectSound(doc.Working().ClipFile);
    SelectFraction(0.5, 1.0);  // to the very end
    ASSERT_EQ(doc.WriteToFile(dir.file("piece")), 1);
    ExpectSound(dir.file("piece") + doc.FileExt());
    ASSERT_EQ(doc.PasteFromFile(src), 1);  // the whole source again, over the selection
    ExpectSound(doc.CurFile());
    ASSERT_EQ(doc.SaveAs(dir.file("saved")), 1);
    ExpectSound(doc.OrgFile());
}

// The first edit drops the file's leading tag: the selection and the edit's mark
// stay at the time they were, and so does the selection through undo and redo.
TEST(TaggedEdit, SelectionAndMarkStayOnTheirAudio) {
    test::TempDir work;
    Document doc{work.path().string()};
    ASSERT_EQ(doc.OpenFile(test::TestAudio("cbr128_tags.mp3")), 1);
    ASSERT_GT(doc.Info().FirstFramePos, 2000);
    doc.Sel.SelectRange(doc.TimeScale().MsToPos(12000), doc.TimeScale().MsToPos(15000));
    ASSERT_EQ(doc.Delete(), 1);
    const auto msOf = [&](std::int32_t pos) { return doc.TimeScale().PosToMs(pos); };
    EXPECT_NEAR(doc.Sel.SelStartMs, 12000, 5);
    EXPECT_NEAR(msOf(doc.Blocks().Blocks()[1].StartPos), 12000, 5);
    for (int undo = 0; undo < 2; ++undo) {
        ASSERT_EQ(doc.Undo(), 1);
        EXPECT_NEAR(doc.Sel.SelStartMs, 12000, 5) << undo;
    }
    EXPECT_NEAR(msOf(doc.Blocks().Blocks()[1].StartPos), 12000, 5);
}

INSTANTIATE_TEST_SUITE_P(Files, EncodedEditTest,
                         ::testing::Values(EncodedCase{"cbr128.mp3", 1152, 44100},
                                           EncodedCase{"vbr_tags.mp3", 1152, 44100},
                                           EncodedCase{"lsf_vbr.mp3", 576, 22050},
                                           EncodedCase{"ffmpeg.mp3", 1152, 48000},
                                           EncodedCase{"mp2_48k_tags.mp2", 1152, 48000}),
                         [](const auto& info) {
                             std::string name = info.param.file;
                             for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });

}  // namespace
}  // namespace kalvor
