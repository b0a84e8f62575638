#pragma once
// Independent judges of what a written file decodes to: ffmpeg and mpg123
// decode it to 16-bit PCM, both honouring a LAME header's encoder delay and end
// padding; kalvor-cli check and info say what kalvor makes of the file, and
// mp3val what it finds wrong with it.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kalvor::test {

struct Pcm {
    int Channels = 1;
    std::vector<std::int16_t> Samples;  // interleaved
    std::int64_t Count() const { return static_cast<std::int64_t>(Samples.size()) / Channels; }
    // The largest magnitude among samples [from, to) (sample frames, clamped).
    int Peak(std::int64_t from, std::int64_t to) const;
    // The channels of sample frame i are equal in both.
    bool SameAt(std::int64_t i, const Pcm& other, std::int64_t j) const;
};

Pcm DecodeWithFfmpeg(const std::string& path, int channels);
Pcm DecodeWithMpg123Gapless(const std::string& path, int channels);

// What kalvor-cli check prints about a file.
struct CheckReport {
    int ExitCode = -1;
    std::int64_t Frames = -1;  // after the header frame, when there is one
    double DurationMs = -1;
    bool Header = false;
    std::optional<int> Delay, Padding;  // from a LAME extension
};
CheckReport CliCheck(const std::string& path);

// The DurationMs kalvor-cli info prints, or -1.
double CliInfoDurationMs(const std::string& path);

// mp3val's warnings, but for the one about the file carrying no ID3 tag.
std::vector<std::string> Mp3valWarnings(const std::string& path);

}  // namespace kalvor::test
