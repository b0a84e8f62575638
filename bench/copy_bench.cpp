// CopyFrames throughput against cp, and its memory, on a 300 MB range.
//
// Makes a 320 MB constant-rate stream in /tmp, warms the page cache, then
// alternates `cp` of the whole file and a snapped CopyFrames of 300 MB from it,
// nine rounds each, and prints both rates and their ratio.
// Peak memory is this process's maximum resident set (getrusage), printed
// before and after the copies: a copy holds at most one 102400-byte chunk (none
// where the system copies in the kernel), whatever the size. The files are
// deleted afterwards.  Run by hand: build/<dir>/bench/copy_bench
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "mpeg/FCT_mpeg.h"
#include "mpeg/FCTs.h"

namespace {

const std::string kSource = "/tmp/kalvor-copy-bench-src.mp3";
const std::string kCopyTarget = "/tmp/kalvor-copy-bench-cp.mp3";
const std::string kFramesTarget = "/tmp/kalvor-copy-bench-frames.mp3";
constexpr std::int64_t kSourceSize = 320'000'000;
constexpr std::int32_t kRange = 300'000'000;
constexpr int kRounds = 9;

bool MakeStream() {
    std::FILE* f = std::fopen(kSource.c_str(), "wb");
    if (!f) return false;
    std::vector<std::uint8_t> block;
    for (int i = 0; i < 2400; ++i) {
        const int length = (i % 3) ? 418 : 417;
        const std::uint8_t header[4] = {0xFF, 0xFB, static_cast<std::uint8_t>((i % 3) ? 0x92 : 0x90), 0x64};
        block.insert(block.end(), header, header + 4);
        for (int k = 4; k < length; ++k) block.push_back(static_cast<std::uint8_t>((i * 31 + k) % 240));
    }
    for (std::int64_t written = 0; written < kSourceSize; written += static_cast<std::int64_t>(block.size()))
        std::fwrite(block.data(), 1, block.size(), f);
    return std::fclose(f) == 0;
}

long MaxRssKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// User and system CPU seconds of this process or of its waited-for children.
double CpuSeconds(int who) {
    rusage usage{};
    getrusage(who, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

template <class Body>
double Seconds(Body&& body) {
    const auto start = std::chrono::steady_clock::now();
    body();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main() {
    if (!MakeStream()) {
        std::printf("cannot write %s\n", kSource.c_str());
        return 1;
    }
    std::system(("cat " + kSource + " > /dev/null").c_str());  // warm the page cache
    const long rssBefore = MaxRssKb();
    // Rounds alternate which copy goes first, and each copy starts with no
    // dirty pages pending (sync), so that write-back of the previous copy and
    // the load of a shared machine fall on both alike. The ratio of each round
    // pairs two measurements taken seconds apart.
    // CPU time per megabyte is given too: on a loaded machine it says more
    // than wall time about the work each copy does.
    std::vector<double> cpRates, copyRates, ratios, cpuRatios;
    double cpCpu = 0, copyCpu = 0;
    std::int64_t copied = 0;
    const auto timeCp = [&] {
        std::system("sync");
        const double cpu = CpuSeconds(RUSAGE_CHILDREN);
        const double seconds = Seconds([] { std::system(("cp " + kSource + " " + kCopyTarget).c_str()); });
        cpCpu = CpuSeconds(RUSAGE_CHILDREN) - cpu;
        cpRates.push_back(kSourceSize / seconds / 1e6);
    };
    const auto timeCopyFrames = [&] {
        std::system("sync");
        const double cpu = CpuSeconds(RUSAGE_SELF);
        const double seconds = Seconds([&] {
            copied = kalvor::CopyFrames(kSource, kFramesTarget, 5'000'000, 5'000'000 + kRange - 1, 1, 1).BytesAppended;
        });
        copyCpu = CpuSeconds(RUSAGE_SELF) - cpu;
        copyRates.push_back(static_cast<double>(copied) / seconds / 1e6);
    };
    for (int round = -1; round < kRounds; ++round) {  // round -1 only warms up
        std::remove(kCopyTarget.c_str());
        std::remove(kFramesTarget.c_str());
        if (round % 2 == 0)
            timeCp(), timeCopyFrames();
        else
            timeCopyFrames(), timeCp();
        if (round < 0) {
            cpRates.clear(), copyRates.clear();
            continue;
        }
        ratios.push_back(copyRates.back() / cpRates.back());
        cpuRatios.push_back((cpCpu / kSourceSize) / (copyCpu / static_cast<double>(copied)));
        std::printf(
            "round %d: cp %.0f MB/s, CopyFrames %.0f MB/s (%lld bytes), ratio %.2f; CPU ms/100 MB cp %.0f, "
            "CopyFrames %.0f\n",
            round + 1, cpRates.back(), copyRates.back(), static_cast<long long>(copied), ratios.back(),
            cpCpu * 1e11 / kSourceSize, copyCpu * 1e11 / static_cast<double>(copied));
    }
    std::printf(
        "median: cp %.0f MB/s, CopyFrames %.0f MB/s, ratio of the medians %.2f, median ratio %.2f, "
        "median CPU-time ratio %.2f\n",
        Median(cpRates), Median(copyRates), Median(copyRates) / Median(cpRates), Median(ratios), Median(cpuRatios));
    std::printf("max resident set: %ld kB before the copies, %ld kB after\n", rssBefore, MaxRssKb());
    std::remove(kSource.c_str());
    std::remove(kCopyTarget.c_str());
    std::remove(kFramesTarget.c_str());
    return 0;
}
