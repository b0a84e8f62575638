// kalvor-cli play: real files on the default output of a machine without a
// sound card, polled as the window polls.
#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <string>

#include "support/test_support.h"

namespace kalvor {
namespace {

using test::CliPath;
using test::CommandResult;
using test::ShellQuote;
using test::TempDir;
using test::TestAudio;

bool PlayIsBuilt() {
    return test::Run(ShellQuote(CliPath()) + " --help").out.find("play FILE") != std::string::npos;
}

double FfprobeMs(const std::string& path) {
    const auto r = test::Run("ffprobe -v error -show_entries format=duration -of csv=p=0 " + ShellQuote(path));
    return r.exitCode == 0 ? std::atof(r.out.c_str()) * 1000.0 : -1.0;
}

// The number after "<label> " in the output, -1 when missing.
long NumberAfter(const std::string& text, const std::string& label) {
    std::smatch m;
    if (!std::regex_search(text, m, std::regex(label + " (-?[0-9]+) ms"))) return -1;
    return std::stol(m[1]);
}

struct PlayCase {
    std::string file;
    double frameMs;
};

class CliPlayTest : public ::testing::TestWithParam<PlayCase> {
   protected:
    void SetUp() override {
        if (!PlayIsBuilt()) GTEST_SKIP() << "kalvor-cli was built without playback";
    }
};

TEST_P(CliPlayTest, PlaysARangeAndStopsJustAfterItsEnd) {
    const std::string path = TestAudio(GetParam().file);
    // The default output: no sound card here, it must still keep the clock's pace.
    const CommandResult r = test::Run("unset KALVOR_AUDIO_OUTPUT; " + ShellQuote(CliPath()) + " play " +
                                      ShellQuote(path) + " 1.0 000\\'01.400");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NEAR(NumberAfter(r.out, "length"), FfprobeMs(path), GetParam().frameMs);
    const long final = NumberAfter(r.out, "final position");
    EXPECT_GT(final, 1400);
    EXPECT_LE(final, 1500);
    EXPECT_NE(r.out.find("mode 3 playing\nmode 1 stopped\nfinal position"), std::string::npos) << r.out;
}

INSTANTIATE_TEST_SUITE_P(Files, CliPlayTest,
                         ::testing::Values(PlayCase{"cbr128_plain.mp3", 26.2}, PlayCase{"mp2_48k.mp2", 24.0},
                                           PlayCase{"tone.wav", 1.0}));

TEST(CliPlay, TheEndOfTheFileEndsThePlayback) {
    if (!PlayIsBuilt()) GTEST_SKIP();
    const CommandResult r = test::Run(ShellQuote(CliPath()) + " play " + ShellQuote(TestAudio("tone.wav")) + " 4.7 0");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("mode 3 playing\nmode 0 ended\nmode 1 stopped\n"), std::string::npos) << r.out;
}

TEST(CliPlay, AFileNoGraphCanPlayFailsWithAReason) {
    if (!PlayIsBuilt()) GTEST_SKIP();
    TempDir dir;
    test::WriteFile(dir.file("text.mp3"), test::Bytes(3000, 'z'));
    const CommandResult r = test::Run(ShellQuote(CliPath()) + " play " + ShellQuote(dir.file("text.mp3")));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("no graph can play this file"), std::string::npos) << r.err;
}

TEST(CliPlay, WordsThatAreOffAreAUsageError) {
    if (!PlayIsBuilt()) GTEST_SKIP();
    const std::string play = ShellQuote(CliPath()) + " play ";
    EXPECT_EQ(test::Run(play).exitCode, 2);
    EXPECT_EQ(test::Run(play + "a.mp3 1.0").exitCode, 2);
    EXPECT_EQ(test::Run(play + "a.mp3 x y").exitCode, 2);
    EXPECT_EQ(test::Run(play + "a.mp3 --device").exitCode, 2);
}

TEST(CliPlay, AnUnknownDeviceNameKeepsTheDefaultOutput) {
    if (!PlayIsBuilt()) GTEST_SKIP();
    const CommandResult r = test::Run("KALVOR_AUDIO_OUTPUT=fake " + ShellQuote(CliPath()) + " play " +
                                      ShellQuote(TestAudio("tone.wav")) + " 1.0 1.2 --device 'no such device'");
    EXPECT_EQ(r.exitCode, 0) << r.err;
}

}  // namespace
}  // namespace kalvor
