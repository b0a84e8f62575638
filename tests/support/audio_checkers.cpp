#include "support/audio_checkers.h"

#include <array>
#include <cstdlib>
#include <sstream>
#include <string_view>

#include "support/test_support.h"

namespace kalvor::test {
namespace {

double FfprobeNumber(const std::string& args, const std::string& path) {
    const CommandResult r = Run("ffprobe -v error " + args + " -of default=nw=1:nk=1 " + ShellQuote(path));
    if (r.exitCode != 0 || r.out.empty()) return -1;
    char* end = nullptr;
    const double value = std::strtod(r.out.c_str(), &end);
    return end == r.out.c_str() ? -1 : value;
}

}  // namespace

std::vector<std::string> BrokenFrameWarnings(const std::string& path) {
    static constexpr std::array<std::string_view, 7> kBroken = {
        "Garbage at the beginning", "Garbage at the end", "MPEG stream error", "Wrong CRC", "truncated",
        "No MPEG frames",           "Too few MPEG frames"};
    const CommandResult r = Run("mp3val " + ShellQuote(path));
    std::vector<std::string> found;
    if (r.exitCode != 0) found.push_back("mp3val failed: " + r.err);
    std::istringstream lines(r.out);
    for (std::string line; std::getline(lines, line);) {
        for (std::string_view b : kBroken)
            if (line.find(b) != std::string::npos) found.push_back(line);
    }
    return found;
}

int Mp3valFrameCount(const std::string& path) {
    const CommandResult r = Run("mp3val " + ShellQuote(path));
    const std::size_t at = r.out.find(" MPEG frames (");
    if (r.exitCode != 0 || at == std::string::npos) return -1;
    const std::size_t start = r.out.find_last_of(' ', at - 1);
    return std::atoi(r.out.c_str() + (start == std::string::npos ? 0 : start + 1));
}

int FfprobeFrameCount(const std::string& path) {
    return static_cast<int>(
        FfprobeNumber("-count_frames -select_streams a:0 -show_entries stream=nb_read_frames", path));
}

int FfprobePacketCount(const std::string& path) {
    return static_cast<int>(
        FfprobeNumber("-count_packets -select_streams a:0 -show_entries stream=nb_read_packets", path));
}

double FfprobeDurationMs(const std::string& path) {
    const double seconds = FfprobeNumber("-select_streams a:0 -show_entries stream=duration", path);
    return seconds < 0 ? -1 : seconds * 1000.0;
}

}  // namespace kalvor::test
