#pragma once
// Decodes the MPEG audio frames of a stretch of a file with libmpg123 and
// measures the peak of each channel of every frame. Any layer, any MPEG
// version libmpg123 knows; a damaged frame gives the level of whatever the
// decoder made of it, and the decoder looks for the next frame past junk.
//
// A frame's sound depends on the frames before it (Layer III takes part of its
// data from them, and every layer's filter carries the end of the last frame
// into the next), so a stretch is decoded from a little before its start:
// those frames only warm the decoder up and are not reported.
#include <atomic>
#include <cstdint>
#include <functional>

#include "document/level_source.h"

using mpg123_handle = struct mpg123_handle_struct;

namespace kalvor {

class SharedFile;

// What a stretch's decode reports per frame: its 0-based offset and the peak
// code of each channel. Returning false ends the decode.
using FrameSink = std::function<bool(std::int64_t offset, const LevelCode* peaks)>;

struct DecodeRange {
    std::int64_t Floor = 0;  // where the audio begins: nothing before it is read
    std::int64_t From = 0;   // the frames starting in [From, To) are reported
    std::int64_t To = 0;
    int Channels = 2;  // 1: every frame mixed to one channel; 2: mono frames doubled
};

class FrameDecoder {
   public:
    // What is read before From to warm the decoder up: more than any frame
    // borrows from the ones before it, for every bit rate and layer.
    static constexpr std::int64_t kWarmUpBytes = 8192;

    FrameDecoder();
    ~FrameDecoder();
    FrameDecoder(const FrameDecoder&) = delete;
    FrameDecoder& operator=(const FrameDecoder&) = delete;

    // Decodes range of file. True when it went to To or to the end of the
    // file; false when cancel was set, the sink said stop, or no decoder could
    // be made.
    bool Decode(const SharedFile& file, const DecodeRange& range, const std::atomic<bool>& cancel,
                const FrameSink& sink);

   private:
    bool Prepare(int channels);

    mpg123_handle* handle_ = nullptr;
    int channels_ = 0;
};

// The peak codes of interleaved 16-bit samples, per channel (1 or 2).
void PeakCodesOf(const std::int16_t* samples, std::size_t count, int channels, LevelCode* out);

}  // namespace kalvor
