// What reaches the output: playback captured to a WAV file and measured.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "playback_fixture.h"

namespace kalvor {
namespace {

using test::TempDir;
using test::TestAudio;

struct Capture {
    int formatTag = 0;  // 1 PCM, 3 float
    int channels = 0;
    int rate = 0;
    int bits = 0;
    std::vector<std::vector<double>> samples;  // per channel, full scale 1.0
    std::size_t Frames() const { return samples.empty() ? 0 : samples[0].size(); }
};

std::uint32_t Le32(const test::Bytes& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

// Reads the "fmt " and "data" chunks (the data chunk's own size counts: the
// writer appends other chunks after it).
Capture ReadCapture(const std::string& path) {
    const test::Bytes b = test::ReadFile(path);
    Capture c;
    for (std::size_t at = 12; at + 8 <= b.size();) {
        const std::string id(b.begin() + static_cast<std::ptrdiff_t>(at),
                             b.begin() + static_cast<std::ptrdiff_t>(at) + 4);
        const std::uint32_t size = Le32(b, at + 4);
        const std::size_t body = at + 8;
        if (id == "fmt ") {
            c.formatTag = b[body] | (b[body + 1] << 8);
            c.channels = b[body + 2] | (b[body + 3] << 8);
            c.rate = static_cast<int>(Le32(b, body + 4));
            c.bits = b[body + 14] | (b[body + 15] << 8);
        } else if (id == "data" && c.channels > 0) {
            c.samples.assign(static_cast<std::size_t>(c.channels), {});
            const std::size_t step = static_cast<std::size_t>(c.bits / 8);
            const std::size_t end = std::min(b.size(), body + size);
            for (std::size_t p = body, n = 0; p + step <= end; p += step, ++n) {
                double v = 0;
                if (c.formatTag == 3 && c.bits == 32) {
                    float f;
                    std::memcpy(&f, &b[p], 4);
                    v = f;
                } else if (c.formatTag == 1 && c.bits == 16) {
                    v = static_cast<std::int16_t>(b[p] | (b[p + 1] << 8)) / 32768.0;
                }
                c.samples[n % static_cast<std::size_t>(c.channels)].push_back(v);
            }
        }
        at = body + size + (size & 1);
    }
    return c;
}

double RmsDb(const std::vector<double>& channel) {
    double sum = 0;
    for (double v : channel) sum += v * v;
    return 10.0 * std::log10(sum / static_cast<double>(channel.size()));
}

class RenderTest : public ::testing::Test {
   protected:
    // Plays FromMS to the end of tone.wav into a capture file.
    Capture Render(std::int32_t fromMs, std::int32_t amount, std::int32_t balance) {
        const std::string path = dir_.file("capture" + std::to_string(count_++) + ".wav");
        setenv(kAudioOutputVariable, ("wav:" + path).c_str(), 1);
        {
            C_FGraph graph;
            graph.SetPanValue(balance);  // applied when the file opens
            graph.Init();
            graph.SetFileName(TestAudio("tone.wav"));
            EXPECT_EQ(graph.isOpen(), 1);
            graph.SetAttenuation(amount);  // applied at once
            graph.SetFromMS(fromMs);
            graph.Play();
            const test::PollRecord record = test::PollUntilStopped(graph, 10000);
            EXPECT_EQ(record.modes.back(), 1);
            graph.CloseWave();
        }
        unsetenv(kAudioOutputVariable);
        return ReadCapture(path);
    }

    TempDir dir_;
    int count_ = 0;
};

TEST_F(RenderTest, AttenuationAndBalanceReachTheChannelsInDecibels) {
    const Capture plain = Render(0, 0, 0);
    ASSERT_EQ(plain.channels, 2);
    ASSERT_GT(plain.Frames(), 0u);
    // 2449 gives the level -600 (-6 dB); balance 600 takes 6 dB more off the left.
    const Capture shaped = Render(0, 2449, 600);
    ASSERT_EQ(shaped.channels, 2);
    EXPECT_NEAR(RmsDb(shaped.samples[0]) - RmsDb(plain.samples[0]), -12.0, 0.05);
    EXPECT_NEAR(RmsDb(shaped.samples[1]) - RmsDb(plain.samples[1]), -6.0, 0.05);
}

TEST_F(RenderTest, BalanceToTheLeftLeavesTheLeftChannelAlone) {
    const Capture plain = Render(3000, 0, 0);
    const Capture left = Render(3000, 0, -2000);
    ASSERT_EQ(left.channels, 2);
    EXPECT_NEAR(RmsDb(left.samples[0]) - RmsDb(plain.samples[0]), 0.0, 0.05);
    EXPECT_NEAR(RmsDb(left.samples[1]) - RmsDb(plain.samples[1]), -20.0, 0.05);
}

TEST_F(RenderTest, TheFloorIsSilence) {
    const Capture silent = Render(4000, 10000, 0);
    ASSERT_GT(silent.Frames(), 0u);
    for (const auto& channel : silent.samples)
        for (double v : channel) ASSERT_EQ(v, 0.0);
}

TEST_F(RenderTest, PlaybackStartsAtTheSampleOfFromMs) {
    const Capture tail = Render(2000, 0, 0);
    ASSERT_EQ(tail.rate, 44100);
    EXPECT_NEAR(static_cast<double>(tail.Frames()), 3.0 * 44100, 2);
}

}  // namespace
}  // namespace kalvor
