// Deleting one minute from the middle of a 300 MB document, against cp of the
// same file, and the memory it takes.
//
// Encodes a minute of sound with lame (320 kbit/s) and concatenates copies of
// it into a file of about 300 MB in /tmp, warms the page cache, then alternates
// `cp` of the file and a document delete of the middle minute in a freshly
// opened document (select, Delete: build the new version, bring its Info header
// up to date, rotate the working files, reload), seven rounds each. Opening
// again between rounds (untimed) deletes the previous round's version, as cp's
// target is deleted before each cp. Done twice: with lame's Info header at the front (the header is brought
// up to date from every frame of the new version) and without it (lame -t).
// Prints both times per round, the median of the per-round ratios, best against
// best, and this process's maximum resident set before and after the deletes.
// Everything is deleted afterwards.  Run by hand: build/<dir>/bench/delete_bench
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_measure.h"
#include "document/document.h"
#include "services/basic.h"

namespace {

namespace fs = std::filesystem;

const std::string kFolder = "/tmp/kalvor-delete-bench";
const std::string kMinute = kFolder + "/minute.mp3";
const std::string kSource = kFolder + "/source.mp3";
const std::string kCopyTarget = kFolder + "/cp.mp3";
const std::string kWork = kFolder + "/work";
constexpr std::int64_t kTargetSize = 300'000'000;
constexpr int kRounds = 7;

bool Shell(const std::string& command) {
    return std::system(command.c_str()) == 0;
}

bool MakeSource(const std::string& lameFlags) {
    if (!Shell("ffmpeg -v error -y -f lavfi -i 'sine=frequency=440:duration=60' -f lavfi "
               "-i 'anoisesrc=color=pink:amplitude=0.2:duration=60:seed=3' -filter_complex amix=inputs=2 "
               "-ac 2 -ar 44100 -f wav - | lame --quiet -b 320 " +
               lameFlags + " - " + kMinute))
        return false;
    const std::int64_t minute = static_cast<std::int64_t>(fs::file_size(kMinute));
    std::string list;
    for (std::int64_t size = 0; size < kTargetSize; size += minute) list += " " + kMinute;
    return Shell("cat" + list + " > " + kSource);
}

using kalvor::bench::MaxRssKb;
using kalvor::bench::Median;
using kalvor::bench::Seconds;

int Measure(const char* label) {
    kalvor::Document doc(kWork);
    if (doc.OpenFile(kSource) != 1) {
        std::printf("cannot open %s\n", kSource.c_str());
        return 1;
    }
    const std::int32_t audioLength = doc.AudioLength();
    const std::int32_t middle = doc.DurationMs() / 2;
    const auto byteAt = [&](std::int32_t ms) { return doc.TimeScale().MsToPos(ms); };
    std::printf("%s: %d audio bytes, %d ms; deleting %d..%d ms\n", label, audioLength, doc.DurationMs(), middle - 30000,
                middle + 30000);
    Shell("cat " + kSource + " > /dev/null");  // warm the page cache
    const long rssBefore = MaxRssKb();
    std::vector<double> cpTimes, deleteTimes, ratios;
    for (int round = 0; round < kRounds; ++round) {
        kalvor::RemoveFile(kCopyTarget);
        if (doc.OpenFile(kSource) != 1) return 1;
        cpTimes.push_back(Seconds([] { Shell("cp " + kSource + " " + kCopyTarget); }));
        doc.Sel.SelectRange(byteAt(middle - 30000), byteAt(middle + 30000));
        int deleted = 0;
        deleteTimes.push_back(Seconds([&] { deleted = doc.Delete(); }));
        if (deleted != 1) {
            std::printf("the delete failed\n");
            return 1;
        }
        ratios.push_back(deleteTimes.back() / cpTimes.back());
        std::printf("  round %d: cp %.3f s, delete %.3f s (%d bytes left), ratio %.2f\n", round + 1, cpTimes.back(),
                    deleteTimes.back(), doc.AudioLength(), ratios.back());
    }
    const double bestCp = *std::min_element(cpTimes.begin(), cpTimes.end());
    const double bestDelete = *std::min_element(deleteTimes.begin(), deleteTimes.end());
    std::printf("  median: cp %.3f s, delete %.3f s, median ratio %.2f\n", Median(cpTimes), Median(deleteTimes),
                Median(ratios));
    std::printf("  best:   cp %.3f s, delete %.3f s, ratio %.2f\n", bestCp, bestDelete, bestDelete / bestCp);
    std::printf("  max resident set: %ld kB before the deletes, %ld kB after\n", rssBefore, MaxRssKb());
    return 0;
}

}  // namespace

int main() {
    std::error_code ec;
    int result = 0;
    for (const auto& [flags, label] : {std::pair{"", "with an Info header"}, std::pair{"-t", "without Info header"}}) {
        fs::create_directories(kWork, ec);
        if (!MakeSource(flags)) {
            std::printf("cannot make %s (ffmpeg and lame are needed)\n", kSource.c_str());
            result = 1;
        } else if (Measure(label) != 0) {
            result = 1;
        }
        fs::remove_all(kFolder, ec);
    }
    return result;
}
