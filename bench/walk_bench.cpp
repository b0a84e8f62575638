// What finishing a written file costs against writing it.
//
// Makes a 300 MB mp3 in /tmp by concatenating an encoder file with a "Xing"
// header and a LAME extension (the first argument; by default vbr.mp3 from
// $KALVOR_TEST_AUDIO or build/<dir>/testaudio), so FinishWrittenFile walks every
// frame and computes the music CRC over all of it. With the page cache warm it
// times, five rounds each (median and best):
//   - the copy an edit makes: CopyFrames of the whole audio into a fresh file,
//     and, for scale, std::filesystem::copy_file;
//   - FinishWrittenFile on the big file (the walk, the table of contents and
//     the music CRC in one pass; the header is rewritten in the first round);
//   - its parts: the walk alone, and the CRC-16 over the bytes in memory;
// and prints FinishWrittenFile as a share of the CopyFrames time. The files
// are deleted afterwards.  Run by hand: build/<dir>/bench/walk_bench [encoder.mp3]
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
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

template <class Body>
double Ms(Body&& body) {
    const auto start = std::chrono::steady_clock::now();
    body();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

struct Figures {
    double median = 0, best = 0;
};
template <class Body>
Figures Rounds(Body&& body, int rounds = 5) {
    std::vector<double> t;
    for (int i = 0; i < rounds; ++i) t.push_back(Ms(body));
    std::sort(t.begin(), t.end());
    return {t[t.size() / 2], t.front()};
}

void Print(const char* what, const Figures& f) {
    std::printf("%-44s median %8.1f ms   best %8.1f ms\n", what, f.median, f.best);
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

    const Figures copyFrames = Rounds([&] {
        fs::remove(copy);
        kalvor::CopyFrames(big, copy, info.FirstFramePos, info.AudioEndPos, 0, 0);
    });
    const Figures copyFile = Rounds([&] {
        fs::remove(copy);
        fs::copy_file(big, copy);
    });
    fs::remove(copy);
    int finished = 1;
    const Figures finish = Rounds([&] { finished &= kalvor::FinishWrittenFile(big, false); });
    kalvor::FrameWalk walk;
    const Figures walkOnly = Rounds([&] { kalvor::WalkFrames(big, info.FirstFramePos - 1, info.RefHeader, walk); });
    std::uint16_t crc = 0;
    const Figures crcOnly = Rounds([&] { crc = kalvor::Crc16(all.data(), all.size()); });

    Print("CopyFrames, whole file (the edit's writer)", copyFrames);
    Print("std::filesystem::copy_file", copyFile);
    Print("FinishWrittenFile", finish);
    Print("  of which: WalkFrames alone", walkOnly);
    Print("  of which: Crc16 over the bytes in memory", crcOnly);
    std::printf("\nframes %d, crc %04X, FinishWrittenFile returned %d\n", walk.FrameCount, crc, finished);
    std::printf("FinishWrittenFile / CopyFrames: %.1f %% (median), %.1f %% (best)\n",
                100.0 * finish.median / copyFrames.median, 100.0 * finish.best / copyFrames.best);
    std::printf("FinishWrittenFile / copy_file:  %.1f %% (median)\n", 100.0 * finish.median / copyFile.median);
    fs::remove_all(dir);
    return 0;
}
