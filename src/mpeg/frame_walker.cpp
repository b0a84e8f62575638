#include "mpeg/frame_walker.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstring>
#include <limits>
#include <vector>

#include "mpeg/byte_fields.h"
#include "mpeg/file_read.h"
#include "services/arith.h"
#include "services/event_pump.h"

namespace kalvor {
namespace {

// Bytes read per step: large enough that opening the file for each block costs
// nothing, small enough to stay in the processor's cache while it is walked.
constexpr std::int32_t kBlock = 512 * 1024;

std::int32_t LengthFromFields(int layer, bool lsf, int kbps, int rate, bool padding) {
    if (kbps <= 0 || rate <= 0) return 0;
    const int pad = padding ? 1 : 0;
    const std::int64_t bits = static_cast<std::int64_t>(kbps) * 1000;
    if (layer == 1) return static_cast<std::int32_t>((12 * bits / rate + pad) * 4);
    if (layer == 3 && lsf) return static_cast<std::int32_t>(72 * bits / rate + pad);
    return static_cast<std::int32_t>(144 * bits / rate + pad);
}

// The lengths of the frames of one stream by bit-rate index and padding bit,
// and the rule for what counts as a frame of that stream.
class StreamShape {
   public:
    explicit StreamShape(const HeaderBytes& ref) : ref_(ref) {
        const auto rateBits = static_cast<std::uint8_t>(ref[1] & kSampleRateMask);
        for (std::uint8_t index = 1; index < 15; ++index)
            for (std::uint8_t pad = 0; pad < 2; ++pad) {
                const HeaderBytes h{ref[0], static_cast<std::uint8_t>((index << 4) | rateBits | (pad << 1)), ref[2]};
                lengths_[index][pad] = FrameLengthOf(h);
            }
    }
    bool Usable() const { return lengths_[1][0] > 0; }
    // The frame length when the four bytes at p start a frame of this stream, else 0.
    std::int32_t LengthAt(const std::uint8_t* p) const {
        if (!IsFrameOfStream(p, ref_)) return 0;
        return lengths_[p[2] >> 4][(p[2] & kPaddingMask) >> 1];
    }

   private:
    HeaderBytes ref_;
    std::array<std::array<std::int32_t, 2>, 16> lengths_{};
};

// The start of a trailing ID3v1 "TAG" block, or the file's end.
std::int64_t AudioEndOf(const std::string& path, std::int64_t start, std::int64_t fileSize) {
    if (fileSize - start < kId3v1Size) return fileSize;
    std::array<std::uint8_t, 3> tag{};
    const std::int64_t at = fileSize - kId3v1Size;
    if (ReadAvailable(path, tag.data(), 3, at) == 3 && IsId3v1Tag(tag.data())) return at;
    return fileSize;
}

// The file from the walk's start to the audio's end, read front to back in
// blocks into one buffer. Bytes before the kept mark may be dropped.
// A stream that follows a file being written learns the audio's end only when
// the writer says the file is complete; until then it waits for bytes, and
// holds back the last ID3v1 block's worth, which may yet turn out to be a tag.
class BlockStream {
   public:
    // A walk of a finished file, on the window's thread.
    BlockStream(const std::string& path, std::int64_t start, std::int64_t end, const FrameWalkSinks& sinks)
        : path_(path),
          sinks_(sinks),
          start_(start),
          bufStart_(start),
          bufEnd_(start),
          keep_(start),
          end_(end),
          readable_(end) {}
    // A walk that follows a file being written, off the window's thread.
    BlockStream(const std::string& path, std::int64_t start, const FrameWalkSinks& sinks, WriteProgress& progress)
        : path_(path),
          sinks_(sinks),
          progress_(&progress),
          start_(start),
          bufStart_(start),
          bufEnd_(start),
          keep_(start),
          end_(std::numeric_limits<std::int64_t>::max()),
          readable_(start) {}

