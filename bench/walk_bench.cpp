// What finishing a written file costs against writing it.
//
// Makes a 300 MB mp3 in /tmp by concatenating an encoder file with a "Xing"
// header and a LAME extension (the first argument; by default vbr.mp3 from
// $KALVOR_TEST_AUDIO or build/<dir>/testaudio), so FinishWrittenFile walks every
// frame and computes the music CRC over all of it. With the page cache warm it
// times, in seven interleaved rounds (median and best):
//   - the copy an edit makes: CopyFrames of the whole audio into a fresh file,
//     and, for scale, std::filesystem::copy_file;
//   - FinishWrittenFile on the big file (the walk, the table of contents and
//     the music CRC in one pass; the header is rewritten in the first round);
//   - its parts: the walk alone, and the CRC-16 over the bytes in memory;
//   - the copy with a FinishingWalk following it and finishing the copy, as the
//     editor writes every file;
// and prints FinishWrittenFile as a share of the CopyFrames time, and what
// finishing while writing adds to the copy. The files
// are deleted afterwards.  Run by hand: build/<dir>/bench/walk_bench [encoder.mp3]
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "mpeg/FCT_mpeg.h"
#include "mpeg/FCTs.h"
#include "mpeg/crc16.h"
#include "mpeg/finish_file.h"
#include "mpeg/frame_walker.h"

namespace {

namespace fs = std::filesystem;

constexpr std::int64_t kTargetSize = 300'000'000;

std::vector<std::uint8_t> ReadAll(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return bytes;
    std::uint8_t block[65536];
    for (std::size_t n; (n = std::fread(block, 1, sizeof block, f)) > 0;) bytes.insert(bytes.end(), block, block + n);
    std::fclose(f);
    return bytes;
}

bool MakeBigFile(const std::vector<std::uint8_t>& piece, const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    for (std::int64_t written = 0; written < kTargetSize; written += static_cast<std::int64_t>(piece.size()))
        if (std::fwrite(piece.data(), 1, piece.size(), f) != piece.size()) break;
    return std::fclose(f) == 0;
}

// Wall-clock and processor time of one run. Processor time (std::clock: user
// and system time of this process) is the steadier figure on a busy machine.
struct Timing {
    double wallMs = 0, cpuMs = 0;
};
template <class Body>
Timing Time(Body&& body) {
    const std::clock_t cpu = std::clock();
    const auto start = std::chrono::steady_clock::now();
    body();
    return {std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count(),
            1000.0 * static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC};
}

struct Figures {
    double median = 0, best = 0, cpuMedian = 0;
};
Figures Summary(const std::vector<Timing>& runs) {
    std::vector<double> wall, cpu;
    for (const Timing& t : runs) {
        wall.push_back(t.wallMs);
        cpu.push_back(t.cpuMs);
    }
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    return {wall[wall.size() / 2], wall.front(), cpu[cpu.size() / 2]};
}

void Print(const char* what, const Figures& f) {
    std::printf("%-44s wall median %7.1f ms  best %7.1f ms   cpu median %7.1f ms\n", what, f.median, f.best,
                f.cpuMedian);
}

std::string DefaultEncoderFile() {
    const char* dir = std::getenv("KALVOR_TEST_AUDIO");
    return std::string(dir ? dir : "testaudio") + "/vbr.mp3";
}

}  // namespace

