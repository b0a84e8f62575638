// kalvor-cli edit end to end: the steps, what it prints, what it writes, and
// how it fails.
#include <gtest/gtest.h>

#include <filesystem>

#include "document/messages.h"
#include "support/audio_checkers.h"
#include "support/document_harness.h"

namespace kalvor {
namespace {

using test::Bytes;
using test::ShellQuote;

class CliEditTest : public ::testing::Test {
   protected:
    // Runs kalvor-cli edit with its temporary folder inside tmp, so that what
    // it leaves behind can be seen.
    test::CommandResult Edit(const std::string& args) {
        return test::Run("TMPDIR=" + ShellQuote(tmp.path().string()) + " " + ShellQuote(test::CliPath()) + " edit " +
                         args);
    }
    std::string In(const std::string& name) { return ShellQuote(test::TestAudio(name)); }
    std::string Out(const std::string& name = "out.mp3") { return dir.file(name); }
    bool TempFolderEmpty() const { return std::filesystem::is_empty(tmp.path()); }

    test::TempDir dir;
    test::TempDir tmp;
};

// out is in with one run of frames moved: the frames before and after the two
// places match, and the middle is turned round by the moved run's length.
int MovedRunLength(const std::vector<Bytes>& in, const std::vector<Bytes>& out) {
    if (in.size() != out.size()) return -1;
    std::size_t first = 0, last = in.size();
    while (first < last && in[first] == out[first]) ++first;
    while (last > first && in[last - 1] == out[last - 1]) --last;
    const std::size_t n = last - first;
    for (std::size_t k = 1; k < n; ++k) {
        bool rotated = true;
        for (std::size_t i = 0; rotated && i < n; ++i) rotated = out[first + i] == in[first + (i + k) % n];
        if (rotated) return static_cast<int>(k);
    }
    return n == 0 ? 0 : -1;
}

// The frames moved are the source's, byte for byte, with --exact-frames.
TEST_F(CliEditTest, CutAndPasteMovesARangeOfAudio) {
    const auto r =
        Edit("--exact-frames " + In("cbr128_plain.mp3") + " " + Out() + " select 3 6 cut select 12 12 paste");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, std::string(msg::kCutting) + "\n" + msg::kDone + "\n" + msg::kPasting + "\n" + msg::kDone + "\n");
    EXPECT_EQ(test::BrokenFrameWarnings(Out()), std::vector<std::string>{});
    const auto in = test::SplitFrames(test::ReadFile(test::TestAudio("cbr128_plain.mp3")));
    const auto out = test::SplitFrames(test::ReadFile(Out()));
    // 3 s of 1152-sample frames at 44.1 kHz: 114.8 frames, so 114 or 115 whole ones.
    EXPECT_NEAR(MovedRunLength(in, out), 115, 1);
    EXPECT_TRUE(TempFolderEmpty());
}

TEST_F(CliEditTest, UndoTwiceRestoresTheEdit) {
    ASSERT_EQ(Edit(In("vbr.mp3") + " " + Out("once.mp3") + " select 3 6 delete").exitCode, 0);
    const auto r = Edit(In("vbr.mp3") + " " + Out("twice.mp3") + " select 3 6 delete undo undo");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(test::ReadFile(Out("twice.mp3")), test::ReadFile(Out("once.mp3")));
    EXPECT_EQ(test::BrokenFrameWarnings(Out("twice.mp3")), std::vector<std::string>{});
    // One undo goes back to the opened file, tags and all.
    ASSERT_EQ(Edit(In("vbr_tags.mp3") + " " + Out("back.mp3") + " select 3 6 delete undo").exitCode, 0);
    EXPECT_EQ(test::ReadFile(Out("back.mp3")), test::ReadFile(test::TestAudio("vbr_tags.mp3")));
}

TEST_F(CliEditTest, WriteCopyAndPasteFileStepsWriteSoundFiles) {
    const std::string piece = dir.file("piece.mp3");
    // Frames counted as the source has them: with --exact-frames a written
    // piece carries no frame from before its range.
    const auto r =
        Edit("--exact-frames " + In("cbr128.mp3") + " " + Out() + " select " + ShellQuote("0'02") + " 0:04.5 write " +
             ShellQuote(piece) + " copy select 1 1 paste select-all copy select 10 10 paste-file " + ShellQuote(piece));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    for (const std::string& file : {piece, Out()}) {
        EXPECT_EQ(test::BrokenFrameWarnings(file), std::vector<std::string>{}) << file;
    }
    const int source = test::FfprobeFrameCount(test::TestAudio("cbr128.mp3"));
    const int written = test::FfprobeFrameCount(piece);
    EXPECT_NEAR(written, 96, 1);  // 2.5 s
    EXPECT_EQ(test::FfprobeFrameCount(Out()), source + 2 * written);
}

struct FailCase {
    const char* name;
    const char* args;  // $IN is cbr128.mp3, $OUT the output path
    int exitCode;
    const char* err;  // a piece of the reason
};

class CliEditFailTest : public CliEditTest, public ::testing::WithParamInterface<FailCase> {};

TEST_P(CliEditFailTest, SaysWhyAndWritesNothing) {
    std::string args = GetParam().args;
    const auto put = [&](const std::string& key, const std::string& value) {
        for (auto at = args.find(key); at != std::string::npos; at = args.find(key))
            args.replace(at, key.size(), value);
    };
    put("$IN", In("cbr128.mp3"));
    put("$WAV", In("tone.wav"));
    put("$48K", In("cbr48k.mp3"));
    put("$OUT", ShellQuote(Out()));
    put("$DIR", ShellQuote(dir.path().string()));
    const auto r = Edit(args);
    EXPECT_EQ(r.exitCode, GetParam().exitCode) << r.err;
    EXPECT_NE(r.err.find(GetParam().err), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(Out()));
    EXPECT_TRUE(TempFolderEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CliEditFailTest,
    ::testing::Values(FailCase{"MissingSource", "$DIR/missing.mp3 $OUT select 1 2 delete", 1, "cannot open"},
                      FailCase{"SourceNotMpeg", "$WAV $OUT", 1, "cannot open"},
                      FailCase{"NothingSelected", "$IN $OUT delete", 1, "step 1 (delete) refused: 選択されていません"},
                      FailCase{"EmptyClipboard", "$IN $OUT select 1 1 paste", 1,
                               "step 2 (paste) refused: データがありません"},
                      FailCase{"OtherFormat", "$IN $OUT select 1 1 paste-file $48K", 1, kalvor::msg::kFormatMismatch},
                      FailCase{"WriteOverTheSource", "$IN $OUT select 1 2 write $IN", 1, kalvor::msg::kOwnFile},
                      FailCase{"OutInAMissingFolder", "$IN $DIR/none/out.mp3 select 1 2 delete", 1, "cannot write"},
                      FailCase{"UnknownStep", "$IN $OUT select 1 2 trim", 2, "unknown step: trim"},
                      FailCase{"MissingTime", "$IN $OUT select 1", 2, "select needs FROM and TO"},
                      FailCase{"UnreadableTime", "$IN $OUT select 1 2x", 2, "cannot read the time: 2x"},
                      FailCase{"NoOut", "$IN", 2, "edit takes SRC OUT"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kalvor