    bool Failed() const { return failed_; }
    void Keep(std::int64_t offset) { keep_ = std::max(keep_, offset); }

    // Whether the audio reaches offset (the byte before it is audio). Waits,
    // when following, until the file holds it or is complete.
    bool Has(std::int64_t offset) {
        while (offset > readable_ && !failed_ && progress_ && !endKnown_) Follow(offset);
        return offset <= end_ && !failed_;
    }

    // The audio's end; known once Has() has answered false.
    std::int64_t End() const { return end_; }

    // The bytes [offset, offset + count), or nullptr when they pass the end. The
    // pointer stays valid until the next call.
    const std::uint8_t* At(std::int64_t offset, std::int32_t count) {
        if (offset + count <= bufEnd_) return buffer_.data() + (offset - bufStart_);
        if (!Has(offset + count) || !Fill(offset + count)) return nullptr;
        return buffer_.data() + (offset - bufStart_);
    }

    // Reads what is left, so that the byte observer sees everything.
    bool ReadToEnd() {
        Keep(bufEnd_);
        return Has(end_) && Fill(end_);
    }

   private:
    // One look at the file being written: how far it may be read, or, once it
    // is complete, where its audio ends. The walk goes on once a whole block
    // past the byte it needs is there, so that it reads in blocks rather than
    // in the writer's small steps.
    void Follow(std::int64_t needed) {
        if (progress_->Cancelled()) {
            failed_ = true;
            return;
        }
        const bool complete = progress_->Complete();  // read before the size: no byte comes after it
        std::int64_t size = -1;
        GetFileSize64(path_, &size);
        if (size < 0) {
            failed_ = true;
        } else if (complete) {
            end_ = readable_ = AudioEndOf(path_, start_, size);
            endKnown_ = true;
            if (bufEnd_ > end_) failed_ = true;  // the file shrank
        } else if (size - kId3v1Size >= needed + kBlock) {
            readable_ = size - kId3v1Size;
        } else {
            progress_->WaitForMore();
        }
    }

    bool Fill(std::int64_t upTo) {
        // Keep the bytes from the kept mark on; the rest of the buffer is reused.
        const std::int64_t from = std::min(keep_, bufEnd_);
        const auto kept = static_cast<std::size_t>(bufEnd_ - from);
        if (from > bufStart_ && kept > 0) std::memmove(buffer_.data(), buffer_.data() + (from - bufStart_), kept);
        bufStart_ = from;
        while (bufEnd_ < upTo) {
            const auto count = static_cast<std::int32_t>(std::min<std::int64_t>(kBlock, readable_ - bufEnd_));
            const auto used = static_cast<std::size_t>(bufEnd_ - bufStart_);
            if (buffer_.size() < used + static_cast<std::size_t>(count))
                buffer_.resize(std::max(used + static_cast<std::size_t>(count), buffer_.size() * 2));
            std::uint8_t* block = buffer_.data() + used;
            // A long walk on the window's thread lets its events run, like a copy.
            if (!progress_) PumpEvents();
            // A short read means the file shrank while it was walked: its end is
            // not where the walk was told, so the walk cannot be trusted.
            if (ReadAvailable(path_, block, count, bufEnd_) != count) {
                failed_ = true;
                return false;
            }
            if (sinks_.OnBytes) sinks_.OnBytes(bufEnd_, block, static_cast<std::size_t>(count));
            bufEnd_ += count;
        }
        return true;
    }

    const std::string& path_;
    const FrameWalkSinks& sinks_;
    WriteProgress* progress_ = nullptr;  // set when following a file being written
    std::vector<std::uint8_t> buffer_;
    std::int64_t start_;  // where the walk began
    std::int64_t bufStart_, bufEnd_, keep_;
    std::int64_t end_;       // the audio's end, once known
    std::int64_t readable_;  // how far the file may be read now
    bool endKnown_ = false;
    bool failed_ = false;
};

class Walker {
   public:
    Walker(BlockStream& in, const HeaderBytes& ref, FrameWalk& walk, const FrameWalkSinks& sinks,
           std::int64_t searchFrom)
        : in_(in),
          ref_(ref),
          shape_(ref),
          samplesPerFrame_(SamplesPerFrame(ref)),
          walk_(walk),
          sinks_(sinks),
          searchFrom_(searchFrom) {}

