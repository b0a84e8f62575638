// The levels of a one-hour 128 kbit/s file are decoded in at most 3 s (over
// 1 200 times real time) on this machine's two cores and hold at most 2 bytes
// per frame and channel; after an edit of a 300 MB file the new version's
// levels are ready in a few milliseconds, long before the edit's copy is done.
//
// Builds the files by repeating a CBR file without an Info header (the test
// audio's cbr128_plain.mp3, 20 s of stereo, and mono.mp3) and times, with the
// steady clock: the decode of the hour with the worker threads the window uses
// and with one; the memory the levels hold, stereo and mono; the 300 MB file's
// decode; and the making of the levels of that file with a tenth cut out of its
// middle, against the time the edit's copy of the other nine tenths takes.
// Run by hand: build/<dir>/bench/levels_bench [TESTAUDIO_DIR]
// (default: $KALVOR_TEST_AUDIO, else build/release/testaudio).
#ifdef KALVOR_HAVE_LEVELS
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bench_measure.h"
#include "levels/level_keeper.h"
#include "mpeg/FCT_mpeg.h"
#include "mpeg/FCTs.h"

namespace {

namespace fs = std::filesystem;
using kalvor::bench::Seconds;

// The source repeated until the file holds at least bytes.
std::string Repeat(const std::string& source, const fs::path& target, std::uintmax_t bytes) {
    std::ifstream in(source, std::ios::binary);
    const std::vector<char> piece((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    for (std::uintmax_t written = 0; written < bytes && !piece.empty(); written += piece.size()) {
        out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
    }
    return target.string();
}

kalvor::StreamInfo Analysed(const std::string& path) {
    kalvor::StreamInfo info;
    if (kalvor::AnalyzeStream(path, info) != 1) {
        std::fprintf(stderr, "cannot analyse %s\n", path.c_str());
        std::exit(1);
    }
    return info;
}

// Bytes of a one-hour file at the source's rate.
std::uintmax_t HourOf(const std::string& source) {
    const kalvor::StreamInfo info = Analysed(source);
    return static_cast<std::uintmax_t>(static_cast<double>(info.FileSize) * 3600000.0 / info.DurationMs);
}

void DecodeHour(const std::string& path, int threads, const char* what) {
    const kalvor::StreamInfo info = Analysed(path);
    std::vector<double> rounds, cpu;
    std::size_t memory = 0, frames = 0;
    for (int round = 0; round < 3; ++round) {
        kalvor::LevelKeeper levels(threads);
        const double cpuBefore = kalvor::bench::CpuSeconds();
        rounds.push_back(Seconds([&] {
            levels.Opened(path, info);
            levels.Wait();
        }));
        cpu.push_back(kalvor::bench::CpuSeconds() - cpuBefore);
        memory = levels.MemoryBytes();
        frames = levels.FrameCount();
    }
    const double median = kalvor::bench::Median(rounds);
    const int channels = kalvor::DecodeHeader(info.RefHeader)->ChannelMode == 3 ? 1 : 2;
    std::printf(
        "%s: %.2f s median of 3 (%.0fx real time), CPU %.2f s, %zu frames, %zu bytes = %.2f bytes per frame and "
        "channel\n",
        what, median, info.DurationMs / 1000.0 / median, kalvor::bench::Median(cpu), frames, memory,
        static_cast<double>(memory) / static_cast<double>(frames * channels));
}

void EditOfBigFile(const std::string& source, const fs::path& folder) {
    const std::string big = Repeat(source, folder / "big.mp3", 300u * 1000 * 1000);
    const kalvor::StreamInfo info = Analysed(big);
    kalvor::LevelKeeper levels;
    const double decode = Seconds([&] {
        levels.Opened(big, info);
        levels.Wait();
    });
    std::printf("300 MB file (%.1f h): levels in %.1f s\n", info.DurationMs / 3600000.0, decode);
    // The edit: the middle tenth deleted, the rest copied into the new version.
    const std::int32_t cutFrom = info.AudioLength / 20 * 9, cutTo = info.AudioLength / 20 * 11;
    const std::string edited = (folder / "edited.mp3").string();
    kalvor::CopyOutcome head, tail;
    const double copy = Seconds([&] {
        head = kalvor::CopyFrames(big, edited, info.FirstFramePos, cutFrom, 0, 1);
        tail = kalvor::CopyFrames(big, edited, cutTo, info.AudioEndPos, 1, 0);
    });
    const std::vector<kalvor::VersionPiece> pieces{{kalvor::PieceSource::Current, head.From - 1, head.BytesAppended},
                                                   {kalvor::PieceSource::Current, tail.From - 1, tail.BytesAppended}};
    const double made = Seconds([&] { levels.VersionMade(edited, pieces); });
    std::printf("edit of it: the copy %.2f s, the new version's levels %.1f ms (%s)\n", copy, made * 1000.0,
                levels.Progress().Complete() ? "complete" : "INCOMPLETE");
}

}  // namespace

int main(int argc, char** argv) {
    const char* env = std::getenv("KALVOR_TEST_AUDIO");
    const std::string audio = argc > 1 ? argv[1] : env ? env : "build/release/testaudio";
    const fs::path folder = fs::temp_directory_path() / "kalvor-levels-bench";
    fs::create_directories(folder);
    const std::string stereo = audio + "/cbr128_plain.mp3", mono = audio + "/mono.mp3";
    const std::string hour = Repeat(stereo, folder / "hour.mp3", HourOf(stereo));
    DecodeHour(hour, 0, "one hour, 128 kbit/s stereo, worker threads");
    DecodeHour(hour, 1, "one hour, 128 kbit/s stereo, one thread");
    DecodeHour(Repeat(mono, folder / "hour_mono.mp3", HourOf(mono)), 0, "one hour, 64 kbit/s mono");
    std::printf("target: one hour in at most 3 s, at most 2 bytes per frame and channel\n");
    EditOfBigFile(stereo, folder);
    fs::remove_all(folder);
    return 0;
}
#else
#include <cstdio>
int main() {
    std::puts("levels_bench: built without the level decoder (libmpg123)");
    return 0;
}
#endif
