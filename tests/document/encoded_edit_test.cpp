// Edits of files made by real encoders, judged by mp3val and ffprobe.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>

#include "document/document.h"
#include "mpeg/FCT_mpeg.h"
#include "repack/gapless.h"
#include "support/audio_checkers.h"
#include "support/document_harness.h"
#include "support/test_support.h"

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
        const int frames = test::FfprobePacketCount(path);
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

// The frames of the file's audio, chained by their lengths.
std::int64_t AudioFrames(const std::string& path) {
    StreamInfo info;
    if (AnalyzeStream(path, info) != 1) return -1;
    return CountFramesBetween(path, info.RefHeader, info.FirstFramePos - 1, info.AudioEndPos);
}

// The selection after a paste is the frames inserted, as the new version holds
// them: not the file's tags, nor a header frame left out. Deleting it takes no
// frame of the document.
TEST_P(EncodedEditTest, APastedFileIsSelectedWholeAndDeletedWithoutTakingOtherFrames) {
    const std::int64_t frames = AudioFrames(src);
    const int decoded = test::FfprobeFrameCount(src);
    SelectFraction(0.4, 0.4);
    ASSERT_EQ(doc.PasteFromFile(src), 1);
    const std::int64_t selected =
        CountFramesBetween(doc.CurFile(), doc.Info().RefHeader, doc.Sel.SelStart - 1, doc.Sel.SelEnd - 1);
    EXPECT_EQ(selected, AudioFrames(doc.CurFile()) - frames);
    ASSERT_EQ(doc.Delete(), 1);
    EXPECT_GE(test::FfprobeFrameCount(doc.CurFile()), decoded);
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

// An edit whose result would be a header frame with no whole frame after it:
// that header counts no frames, which the analysis refuses, so the result holds
// no audio and is written as nothing (the fuzzer met the paste).
constexpr std::size_t kVbrHeaderFrame = 417;

struct LoneHeaderCase {
    const char* name;
    std::function<int(Document&, const std::string& piece, const std::string& written)> edit;
    int result;
    bool toCurrent;  // the result is the new version, else the clipboard or the written file
};

void PrintTo(const LoneHeaderCase& c, std::ostream* os) {
    *os << c.name;
}

class LoneHeaderTest : public ::testing::TestWithParam<LoneHeaderCase> {};

TEST_P(LoneHeaderTest, IsWrittenAsNothing) {
    test::TempDir dir, work;
    Document doc{work.path().string()};
    const std::string src = test::TestAudio("vbr.mp3");
    const std::string piece = dir.file("piece.mp3"), written = dir.file("written.mp3");
    test::WriteFile(piece, test::ReadRange(src, 0, kVbrHeaderFrame + 200));  // the header frame and part of a frame
    ASSERT_EQ(doc.OpenFile(src), 1);
    ASSERT_EQ(GetParam().edit(doc, piece, written), GetParam().result);
    const std::string result =
        GetParam().toCurrent ? doc.CurFile() : (GetParam().result == 1 ? doc.Working().ClipFile : written);
    EXPECT_TRUE(!std::filesystem::exists(result) || std::filesystem::file_size(result) == 0) << result;
}

INSTANTIATE_TEST_SUITE_P(Edits, LoneHeaderTest,
                         ::testing::Values(LoneHeaderCase{"DeleteAfterTheHeaderFrame",
                                                          [](Document& d, auto&, auto&) {
                                                              d.Sel.SelectRange(350, d.Info().AudioEndPos);
                                                              return d.Delete();
                                                          },
                                                          1, true},
                                           LoneHeaderCase{"CopyOfTheHeaderFrame",
                                                          [](Document& d, auto&, auto&) {
                                                              d.Sel.SelectRange(
                                                                  1, static_cast<std::int32_t>(kVbrHeaderFrame));
                                                              return d.Copy();
                                                          },
                                                          1, false},
                                           LoneHeaderCase{"WriteOfTheHeaderFrame",
                                                          [](Document& d, auto&, const std::string& written) {
                                                              d.Sel.SelectRange(
                                                                  1, static_cast<std::int32_t>(kVbrHeaderFrame));
                                                              return d.WriteToFile(written);
                                                          },
                                                          0, false},
                                           LoneHeaderCase{"PasteOfTheHeaderFrameAndPartOfAFrame",
                                                          [](Document& d, const std::string& piece, auto&) {
                                                              d.SelectAll();
                                                              return d.PasteFromFile(piece);
                                                          },
                                                          1, true}),
                         [](const auto& info) { return std::string(info.param.name); });

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