    bool Usable() const { return shape_.Usable(); }

    void Run(std::int64_t pos) {
        while (in_.Has(pos + 4)) {
            in_.Keep(pos);
            const std::uint8_t* p = in_.At(pos, 4);
            if (!p) break;
            std::int32_t length = shape_.LengthAt(p);
            HeaderBytes header{p[1], p[2], p[3]};
            // Along an unbroken chain each header is read once: as the check that
            // the frame before it is whole, and then as the next frame.
            while (length > 0 && in_.Has(pos + length + 4)) {
                const std::uint8_t* next = in_.At(pos + length, 4);
                const std::int32_t nextLength = next ? shape_.LengthAt(next) : 0;
                if (nextLength == 0) break;
                Count(pos, length, header);
                header = {next[1], next[2], next[3]};
                pos += length;
                length = nextLength;
                in_.Keep(pos);
            }
            if (in_.Failed()) break;
            if (length > 0 && Followed(pos + length)) {
                Count(pos, length, header);
                pos += length;
                continue;
            }
            ++walk_.Resyncs;
            const std::int64_t found = Resync(std::max(pos + 1, searchFrom_));
            if (in_.Failed()) break;
            const std::int64_t frameEnd = length > 0 ? pos + length : -1;
            // The frame here is whole when the chain resumes at or after its end.
            const std::int64_t resume = found >= 0 ? found : in_.End();
            if (frameEnd > 0 && frameEnd <= resume) {
                Count(pos, length, header);
                walk_.JunkBytes += resume - frameEnd;
            } else {
                walk_.JunkBytes += resume - pos;
            }
            pos = resume;
        }
        if (!in_.Failed() && pos < in_.End()) walk_.JunkBytes += in_.End() - pos;
    }

   private:
    // True when a frame ending at next is followed by the audio's end, by too few
    // bytes to hold a header, or by a header of the stream.
    bool Followed(std::int64_t next) {
        if (!in_.Has(next)) return false;
        if (!in_.Has(next + 4)) return !in_.Failed();
        const std::uint8_t* p = in_.At(next, 4);
        return p && shape_.LengthAt(p) > 0;
    }

    // The offset where the chain of frames resumes at or after from, or -1. Of the
    // candidates that overlap the first one found, the most alike wins.
    std::int64_t Resync(std::int64_t from) {
        std::int64_t best = -1, bestEnd = 0;
        int bestScore = -1;
        for (std::int64_t q = from; in_.Has(q + 4); ++q) {
            if (best >= 0 && q >= bestEnd) break;
            in_.Keep(best >= 0 ? best : q);
            const std::uint8_t* p = in_.At(q, 4);
            if (!p) break;
            if (!IsSync(p[0], p[1])) continue;
            const std::int32_t length = shape_.LengthAt(p);
            if (length == 0) continue;
            const int score = HeaderLikeness({p[1], p[2], p[3]}, ref_);
            if (score <= bestScore || !Followed(q + length)) continue;
            best = q;
            bestEnd = q + length;
            bestScore = score;
            if (score == kFullLikeness) break;
        }
        return best;
    }

    void Count(std::int64_t offset, std::int32_t length, const HeaderBytes& header) {
        ++walk_.FrameCount;
        walk_.FrameBytes += length;
        walk_.SampleCount += samplesPerFrame_;
        if (sinks_.OnFrame) sinks_.OnFrame(FrameSpot{offset, length, header});
    }

