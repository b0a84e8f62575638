// Building graphs for real files on the real engine: the named chain, the
// attempt-1 variant, the fallback, and the log lines each failure leaves.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "playback/FCT_Quartz.h"
#include "playback/media_graph.h"
#include "playback_fixture.h"

namespace kalvor {
namespace {

using test::LogCapture;
using test::TempDir;
using test::TestAudio;

const std::string kSplitterPair = "File Source (Async.)#MPEG-I Stream Splitter";

class GraphBuildTest : public ::testing::Test {
   protected:
    void TearDown() override { SetFilterOverrides({}); }

    // Opens path in a new object; the log lines it left.
    std::vector<std::string> Open(C_FGraph& graph, const std::string& path, std::int32_t devMode = 0) {
        LogCapture log;
        graph.SetDevMode(devMode);
        graph.Init();
        graph.SetFileName(path);
        return log.Lines();
    }

    static std::vector<std::string> FilterNames(const C_FGraph& graph) {
        std::vector<std::string> names;
        if (graph.Graph().control)
            for (GraphFilter* f : graph.Graph().control->Filters()) names.push_back(f->Name);
        return names;
    }

    static bool Has(const std::vector<std::string>& names, const std::string& name) {
        return std::find(names.begin(), names.end(), name) != names.end();
    }

    TempDir dir_;
};

TEST_F(GraphBuildTest, TheNamedChainBuildsWithoutALogLine) {
    C_FGraph graph;
    EXPECT_TRUE(Open(graph, TestAudio("cbr128.mp3")).empty());
    ASSERT_EQ(graph.isOpen(), 1);
    EXPECT_EQ(FilterNames(graph), (std::vector<std::string>{"File Source (Async.)", "MPEG-I Stream Splitter",
                                                            "MPEG Layer-3 Decoder", "Default WaveOut Device"}));
}

TEST_F(GraphBuildTest, AMissingSplitterFailsBothNamedAttemptsThenTheFallbackPlays) {
    SetFilterOverrides({{"MPEG-I Stream Splitter"}, {}, {}});
    C_FGraph graph;
    const std::string line = "Pin not set " + kSplitterPair + " l=1 tFound=0 tNumPin=0";
    const std::string failed = "SetupPinsToDecode " + kSplitterPair + " connect failed";
    EXPECT_EQ(Open(graph, TestAudio("cbr128.mp3")), (std::vector<std::string>{line, failed, line, failed}));
    EXPECT_EQ(graph.isOpen(), 1);
    EXPECT_EQ(graph.Length(), 20062);
    EXPECT_EQ(FilterNames(graph), (std::vector<std::string>{"File Source (Async.)", "Default WaveOut Device"}));
}

TEST_F(GraphBuildTest, AFailingLayer3DecoderGivesWayToTheWrapperOnTheSameGraph) {
    // A decoder that cannot take MPEG audio at all.
    SetFilterOverrides({{}, {{"MPEG Layer-3 Decoder", "wavparse"}}, {}});
    C_FGraph graph;
    const std::string pair = "MPEG-I Stream Splitter#MPEG Layer-3 Decoder";
    EXPECT_EQ(Open(graph, TestAudio("vbr.mp3")),
              (std::vector<std::string>{"ConnectPin err " + pair, "SetupPinsToDecode " + pair + " connect failed"}));
    ASSERT_EQ(graph.isOpen(), 1);
    const auto names = FilterNames(graph);
    // Attempt 1 added its own instances beside those of attempt 0.
    EXPECT_TRUE(Has(names, "ACM Wrapper"));
    EXPECT_TRUE(Has(names, "MPEG Layer-3 Decoder"));
    EXPECT_TRUE(Has(names, "File Source (Async.) 0001"));
}

TEST_F(GraphBuildTest, AnUnknownTypeIsLoggedTwiceAndTheEngineFindsTheDecoder) {
    const std::string path = dir_.file("renamed.xyz");
    std::filesystem::copy_file(TestAudio("mp2_48k.mp2"), path);
    C_FGraph graph;
    const std::string line = "SetupPinsToDecode Unknown Filetype #" + path;
    EXPECT_EQ(Open(graph, path), (std::vector<std::string>{line, line}));
    EXPECT_EQ(graph.isOpen(), 1);
    EXPECT_NEAR(graph.Length(), 15000, 30);
}

TEST_F(GraphBuildTest, AWaveFileWithoutItsParserGoesStraightToTheFallback) {
    SetFilterOverrides({{"Wave Parser"}, {}, {}});
    C_FGraph graph;
    const std::string pair = "File Source (Async.)#Wave Parser";
    // Attempt 1 of the wav chain fails at once, without a line.
    EXPECT_EQ(Open(graph, TestAudio("tone.wav")),
              (std::vector<std::string>{"Pin not set " + pair + " l=1 tFound=0 tNumPin=0",
                                        "SetupPinsToDecode " + pair + " connect failed"}));
    EXPECT_EQ(graph.isOpen(), 1);
    EXPECT_EQ(graph.Length(), 5000);
}

TEST_F(GraphBuildTest, MpegAudioInsideAWaveFileTakesTheMpegChain) {
    const std::string path = dir_.file("layer3.wav");
    ASSERT_EQ(test::Run("ffmpeg -v error -y -i " + test::ShellQuote(TestAudio("cbr128.mp3")) +
                        " -t 3 -c:a copy -f wav " + test::ShellQuote(path))
                  .exitCode,
              0);
    C_FGraph graph;
    Open(graph, path);
    ASSERT_EQ(graph.isOpen(), 1);
    EXPECT_TRUE(Has(FilterNames(graph), "MPEG-I Stream Splitter"));
}

TEST_F(GraphBuildTest, TheMp4SplitterLinksItsAudioPadWhenItAppears) {
    // Without the universal decoder the mp4 chain names the splitter and the AAC decoder.
    SetFilterOverrides({{"ffdshow Audio Decoder"}, {}, {}});
    const std::string path = dir_.file("tone.m4a");
    ASSERT_EQ(test::Run("ffmpeg -v error -y -i " + test::ShellQuote(TestAudio("tone.wav")) + " -t 2 -c:a aac " +
                        test::ShellQuote(path))
                  .exitCode,
              0);
    C_FGraph graph;
    for (const std::string& line : Open(graph, path)) ADD_FAILURE() << line;
    ASSERT_EQ(graph.isOpen(), 1);
    EXPECT_EQ(FilterNames(graph),
              (std::vector<std::string>{"File Source (Async.)", "Haali Media Splitter (AR)",
                                        "Microsoft DTV-DVD Audio Decoder", "Default WaveOut Device"}));
    const test::PollRecord record = test::PlayRange(graph, 500, 700);
    EXPECT_EQ(record.modes, (std::vector<std::int32_t>{3, 1}));
    // Letting go of a graph whose splitter has made its pads, and opening the next.
    graph.SetFileName(TestAudio("tone.wav"));
    EXPECT_EQ(graph.isOpen(), 1);
}

TEST_F(GraphBuildTest, TextNamedLikeAWaveFileFailsEveryAttemptAndLeavesTheObjectClosed) {
    const std::string path = dir_.file("notes.wav");
    test::WriteFile(path, test::Bytes(4000, 'x'));
    C_FGraph graph;
    const std::vector<std::string> lines = Open(graph, path);
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "ConnectPin err File Source (Async.)#Wave Parser",
                         "SetupPinsToDecode File Source (Async.)#Wave Parser connect failed",
                         "ConnectPin err File Source (Async.)#Default WaveOut Device",
                         "RenderPinsToDecode File Source (Async.)#Default WaveOut Device connect failed"}));
    EXPECT_EQ(graph.isOpen(), 0);
    EXPECT_EQ(graph.FileName(), "");
    EXPECT_EQ(graph.Length(), 0);
}

