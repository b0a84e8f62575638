// AnalyzeStream reads a constant number of bytes whatever the file size.
//
// Makes a 10 MB and a 1 GB constant-rate stream (ID3v2 tag, 128 kbit/s frames,
// ID3v1 tag) in /tmp, analyses each warm many times, and prints the bytes and
// read calls the process made per analysis (from /proc/self/io, counted by the
// kernel, so nothing inside kalvor is trusted) and the time per analysis.
// The files are deleted afterwards.  Run by hand: build/<dir>/bench/analyze_bench
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "mpeg/FCT_mpeg.h"

namespace {

struct IoCounters {
    long long rchar = 0;  // bytes returned by read calls
    long long syscr = 0;  // read calls
};

IoCounters ReadIoCounters() {
    IoCounters c;
    std::ifstream io("/proc/self/io");
    for (std::string key; io >> key;) {
        long long value = 0;
        io >> value;
        if (key == "rchar:") c.rchar = value;
        if (key == "syscr:") c.syscr = value;
    }
    return c;
}

// A 2048-byte ID3v2 tag, frames of 417/418 bytes up to size, an ID3v1 block.
bool MakeStream(const std::string& path, std::int64_t size) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    std::vector<std::uint8_t> tag(2048, 0);
    tag[0] = 'I', tag[1] = 'D', tag[2] = '3', tag[3] = 3, tag[8] = 0x0F, tag[9] = 0x76;
    std::fwrite(tag.data(), 1, tag.size(), f);
    std::vector<std::uint8_t> frame(418, 0x55);
    frame[0] = 0xFF, frame[1] = 0xFB, frame[3] = 0x64;
    std::int64_t written = static_cast<std::int64_t>(tag.size());
    for (int i = 0; written + 418 + 128 <= size; ++i) {
        const int length = (i % 3) ? 418 : 417;  // padded and unpadded frames, as an encoder writes them
        frame[2] = (i % 3) ? 0x92 : 0x90;
        std::fwrite(frame.data(), 1, static_cast<std::size_t>(length), f);
        written += length;
    }
    std::vector<std::uint8_t> id3v1(128, ' ');
    id3v1[0] = 'T', id3v1[1] = 'A', id3v1[2] = 'G';
    std::fwrite(id3v1.data(), 1, id3v1.size(), f);
    return std::fclose(f) == 0;
}

void Measure(const std::string& label, std::int64_t size) {
    const std::string path = "/tmp/kalvor-analyze-bench-" + label + ".mp3";
    if (!MakeStream(path, size)) {
        std::printf("%s: cannot write %s\n", label.c_str(), path.c_str());
        return;
    }
    kalvor::StreamInfo info;
    kalvor::AnalyzeStream(path, info);  // warm the page cache and the code
    const int runs = 2000;
    const IoCounters before = ReadIoCounters();
    const auto start = std::chrono::steady_clock::now();
    int ok = 0;
    for (int i = 0; i < runs; ++i) ok += kalvor::AnalyzeStream(path, info);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    const IoCounters after = ReadIoCounters();
    const double us = std::chrono::duration<double, std::micro>(elapsed).count() / runs;
    std::printf("%-6s file %11lld bytes  ok %d/%d  AudioLength %d  DurationMs %d\n", label.c_str(),
                static_cast<long long>(info.FileSize), ok, runs, info.AudioLength, info.DurationMs);
    std::printf("       per analysis: %lld bytes read in %lld read calls, %.1f us (warm)\n",
                (after.rchar - before.rchar) / runs, (after.syscr - before.syscr) / runs, us);
    std::remove(path.c_str());
}

}  // namespace

int main() {
    Measure("10MB", 10'000'000);
    Measure("1GB", 1'000'000'000);
    return 0;
}
