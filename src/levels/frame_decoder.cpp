#include "levels/frame_decoder.h"

#include <mpg123.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>
#include <vector>

#include "levels/shared_file.h"

namespace kalvor {
namespace {

// Decoding errors in a row after which the rest of a stretch is given up:
// the decoder then finds nothing it can use, however long it searches.
constexpr int kMaxErrorsInARow = 64;
constexpr std::size_t kReadBlock = 64 * 1024;

// The bytes of file from base on, as libmpg123 reads a stream: its offsets are
// relative to base. Reads go through a block buffer, as frames are small.
struct StreamWindow {
    const SharedFile* File = nullptr;
    std::int64_t Base = 0;
    std::int64_t Pos = 0;
    std::vector<unsigned char> Block = std::vector<unsigned char>(kReadBlock);
    std::int64_t BlockStart = 0;  // relative
    std::int64_t BlockLength = 0;
};

mpg123_ssize_t ReadWindow(void* handle, void* buffer, size_t count) {
    auto& window = *static_cast<StreamWindow*>(handle);
    const bool inBlock = window.Pos >= window.BlockStart && window.Pos < window.BlockStart + window.BlockLength;
    if (!inBlock) {
        const std::int64_t got =
            window.File->ReadAt(window.Block.data(), window.Block.size(), window.Base + window.Pos);
        if (got < 0) return -1;
        window.BlockStart = window.Pos;
        window.BlockLength = got;
        if (got == 0) return 0;
    }
    const std::int64_t available = window.BlockStart + window.BlockLength - window.Pos;
    const std::size_t n = std::min<std::size_t>(count, static_cast<std::size_t>(available));
    std::memcpy(buffer, window.Block.data() + (window.Pos - window.BlockStart), n);
    window.Pos += static_cast<std::int64_t>(n);
    return static_cast<mpg123_ssize_t>(n);
}

off_t SeekWindow(void* handle, off_t offset, int whence) {
    auto& window = *static_cast<StreamWindow*>(handle);
    std::int64_t to = offset;
    if (whence == SEEK_CUR) to += window.Pos;
    if (whence == SEEK_END) to += window.File->Size() - window.Base;
    if (to < 0) return -1;
    window.Pos = to;
    return static_cast<off_t>(to);
}

LevelCode CodeOfPeak(unsigned peak) {
    if (peak == 0) return kQuietestLevel;
    return LevelCodeOfDb(20.0 * std::log10(peak / 32768.0));
}

}  // namespace

void PeakCodesOf(const std::int16_t* samples, std::size_t count, int channels, LevelCode* out) {
    // Sixteen lanes the compiler keeps in vector registers; with interleaved
    // channels lane j holds channel j % channels.
    constexpr std::size_t kLanes = 16;
    std::uint16_t lanes[kLanes] = {};
    std::size_t i = 0;
    for (; i + kLanes <= count; i += kLanes) {
        for (std::size_t j = 0; j < kLanes; ++j) {
            const std::int32_t v = samples[i + j];
            const auto magnitude = static_cast<std::uint16_t>(v < 0 ? -v : v);
            lanes[j] = std::max(lanes[j], magnitude);
        }
    }
    unsigned peak[2] = {0, 0};
    const std::size_t n = channels == 1 ? 1 : 2;
    for (std::size_t j = 0; j < kLanes; ++j) peak[j % n] = std::max<unsigned>(peak[j % n], lanes[j]);
    for (; i < count; ++i) {
        const std::int32_t v = samples[i];
        peak[i % n] = std::max<unsigned>(peak[i % n], static_cast<unsigned>(v < 0 ? -v : v));
    }
    for (std::size_t c = 0; c < n; ++c) out[c] = CodeOfPeak(peak[c]);
}

FrameDecoder::FrameDecoder() {
    static std::once_flag initialised;
    std::call_once(initialised, [] { mpg123_init(); });
}

FrameDecoder::~FrameDecoder() {
    if (handle_ != nullptr) mpg123_delete(handle_);
}

bool FrameDecoder::Prepare(int channels) {
    if (handle_ != nullptr && channels_ == channels) return true;
    if (handle_ != nullptr) mpg123_delete(handle_);
    int error = MPG123_OK;
    handle_ = mpg123_new(nullptr, &error);
    if (handle_ == nullptr) return false;
    channels_ = channels;
    // Every frame's whole output, none trimmed for gapless playback; one output
    // format throughout, even where the stream changes its channels.
    mpg123_param(handle_, MPG123_REMOVE_FLAGS, MPG123_GAPLESS, 0);
    mpg123_param(handle_, MPG123_ADD_FLAGS,
                 MPG123_QUIET | MPG123_SKIP_ID3V2 | (channels == 1 ? MPG123_MONO_MIX : MPG123_FORCE_STEREO), 0);
    mpg123_param(handle_, MPG123_RESYNC_LIMIT, -1, 0);
    mpg123_format_none(handle_);
    const long* rates = nullptr;
    size_t rateCount = 0;
    mpg123_rates(&rates, &rateCount);
    for (size_t i = 0; i < rateCount; ++i) {
        mpg123_format(handle_, rates[i], channels == 1 ? MPG123_MONO : MPG123_STEREO, MPG123_ENC_SIGNED_16);
    }
    return mpg123_replace_reader_handle(handle_, ReadWindow, SeekWindow, nullptr) == MPG123_OK;
}

bool FrameDecoder::Decode(const SharedFile& file, const DecodeRange& range, const std::atomic<bool>& cancel,
                          const FrameSink& sink) {
    const int channels = range.Channels == 1 ? 1 : 2;
    if (!Prepare(channels)) return false;
    StreamWindow window;
    window.File = &file;
    window.Base = std::max(range.Floor, range.From - kWarmUpBytes);
    if (mpg123_open_handle(handle_, &window) != MPG123_OK) return false;
    bool whole = true;
    int errors = 0;
    LevelCode peaks[2] = {kNoLevel, kNoLevel};
    for (;;) {
        if (cancel.load(std::memory_order_relaxed)) {
            whole = false;
            break;
        }
        off_t number = 0;
        unsigned char* audio = nullptr;
        size_t bytes = 0;
        const int result = mpg123_decode_frame(handle_, &number, &audio, &bytes);
        if (result == MPG123_DONE) break;
        if (result == MPG123_NEW_FORMAT) continue;
        if (result != MPG123_OK) {
            if (++errors > kMaxErrorsInARow) break;
            continue;
        }
        errors = 0;
        const std::int64_t at = window.Base + mpg123_framepos(handle_);
        if (at >= range.To) break;
        if (at < range.From || bytes == 0) continue;
        PeakCodesOf(reinterpret_cast<const std::int16_t*>(audio), bytes / sizeof(std::int16_t), channels, peaks);
        if (!sink(at, peaks)) {
            whole = false;
            break;
        }
    }
    mpg123_close(handle_);
    return whole;
}

}  // namespace kalvor