TEST_F(GraphBuildTest, WithoutAnOutputDeviceNothingConnects) {
    SetFilterOverrides({{"Default WaveOut Device", "Default DirectSound Device"}, {}, {}});
    C_FGraph graph;
    const std::vector<std::string> lines = Open(graph, TestAudio("tone.wav"));
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), "Pin not set Wave Parser# l=1 tFound=0 tNumPin=0");
    EXPECT_EQ(lines.back(), "RenderPinsToDecode File Source (Async.)# connect failed");
    EXPECT_EQ(graph.isOpen(), 0);
}

TEST_F(GraphBuildTest, AnOutputDeviceThatCannotOpenLeavesTheObjectClosed) {
    // The sound-server output, with no sound server on the machine.
    const char* output = std::getenv(kAudioOutputVariable);
    const std::string saved = output != nullptr ? output : "";
    unsetenv(kAudioOutputVariable);
    C_FGraph graph;
    const std::vector<std::string> lines = Open(graph, TestAudio("tone.wav"), 1);
    if (!saved.empty()) setenv(kAudioOutputVariable, saved.c_str(), 1);
    if (graph.isOpen() == 1) GTEST_SKIP() << "this machine has a sound server";
    EXPECT_EQ(graph.Graph().rendererName, "Default DirectSound Device");
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "RenderPinsToDecode File Source (Async.)#Default DirectSound Device connect failed");
    EXPECT_EQ(graph.mode(), 1);
}

}  // namespace
}  // namespace kalvor
