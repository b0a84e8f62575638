// C_FGraph playing real files through real graphs into an output that keeps the
// clock's pace and renders nothing, polled the way the window polls it.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <thread>

#include "playback/media_graph.h"
#include "playback_fixture.h"
#include "services/fault_trap.h"
#include "support/frame_builder.h"

namespace kalvor {
namespace {

using test::LogCapture;
using test::PollUntilStopped;
using test::TempDir;
using test::TestAudio;

void Sleep(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

double FfprobeSeconds(const std::string& path) {
    const auto result =
        test::Run("ffprobe -v error -show_entries format=duration -of csv=p=0 " + test::ShellQuote(path));
    return result.exitCode == 0 ? std::atof(result.out.c_str()) : -1.0;
}

// MPEG-1 Layer I, 384 kbit/s, 44.1 kHz: frames of silence (no subband allocated),
// built by hand as no encoder here writes Layer I.
std::string MakeLayer1File(const TempDir& dir) {
    const std::string path = dir.file("silence.mp1");
    test::WriteFile(path, test::Frames(0xFF, 0xC0, 0x00, 200, 0x00));
    return path;
}

struct FileCase {
    std::string name;
    int frameMs;  // one frame, the tolerance of the length
};

class PlayEachTypeTest : public ::testing::TestWithParam<FileCase> {};

TEST_P(PlayEachTypeTest, OpensWithTheRightLengthAndPlaysARange) {
    TempDir dir;
    const std::string path = GetParam().name == "silence.mp1" ? MakeLayer1File(dir) : TestAudio(GetParam().name);
    LogCapture log;
    C_FGraph graph;
    graph.Init();
    graph.SetFileName(path);
    ASSERT_EQ(graph.isOpen(), 1);
    EXPECT_TRUE(log.Lines().empty());  // the named chain, at the first attempt
    EXPECT_NEAR(graph.Length(), FfprobeSeconds(path) * 1000.0, GetParam().frameMs);
    EXPECT_EQ(graph.ToMS(), graph.Length());

    const test::PollRecord record = test::PlayRange(graph, 500, 800);
    EXPECT_FALSE(record.timedOut);
    EXPECT_EQ(record.modes, (std::vector<std::int32_t>{3, 1}));
    // Stopped by the first poll past the end of the range.
    EXPECT_GT(record.lastPosition, 800);
    EXPECT_LE(record.lastPosition, 900);
}

INSTANTIATE_TEST_SUITE_P(Files, PlayEachTypeTest,
                         ::testing::Values(FileCase{"silence.mp1", 9}, FileCase{"mp2_48k.mp2", 24},
                                           FileCase{"cbr128.mp3", 27}, FileCase{"cbr128_plain.mp3", 27},
                                           FileCase{"vbr.mp3", 27}, FileCase{"lsf.mp3", 27}, FileCase{"ffmpeg.mp3", 24},
                                           FileCase{"cbr128_tags.mp3", 27}, FileCase{"tone.wav", 1}),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

// Containers other than MPEG audio and WAVE, made at test time by the encoder
// at hand: each goes through its own chain (or, for AIFF, the fallback after the
// Wave Parser refuses it).
struct ContainerCase {
    std::string extension;
    std::string codec;
    std::size_t logLines;
};

class PlayOtherContainersTest : public ::testing::TestWithParam<ContainerCase> {};

TEST_P(PlayOtherContainersTest, OpensWithItsLengthAndPlaysARange) {
    TempDir dir;
    const std::string path = dir.file("two_seconds." + GetParam().extension);
    ASSERT_EQ(test::Run("ffmpeg -v error -y -i " + test::ShellQuote(TestAudio("tone.wav")) + " -t 2 " +
                        GetParam().codec + " " + test::ShellQuote(path))
                  .exitCode,
              0);
    LogCapture log;
    C_FGraph graph;
    graph.Init();
    graph.SetFileName(path);
    ASSERT_EQ(graph.isOpen(), 1);
    EXPECT_EQ(log.Lines().size(), GetParam().logLines);
    EXPECT_NEAR(graph.Length(), 2000, 50);
    const test::PollRecord record = test::PlayRange(graph, 500, 700);
    EXPECT_EQ(record.modes, (std::vector<std::int32_t>{3, 1}));
    EXPECT_GT(record.lastPosition, 700);
}

INSTANTIATE_TEST_SUITE_P(
    Containers, PlayOtherContainersTest,
    ::testing::Values(ContainerCase{"m4a", "-c:a aac", 0}, ContainerCase{"aac", "-c:a aac", 0},
                      ContainerCase{"ogg", "-c:a libvorbis", 0}, ContainerCase{"aiff", "", 2},
                      // video first: the audio pad must be the one linked
                      ContainerCase{"mp4", "-f lavfi -i testsrc=d=2:s=64x64 -map 1:v -map 0:a -c:a aac -shortest", 0}),
    [](const auto& info) { return info.param.extension; });

class FGraphTest : public ::testing::Test {
   protected:
    void Open(const std::string& path) {
        graph_.Init();
        graph_.SetFileName(path);
        ASSERT_EQ(graph_.isOpen(), 1);
    }
    C_FGraph graph_;
    TempDir dir_;
};

TEST_F(FGraphTest, TheEndOfTheStreamShowsOnceAsZeroThenStopped) {
    Open(TestAudio("tone.wav"));
    graph_.SetFromMS(graph_.Length() - 250);
    graph_.SetToMS(graph_.Length());  // to the end: Position never stops it
    graph_.Play();
    const test::PollRecord record = PollUntilStopped(graph_, 5000);
    EXPECT_EQ(record.modes, (std::vector<std::int32_t>{3, 0, 1}));
    EXPECT_EQ(graph_.isPlaying(), 0);

    // Played again after the end, the old end of stream does not end the new range.
    const test::PollRecord again = test::PlayRange(graph_, 1000, 1300);
    EXPECT_EQ(again.modes, (std::vector<std::int32_t>{3, 1}));
    EXPECT_GT(again.lastPosition, 1300);
}

TEST_F(FGraphTest, PauseHoldsThePositionAndResumes) {
    Open(TestAudio("cbr128.mp3"));
    graph_.SetFromMS(1000);
    graph_.SetToMS(graph_.Length());
    graph_.Play();
    Sleep(300);
    EXPECT_EQ(graph_.mode(), 3);
    graph_.Pause();
    EXPECT_EQ(graph_.mode(), 2);
    const std::int32_t held = graph_.Position();
    EXPECT_GT(held, 1100);
    Sleep(200);
    EXPECT_EQ(graph_.Position(), held);  // paused, isPlaying stays 1
    EXPECT_EQ(graph_.isPlaying(), 1);
    graph_.Pause();
    EXPECT_EQ(graph_.mode(), 3);
    Sleep(200);
    EXPECT_GT(graph_.Position(), held + 100);
    graph_.StopIO();
    EXPECT_EQ(graph_.mode(), 1);
}

TEST_F(FGraphTest, StopKeepsTheEnginePositionButPositionReadsZero) {
    Open(TestAudio("mp2_48k.mp2"));
    graph_.SetFromMS(2000);
    graph_.SetToMS(graph_.Length());
    graph_.Play();
    Sleep(250);
    const std::int32_t playing = graph_.Position();
    graph_.StopIO();
    EXPECT_EQ(graph_.Position(), 0);
    EXPECT_EQ(graph_.mode(), 1);
    double seconds = 0;
    ASSERT_TRUE(graph_.Graph().control->CurrentPosition(&seconds));
    EXPECT_NEAR(seconds * 1000.0, playing, 60.0);
    EXPECT_GT(seconds * 1000.0, 2000.0);
}

TEST_F(FGraphTest, PositionKindsCountFromTheFileAndRangeEnds) {
    Open(TestAudio("tone.wav"));
    graph_.SetFromMS(1000);
    graph_.SetToMS(4000);
    graph_.Play();
    Sleep(200);
    const std::int32_t elapsed = graph_.Position(0);
    const std::int32_t toFileEnd = graph_.Position(1);
    const std::int32_t toRangeEnd = graph_.Position(2);
    EXPECT_NEAR(toFileEnd, 5000 - elapsed, 30);
    EXPECT_NEAR(toRangeEnd, 4000 - elapsed, 30);
    EXPECT_EQ(graph_.Position(7), 0);
    graph_.StopIO();
}

TEST_F(FGraphTest, WritingTheOpenPathAgainOnlyResetsTheRange) {
    const std::string path = TestAudio("tone.wav");
    Open(path);
    graph_.SetFromMS(100);
    graph_.SetToMS(200);
    graph_.SetFileName(path);
    EXPECT_EQ(graph_.FromMS(), 0);
    EXPECT_EQ(graph_.ToMS(), 0);
    EXPECT_EQ(graph_.Length(), 5000);
    EXPECT_EQ(graph_.isOpen(), 1);
}

TEST_F(FGraphTest, ClosedObjectsPlayNothing) {
    EXPECT_EQ(graph_.Play(), 0);  // not even initialised
    graph_.Init();
    EXPECT_EQ(graph_.Play(), 0);
    EXPECT_EQ(graph_.mode(), 1);
    Open(TestAudio("tone.wav"));
    graph_.Play();
    graph_.CloseWave();
    EXPECT_EQ(graph_.mode(), 1);
    EXPECT_EQ(graph_.Position(), 0);
    EXPECT_EQ(graph_.Play(), 0);
    EXPECT_EQ(graph_.FileName(), "");
    // The object can open a file again after closing.
    graph_.SetFileName(TestAudio("tone.wav"));
    EXPECT_EQ(graph_.isOpen(), 1);
}

TEST_F(FGraphTest, RateChangesAtOnceInModeOne) {
    graph_.SetDevMode(1);
    Open(TestAudio("tone.wav"));
    graph_.SetPlaySpeed(2.0f);
    graph_.SetFromMS(1000);
    graph_.SetToMS(2000);
    const auto start = std::chrono::steady_clock::now();
    graph_.Play();
    const test::PollRecord record = PollUntilStopped(graph_, 5000);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(record.modes, (std::vector<std::int32_t>{3, 1}));
    EXPECT_LT(took, std::chrono::milliseconds(850));  // 1 s of audio at twice the rate
}

TEST_F(FGraphTest, RateWaitsForTheNextFileInModeZero) {
    graph_.Init();
    graph_.SetPlaySpeed(2.0f);  // stored, applied when the file opens
    graph_.SetFileName(TestAudio("tone.wav"));
    graph_.SetFromMS(1000);
    graph_.SetToMS(2000);
    const auto start = std::chrono::steady_clock::now();
    graph_.Play();
    PollUntilStopped(graph_, 5000);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(850));
}

struct BadInput {
    std::string name;
    test::Bytes bytes;
};

class BadInputTest : public ::testing::TestWithParam<BadInput> {};

TEST_P(BadInputTest, LeavesTheObjectClosedWithoutHanging) {
    TempDir dir;
    const std::string path = dir.file(GetParam().name);
    test::WriteFile(path, GetParam().bytes);
    C_FGraph graph;
    graph.Init();
    graph.SetFileName(path);
    EXPECT_EQ(graph.isOpen(), 0);
    EXPECT_EQ(graph.Length(), 0);
    EXPECT_EQ(graph.FileName(), "");
    EXPECT_EQ(graph.Play(), 0);
    EXPECT_EQ(graph.mode(), 1);
}

INSTANTIATE_TEST_SUITE_P(Files, BadInputTest,
                         ::testing::Values(BadInput{"empty.mp3", {}}, BadInput{"empty.wav", {}},
                                           BadInput{"text.mp3", test::Bytes(5000, 'a')},
                                           BadInput{"text.ogg", test::Bytes(5000, 'a')},
                                           BadInput{"header.mp3", {0xFF, 0xFB, 0x90, 0x64}},
                                           BadInput{"riff.wav", {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'}}));

TEST_F(FGraphTest, AMissingPathClosesWithoutALogLine) {
    LogCapture log;
    graph_.Init();
    graph_.SetFileName(dir_.file("nowhere.mp3"));
    EXPECT_EQ(graph_.isOpen(), 0);
    EXPECT_EQ(graph_.FileName(), "");
    graph_.SetFileName("");
    EXPECT_EQ(graph_.isOpen(), 0);
    EXPECT_TRUE(log.Lines().empty());
}

TEST_F(FGraphTest, TheDiagnosticModeThrowsNothingWhenTheEngineFailsNothing) {
    SetNoErrorTrap(true);
    const std::string text = dir_.file("text.mp3");
    test::WriteFile(text, test::Bytes(3000, 't'));
    graph_.Init();
    EXPECT_NO_THROW(graph_.SetFileName(text));  // a file no graph plays is no engine failure
    EXPECT_EQ(graph_.isOpen(), 0);
    EXPECT_NO_THROW({
        graph_.SetFileName(TestAudio("tone.wav"));
        const test::PollRecord record = test::PlayRange(graph_, 1000, 1200);
        EXPECT_EQ(record.modes.back(), 1);
        graph_.Pause();
        graph_.CloseWave();
    });
    SetNoErrorTrap(false);
}

TEST_F(FGraphTest, ATruncatedFilePlaysWhatItHasAndEnds) {
    const std::string path = dir_.file("cut.mp3");
    const test::Bytes whole = test::ReadFile(TestAudio("cbr128_plain.mp3"));
    test::WriteFile(path, test::Bytes(whole.begin(), whole.begin() + 16000 + 123));  // about 1 s, cut mid-frame
    Open(path);
    EXPECT_NEAR(graph_.Length(), 1000, 30);
    graph_.SetFromMS(700);
    graph_.Play();
    const test::PollRecord record = PollUntilStopped(graph_, 5000);
    EXPECT_FALSE(record.timedOut);
    EXPECT_EQ(record.modes.back(), 1);
}

TEST_F(FGraphTest, AFileThatVanishesWhileOpenNeitherCrashesNorHangs) {
    const std::string path = dir_.file("gone.mp3");
    std::filesystem::copy_file(TestAudio("mono.mp3"), path);
    Open(path);
    std::filesystem::remove(path);
    const test::PollRecord record = test::PlayRange(graph_, 1000, 1300);
    EXPECT_FALSE(record.timedOut);
    EXPECT_EQ(record.modes.back(), 1);
    C_FGraph another;
    another.Init();
    another.SetFileName(path);  // gone now: closed
    EXPECT_EQ(another.isOpen(), 0);
}

TEST_F(FGraphTest, ADeviceChosenByNameEndsTheGraphAndTheMarkerDecidesTheFamily) {
    SetFilterOverrides(
        {{}, {}, {{"Direct Sound: Test Speakers", "fakesink sync=true"}, {"Test Speakers", "fakesink sync=true"}}});
    graph_.SetDevName("TEST speakers");
    Open(TestAudio("tone.wav"));
    EXPECT_EQ(graph_.Graph().rendererName, "test speakers");
    const auto filters = graph_.Graph().control->Filters();
    EXPECT_EQ(filters.back()->Name, "Test Speakers");

    C_FGraph marked;
    marked.SetDevMode(1);
    marked.SetDevName("test speakers");
    marked.Init();
    EXPECT_EQ(marked.Graph().rendererName, "direct sound: test speakers");
    marked.SetFileName(TestAudio("tone.wav"));
    EXPECT_EQ(marked.isOpen(), 1);
    SetFilterOverrides({});
}

}  // namespace
}  // namespace kalvor
