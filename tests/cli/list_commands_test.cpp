// kalvor-cli report, split and build, end to end.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "mpeg/FCT_mpeg.h"
#include "services/basic.h"
#include "support/audio_checkers.h"
#include "support/test_support.h"

namespace kalvor {
namespace {

using test::Bytes;
using test::CliPath;
using test::ShellQuote;

std::string Q(const std::string& word) {
    return " " + ShellQuote(word);
}
test::CommandResult Cli(const std::string& words) {
    return test::Run(CliPath() + " " + words);
}

class ListCommands : public ::testing::Test {
   protected:
    // A copy of a test file inside the temporary folder, so outputs land there.
    std::string Source(const std::string& name, const std::string& as) {
        const std::string path = dir_.file(as);
        std::filesystem::copy_file(test::TestAudio(name), path);
        return path;
    }
    test::TempDir dir_;
};

TEST_F(ListCommands, ReportPrintsTheReportAsItIs) {
    const std::string src = Source("cbr128.mp3", "song.mp3");
    StreamInfo info;
    ASSERT_EQ(AnalyzeStream(src, info), 1);
    const auto r = Cli("report" + Q(src));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    // The type name on line 2 is the platform's, where there is one (a test of its own).
    const std::size_t typeEnd = r.out.find("\r\n", src.size() + 2);
    ASSERT_NE(typeEnd, std::string::npos) << r.out;
    EXPECT_EQ(r.out.substr(0, src.size() + 2), src + "\r\n");
    EXPECT_EQ(r.out.substr(typeEnd), "\r\nmp3(44100Hz/128kbps/JointStereo)\r\n" + MsToTimeText(info.DurationMs) + "\n");
}

TEST_F(ListCommands, ReportFailures) {
    auto r = Cli("report" + Q(dir_.file("missing.mp3")));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("no such file"), std::string::npos) << r.err;
    EXPECT_EQ(Cli("report").exitCode, 2);
    EXPECT_EQ(Cli("report a b").exitCode, 2);
}

TEST_F(ListCommands, SplitWritesAndNamesThePieces) {
    const std::string src = Source("mp2_48k_tags.mp2", "talk.mp2");
    StreamInfo info;
    ASSERT_EQ(AnalyzeStream(src, info), 1);
    const std::string out = dir_.file("part.mp2");
    // Audio only, so that the pieces join to the source's audio; kept tags have tests of their own.
    const auto r = Cli("--no-tags split" + Q(src) + Q(out) + " 8 \"000'04.000\"");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string p1 = dir_.file("part - 01.mp2"), p2 = dir_.file("part - 02.mp2"), p3 = dir_.file("part - 03.mp2");
    EXPECT_EQ(r.out, p1 + "\n" + p2 + "\n" + p3 + "\n");
    Bytes joined;
    for (const auto& p : {p1, p2, p3}) {
        const Bytes b = test::ReadFile(p);
        joined.insert(joined.end(), b.begin(), b.end());
        EXPECT_EQ(test::BrokenFrameWarnings(p), std::vector<std::string>{}) << p;
    }
    EXPECT_TRUE(joined == test::ReadRange(src, static_cast<std::size_t>(info.FirstFramePos - 1),
                                          static_cast<std::size_t>(info.AudioEndPos - info.FirstFramePos + 1)));
}

TEST_F(ListCommands, SplitRefusals) {
    const std::string src = Source("cbr128_plain.mp3", "a - 01.mp3");
    const Bytes before = test::ReadFile(src);
    // Piece 01 of "a.mp3" would be the source itself.
    auto r = Cli("split" + Q(src) + Q(dir_.file("a.mp3")) + " 5");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("document's own file"), std::string::npos) << r.err;
    EXPECT_TRUE(test::ReadFile(src) == before);
    EXPECT_FALSE(std::filesystem::exists(dir_.file("a - 02.mp3")));

    r = Cli("split" + Q(src) + Q(dir_.file("b.mp3")) + " 500");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("beyond the end"), std::string::npos) << r.err;
    EXPECT_EQ(Cli("split" + Q(src) + Q(dir_.file("b.mp3")) + " 1x").exitCode, 2);
    EXPECT_EQ(Cli("split" + Q(src) + Q(dir_.file("b.mp3")) + " -5").exitCode, 2);
    EXPECT_EQ(Cli("split" + Q(src) + Q(dir_.file("b.mp3"))).exitCode, 2);

    const std::string text = dir_.file("notes.mp3");
    test::WriteFile(text, Bytes(4096, 'x'));
    r = Cli("split" + Q(text) + Q(dir_.file("c.mp3")) + " 1");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_FALSE(r.err.empty());
    EXPECT_FALSE(std::filesystem::exists(dir_.file("c - 01.mp3")));
}

TEST_F(ListCommands, BuildJoinsRangesInTheGivenOrder) {
    const std::string src = Source("mono.mp3", "m.mp3");
    const std::string out = dir_.file("joined.mp3");
    test::WriteFile(out, Bytes(50000, 0x41));
    // Compared byte for byte: the ranges' frames as --exact-frames writes them.
    const auto r = Cli("--exact-frames build" + Q(src) + Q(out) + " 6 8 1 2");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, out + "\n");
    EXPECT_EQ(test::BrokenFrameWarnings(out), std::vector<std::string>{});
    EXPECT_NEAR(test::FfprobeDurationMs(out), 3000, 80);
    // The 6..8 s range comes first: the output starts with the frame at 6 s, not 1 s.
    const auto six = Cli("--exact-frames build" + Q(src) + Q(dir_.file("six.mp3")) + " 6 8");
    ASSERT_EQ(six.exitCode, 0) << six.err;
    const Bytes sixBytes = test::ReadFile(dir_.file("six.mp3"));
    EXPECT_TRUE(test::ReadRange(out, 0, sixBytes.size()) == sixBytes);
}

TEST_F(ListCommands, BuildRefusals) {
    const std::string src = Source("mono.mp3", "m.mp3");
    const Bytes before = test::ReadFile(src);
    auto r = Cli("build" + Q(src) + Q(src) + " 1 2");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("document's own file"), std::string::npos) << r.err;
    EXPECT_TRUE(test::ReadFile(src) == before);
    EXPECT_EQ(Cli("build" + Q(src) + Q(dir_.file("o.mp3")) + " 2 1").exitCode, 2);
    EXPECT_EQ(Cli("build" + Q(src) + Q(dir_.file("o.mp3")) + " 1 2 3").exitCode, 2);
    r = Cli("build" + Q(src) + Q(dir_.file("no/such/dir/o.mp3")) + " 1 2");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("cannot be written"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace kalvor
