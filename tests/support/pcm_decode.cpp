#include "support/pcm_decode.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "support/test_support.h"

namespace kalvor::test {
namespace {

Pcm PcmOf(const std::string& bytes, int channels) {
    Pcm pcm;
    pcm.Channels = channels;
    pcm.Samples.resize(bytes.size() / 2);
    std::memcpy(pcm.Samples.data(), bytes.data(), pcm.Samples.size() * 2);
    return pcm;
}

// The number after "name: " in text, or nothing.
std::optional<double> NumberAfter(const std::string& text, const std::string& name) {
    const std::size_t at = text.find(name + ": ");
    if (at == std::string::npos) return std::nullopt;
    return std::strtod(text.c_str() + at + name.size() + 2, nullptr);
}

}  // namespace

int Pcm::Peak(std::int64_t from, std::int64_t to) const {
    int peak = 0;
    for (std::int64_t i = std::max<std::int64_t>(from, 0) * Channels; i < std::min(to, Count()) * Channels; ++i)
        peak = std::max(peak, std::abs(static_cast<int>(Samples[static_cast<std::size_t>(i)])));
    return peak;
}

bool Pcm::SameAt(std::int64_t i, const Pcm& other, std::int64_t j) const {
    return std::equal(Samples.begin() + i * Channels, Samples.begin() + (i + 1) * Channels,
                      other.Samples.begin() + j * other.Channels);
}

Pcm DecodeWithFfmpeg(const std::string& path, int channels) {
    return PcmOf(Run("ffmpeg -v error -i " + ShellQuote(path) + " -f s16le -acodec pcm_s16le -").out, channels);
}

Pcm DecodeWithMpg123Gapless(const std::string& path, int channels) {
    return PcmOf(Run("mpg123 -q --gapless -s " + ShellQuote(path)).out, channels);
}

CheckReport CliCheck(const std::string& path) {
    const CommandResult r = Run(ShellQuote(CliPath()) + " check " + ShellQuote(path));
    CheckReport report;
    report.ExitCode = r.exitCode;
    report.Frames = static_cast<std::int64_t>(NumberAfter(r.out, "frames").value_or(-1));
    report.DurationMs = NumberAfter(r.out, "duration").value_or(-1) * 1000.0;
    report.Header = r.out.find("header: none") == std::string::npos;
    if (const auto delay = NumberAfter(r.out, "LAME encoder delay")) {
        report.Delay = static_cast<int>(*delay);
        report.Padding = static_cast<int>(NumberAfter(r.out, "end padding").value_or(-1));
    }
    return report;
}

double CliInfoDurationMs(const std::string& path) {
    return NumberAfter(Run(ShellQuote(CliPath()) + " info " + ShellQuote(path)).out, "DurationMs").value_or(-1);
}

std::vector<std::string> Mp3valWarnings(const std::string& path) {
    const CommandResult r = Run("mp3val " + ShellQuote(path));
    std::vector<std::string> found;
    if (r.exitCode != 0) found.push_back("mp3val failed: " + r.err);
    std::istringstream lines(r.out);
    for (std::string line; std::getline(lines, line);)
        if (line.find("WARNING") != std::string::npos && line.find("No supported tags") == std::string::npos)
            found.push_back(line);
    return found;
}

}  // namespace kalvor::test