    BlockStream& in_;
    HeaderBytes ref_;
    StreamShape shape_;
    int samplesPerFrame_;  // the same for every frame the shape accepts
    FrameWalk& walk_;
    const FrameWalkSinks& sinks_;
    std::int64_t searchFrom_;  // a broken chain is searched for from here on at the earliest
};

bool RunWalk(BlockStream& in, const HeaderBytes& ref, FrameWalk& walk, const FrameWalkSinks& sinks,
             std::int64_t searchFrom) {
    Walker walker(in, ref, walk, sinks, searchFrom);
    if (!walker.Usable()) {
        walk.Fault = WalkFault::BadReference;
        return false;
    }
    walker.Run(walk.StartOffset);
    if (in.Failed() || !in.ReadToEnd()) {
        walk.Fault = WalkFault::Unreadable;
        return false;
    }
    walk.AudioEndOffset = in.End();
    return true;
}

// A walk of a finished file from start to end (the audio's end); an end before
// the start (or -1) means the file cannot be read.
bool WalkBetween(const std::string& path, std::int64_t start, std::int64_t end, const HeaderBytes& ref, FrameWalk& walk,
                 const FrameWalkSinks& sinks, std::int64_t searchFrom = 0) {
    walk = FrameWalk{};
    walk.StartOffset = start;
    walk.SampleRate = SampleRateOf(ref[0], ref[1]);
    if (start < 0 || end < start) {
        walk.Fault = WalkFault::Unreadable;
        return false;
    }
    BlockStream in(path, start, end, sinks);
    return RunWalk(in, ref, walk, sinks, searchFrom);
}

}  // namespace

std::int32_t FrameLengthOf(const HeaderBytes& header) {
    return LengthFromFields(LayerOf(header[0]), IsLsfOf(header[0]) == 1, BitRateOf(header[0], header[1]),
                            SampleRateOf(header[0], header[1]), (header[1] & kPaddingMask) != 0);
}

std::int32_t FrameWalk::DurationMs() const {
    if (SampleRate <= 0) return 0;
    return RoundHalfEven(static_cast<double>(SampleCount) * 1000.0 / SampleRate);
}

bool WalkFrames(const std::string& path, std::int64_t startOffset, const HeaderBytes& ref, FrameWalk& walk,
                const FrameWalkSinks& sinks, std::int64_t searchFrom) {
    std::int64_t fileSize = -1;
    GetFileSize64(path, &fileSize);
    const std::int64_t end = fileSize < 0 || startOffset < 0 ? -1 : AudioEndOf(path, startOffset, fileSize);
    return WalkBetween(path, startOffset, end, ref, walk, sinks, searchFrom);
}

bool WalkFrameRange(const std::string& path, std::int64_t startOffset, std::int64_t endOffset, const HeaderBytes& ref,
                    FrameWalk& walk) {
    std::int64_t fileSize = -1;
    GetFileSize64(path, &fileSize);
    return WalkBetween(path, startOffset, std::min(endOffset, fileSize), ref, walk, {});
}

bool WalkGrowingFile(const std::string& path, std::int64_t startOffset, const HeaderBytes& ref, FrameWalk& walk,
                     WriteProgress& progress, const FrameWalkSinks& sinks, std::int64_t searchFrom) {
    walk = FrameWalk{};
    walk.StartOffset = startOffset;
    walk.SampleRate = SampleRateOf(ref[0], ref[1]);
    BlockStream in(path, startOffset, sinks, progress);
    return RunWalk(in, ref, walk, sinks, searchFrom);
}

void WriteProgress::MarkComplete() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        complete_ = true;
    }
    changed_.notify_all();
}

void WriteProgress::Cancel() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        cancelled_ = true;
    }
    changed_.notify_all();
}

bool WriteProgress::Complete() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return complete_;
}

bool WriteProgress::Cancelled() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return cancelled_;
}

void WriteProgress::WaitForMore() {
    // The writer does not say when it has appended: the file is looked at again
    // after a moment, or at once when the writer is done.
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait_for(lock, std::chrono::milliseconds(1), [this] { return complete_ || cancelled_; });
}

}  // namespace kalvor
