#include "mpeg/wav_header.h"

#include <algorithm>
#include <array>
#include <limits>
#include <stdexcept>

#include "mpeg/byte_fields.h"
#include "mpeg/file_read.h"
#include "services/arith.h"
#include "services/basic.h"
#include "services/fault_trap.h"

namespace kalvor {
namespace {

// Every read is bounded by the file's size, taken once before the walk.
class ChunkReader {
   public:
    explicit ChunkReader(const std::string& path) : path_(path) { GetFileSize64(path, &size_); }
    bool Sized() const { return size_ >= 0; }
    // True when offset lies past the end: the walk stops there before reading.
    bool Beyond(std::uint64_t offset) const { return offset > static_cast<std::uint64_t>(size_); }
    bool Read(std::uint64_t offset, std::uint8_t* buffer, std::int32_t count) const {
        if (Beyond(offset + static_cast<std::uint64_t>(count))) return false;
        return ReadAvailable(path_, buffer, count, static_cast<std::int64_t>(offset)) == count;
    }
    bool ReadU32(std::uint64_t offset, std::uint32_t& value) const {
        std::array<std::uint8_t, 4> b{};
        if (!Read(offset, b.data(), 4)) return false;
        value = LittleEndian32(b.data());
        return true;
    }

   private:
    std::string path_;
    std::int64_t size_ = -1;
};

bool AcceptedPcmShape(int channels, int bits) {
    if (channels == 1 || channels == 2) return bits == 8 || bits == 16 || bits == 24;
    if (channels == 6 || channels == 8) return bits == 16 || bits == 24;
    return false;
}

// Reads the "fmt " fields into info; false when the walk must stop.
bool ReadFormatChunk(const ChunkReader& reader, std::uint64_t pos, WavInfo& info) {
    if (reader.Beyond(pos + 8)) return false;
    std::array<std::uint8_t, 16> f{};
    if (!reader.Read(pos + 8, f.data(), 16)) return false;
    info.FormatTag = static_cast<std::int16_t>(LittleEndian16(&f[0]));
    info.Channels = static_cast<std::int16_t>(LittleEndian16(&f[2]));
    info.SampleRate = static_cast<std::int32_t>(LittleEndian32(&f[4]));
    info.BitsPerSample = static_cast<std::int16_t>(LittleEndian16(&f[14]));
    return AcceptedPcmShape(info.Channels, info.BitsPerSample);
}

void ComputeDuration(std::uint32_t dataSize, WavInfo& info) {
    // A zero rate is a broken header, not a silent file: it ends the reading as a
    // fault; so does one of 2^31 Hz or more, which would give a negative duration.
    if (info.SampleRate <= 0) throw std::domain_error("WAVE header with a sampling rate of 0 or beyond 32 bits");
    const std::uint32_t frameBytes = static_cast<std::uint32_t>(info.Channels * info.BitsPerSample / 8);
    const std::uint64_t frames = std::min<std::uint64_t>(dataSize / frameBytes, 0x7FFFFFFF);
    // At a low rate even 2^31 frames last longer than 2^31 ms: the duration
    // stops at the largest it can hold instead of wrapping round to a negative.
    const double ms = static_cast<double>(frames) / info.SampleRate * 1000.0;
    info.DurationMs = RoundHalfEven(std::min(ms, static_cast<double>(std::numeric_limits<std::int32_t>::max())));
    info.Ok = 1;
}

void WalkChunks(const ChunkReader& reader, WavInfo& info) {
    bool haveFormat = false, haveData = false;
    std::uint32_t dataSize = 0;
    for (std::uint64_t pos = 12;;) {
        std::array<std::uint8_t, 4> id{};
        if (reader.Beyond(pos + 4)) return;
        if (!reader.Read(pos, id.data(), 4)) return;
        if (BytesMatch(id.data(), "fmt ")) {
            if (!ReadFormatChunk(reader, pos, info)) return;
            haveFormat = true;
        } else if (BytesMatch(id.data(), "data")) {
            if (reader.Beyond(pos + 4) || !reader.ReadU32(pos + 4, dataSize)) return;
            haveData = true;
        }
        if (haveFormat && haveData) return ComputeDuration(dataSize, info);
        std::uint32_t size = 0;
        if (reader.Beyond(pos + 8) || !reader.ReadU32(pos + 4, size)) return;
        pos += 8 + static_cast<std::uint64_t>(size) + (size & 1u);
    }
}

}  // namespace

WavInfo ReadWavHeader(const std::string& path) {
    WavInfo info;
    TrappedRun([&] {
        ChunkReader reader(path);
        if (reader.Sized()) WalkChunks(reader, info);
    });
    return info;
}

std::string WavContainerType(const std::string& path) {
    return Trapped(std::string(), [&] {
        switch (ReadWavHeader(path).FormatTag) {
            case kWavFormatPcm: return std::string("wav");
            case kWavFormatMpeg: return std::string("mp2");
            case kWavFormatMpegLayer3: return std::string("mp3");
            case kWavFormatWma:
            case kWavFormatWma2: return std::string("wmariff");
            default: return LowerExtensionOf(path);
        }
    });
}

}  // namespace kalvor
