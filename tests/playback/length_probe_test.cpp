// The length a short-lived playback object reports, for the information report.
#include <gtest/gtest.h>

#include "mpeg/FCT_AudioInf.h"
#include "playback/media_length_probe.h"
#include "playback_fixture.h"
#include "services/time_text.h"

namespace kalvor {
namespace {

using test::TempDir;

std::string MakeM4a(const TempDir& dir) {
    const std::string path = dir.file("tone.m4a");
    const auto made = test::Run("ffmpeg -v error -y -i " + test::ShellQuote(test::TestAudio("tone.wav")) +
                                " -t 3 -c:a aac " + test::ShellQuote(path));
    EXPECT_EQ(made.exitCode, 0) << made.err;
    return path;
}

TEST(PlaybackLengthProbe, ReportsWhatThePlaybackObjectOpens) {
    TempDir dir;
    const MediaLengthProbe probe = PlaybackLengthProbe();
    EXPECT_EQ(probe(test::TestAudio("tone.wav")), 5000);
    EXPECT_NEAR(probe(MakeM4a(dir)), 3000, 50);
    test::WriteFile(dir.file("notes.wma"), test::Bytes(2000, 'n'));
    EXPECT_EQ(probe(dir.file("notes.wma")), 0);
    EXPECT_EQ(probe(dir.file("missing.m4a")), 0);
}

TEST(PlaybackLengthProbe, GivesTheReportOfAnotherMediaFileItsLength) {
    TempDir dir;
    const std::string path = MakeM4a(dir);
    const MediaLengthProbe probe = PlaybackLengthProbe();
    const FileInfoResult report = FileInfoReport(path, probe);
    EXPECT_TRUE(report.Ok());
    const std::string lastLine = report.Text.substr(report.Text.rfind("\r\n") + 2);
    EXPECT_EQ(lastLine, MsToTimeText(probe(path)));
    EXPECT_NEAR(report.DurationMs, 3000, 50);
}

}  // namespace
}  // namespace kalvor
