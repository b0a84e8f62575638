// Real-world damage, cut from encoder output: junk with a false sync before the
// audio, a broken first header, two ID3v2 tags, a VBRI header, 100 kB of 0xFF
// after the audio. Each opens as the checkers see it, and every file written
// from it is whole frames only: no broken-frame warning from mp3val, a header
// that agrees with its frames (a Xing header in place of the VBRI one), and a
// second finishing that changes no byte.
#include <gtest/gtest.h>

#include <filesystem>

#include "mpeg/FCT_mpeg.h"
#include "mpeg/finish_file.h"
#include "mpeg/xing_audit.h"
#include "support/audio_checkers.h"
#include "support/cli_program.h"
#include "support/param_names.h"
#include "support/test_support.h"

namespace kalvor {
namespace {

class HostileFile : public ::testing::TestWithParam<const char*> {
   protected:
    // Audio only: these files are about their frames, and a second ID3v2 tag
    // kept as the source holds it is no frame to mp3val.
    test::CommandResult Cli(const std::string& words) { return test::Run(test::CliProgram() + " --no-tags " + words); }
    std::string Source() const { return test::ShellQuote(test::TestAudio(GetParam())); }

    void ExpectWhole(const std::string& path) {
        SCOPED_TRACE(path);
        EXPECT_EQ(test::BrokenFrameWarnings(path), std::vector<std::string>{});
        XingAudit audit;
        ASSERT_TRUE(AuditXingFile(path, true, audit));
        EXPECT_EQ(audit.Walk.JunkBytes, 0);
        EXPECT_FALSE(audit.FromVbri);
        EXPECT_TRUE(HeaderCountsAgree(audit));
        const test::Bytes once = test::ReadFile(path);
        ASSERT_EQ(FinishWrittenFile(path, false), 1);
        EXPECT_TRUE(test::ReadFile(path) == once) << "a second finishing changed the file";
    }
    test::TempDir dir_;
};

TEST_P(HostileFile, OpensWithTheFormatTheCheckersSee) {
    StreamInfo info;
    ASSERT_TRUE(AnalyzeStreamWhy(test::TestAudio(GetParam()), info).Ok());
    EXPECT_EQ(info.Layer, 3);
    EXPECT_EQ(info.SampleRate, 44100);
    EXPECT_EQ(info.LongText.find("Mono"), std::string::npos);  // ffprobe: 2 channels
    FrameWalk walk;
    ASSERT_TRUE(WalkFrames(test::TestAudio(GetParam()), info.FirstFramePos - 1, info.RefHeader, walk));
    EXPECT_NEAR(info.DurationMs, walk.DurationMs(), walk.DurationMs() * 0.02);
}

TEST_P(HostileFile, SplitPiecesAreWholeFrames) {
    const std::string out = dir_.file("piece.mp3");
    const test::CommandResult r = Cli("split " + Source() + " " + test::ShellQuote(out) + " 5 10 17");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    for (int k = 1; k <= 4; ++k) ExpectWhole(dir_.file("piece - 0" + std::to_string(k) + ".mp3"));
}

TEST_P(HostileFile, EditsAndBuildsAreWholeFrames) {
    const std::string edited = dir_.file("edited.mp3"), built = dir_.file("built.mp3"), tail = dir_.file("tail.mp3");
    test::CommandResult r = Cli("edit " + Source() + " " + test::ShellQuote(edited) +
                                " select 3 6 cut select 12 12 paste" + " select 17 20 write " + test::ShellQuote(tail));
    ASSERT_EQ(r.exitCode, 0) << r.err << r.out;
    r = Cli("build " + Source() + " " + test::ShellQuote(built) + " 2 4 8 9 17 20");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    for (const std::string& path : {edited, built, tail}) ExpectWhole(path);
}

INSTANTIATE_TEST_SUITE_P(Files, HostileFile,
                         ::testing::Values("junk_sync.mp3", "bad_first.mp3", "two_id3v2.mp3", "vbri.mp3",
                                           "ff_tail.mp3"),
                         [](const auto& info) { return test::TestNameOfFile(info.param); });

}  // namespace
}  // namespace kalvor