int main(int argc, char** argv) {
    const std::string encoderFile = argc > 1 ? argv[1] : DefaultEncoderFile();
    const std::vector<std::uint8_t> piece = ReadAll(encoderFile);
    if (piece.size() < 4) {
        std::fprintf(stderr, "walk_bench: cannot read %s (make it with tools/make-test-audio.sh)\n",
                     encoderFile.c_str());
        return 1;
    }
    const fs::path dir = fs::temp_directory_path() / "kalvor-walk-bench";
    fs::create_directories(dir);
    const std::string big = (dir / "big.mp3").string(), copy = (dir / "copy.mp3").string();
    if (!MakeBigFile(piece, big)) {
        std::fprintf(stderr, "walk_bench: cannot write %s\n", big.c_str());
        fs::remove_all(dir);
        return 1;
    }
    kalvor::StreamInfo info;
    if (kalvor::AnalyzeStream(big, info) != 1) {
        std::fprintf(stderr, "walk_bench: %s is not an MPEG audio file\n", encoderFile.c_str());
        fs::remove_all(dir);
        return 1;
    }
    const std::vector<std::uint8_t> all = ReadAll(big);  // also warms the page cache
    std::printf("file: %zu bytes, %zu copies of %s\n\n", all.size(), all.size() / piece.size(), encoderFile.c_str());

    // The rounds interleave the measurements, so that other work on the machine
    // weighs on all of them alike.
    constexpr int kRounds = 7;
    std::vector<Timing> copyFramesMs, followedMs, copyFileMs, finishMs, walkMs, crcMs;
    int finished = 1;
    kalvor::FrameWalk walk;
    std::uint16_t crc = 0;
    for (int round = 0; round < kRounds; ++round) {
        fs::remove(copy);
        copyFramesMs.push_back(
            Time([&] { kalvor::CopyFrames(big, copy, info.FirstFramePos, info.AudioEndPos, 0, 0); }));
        fs::remove(copy);
        followedMs.push_back(Time([&] {
            kalvor::FinishingWalk finishing(copy);
            kalvor::CopyFrames(big, copy, info.FirstFramePos, info.AudioEndPos, 0, 0);
            finished &= finishing.Finish(false);
        }));
        fs::remove(copy);
        copyFileMs.push_back(Time([&] { fs::copy_file(big, copy); }));
        fs::remove(copy);
        finishMs.push_back(Time([&] { finished &= kalvor::FinishWrittenFile(big, false); }));
        walkMs.push_back(Time([&] { kalvor::WalkFrames(big, info.FirstFramePos - 1, info.RefHeader, walk); }));
        crcMs.push_back(Time([&] { crc = kalvor::Crc16(all.data(), all.size()); }));
    }
    const Figures followed = Summary(followedMs);
    const Figures copyFrames = Summary(copyFramesMs), copyFile = Summary(copyFileMs), finish = Summary(finishMs),
                  walkOnly = Summary(walkMs), crcOnly = Summary(crcMs);

    Print("CopyFrames, whole file (the edit's writer)", copyFrames);
    Print("CopyFrames followed by a FinishingWalk, finished", followed);
    Print("std::filesystem::copy_file", copyFile);
    Print("FinishWrittenFile", finish);
    Print("  of which: WalkFrames alone", walkOnly);
    Print("  of which: Crc16 over the bytes in memory", crcOnly);
    std::printf("\nframes %d, crc %04X, FinishWrittenFile returned %d\n", walk.FrameCount, crc, finished);
    std::printf("FinishWrittenFile / CopyFrames: wall %.1f %% (median), %.1f %% (best); cpu %.1f %% (median)\n",
                100.0 * finish.median / copyFrames.median, 100.0 * finish.best / copyFrames.best,
                100.0 * finish.cpuMedian / copyFrames.cpuMedian);
    std::printf("finishing while writing adds: wall %.1f %% (median), %.1f %% (best); cpu %.1f %% (median)\n",
                100.0 * (followed.median / copyFrames.median - 1), 100.0 * (followed.best / copyFrames.best - 1),
                100.0 * (followed.cpuMedian / copyFrames.cpuMedian - 1));
    std::printf("FinishWrittenFile / copy_file:  wall %.1f %% (median); cpu %.1f %% (median)\n",
                100.0 * finish.median / copyFile.median, 100.0 * finish.cpuMedian / copyFile.cpuMedian);
    fs::remove_all(dir);
    return 0;
}
