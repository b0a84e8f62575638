#pragma once
// The frame walker: steps from frame to frame by the lengths their headers give,
// from a frame start to the end of the audio, finding the chain again past junk.
// It reads the file once, front to back, in large blocks. The editor never walks
// to navigate (positions stay linear in bytes and milliseconds); only a file that
// has just been written, or one being checked, is walked, to learn its real frame
// count for a leading Xing/Info header.
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

#include "mpeg/frame_header.h"

namespace kalvor {

// Frame length in bytes including the 4-byte header, 0 when the header does not
// decode. Layer I: (12 x bit rate / sampling rate + padding) x 4 bytes; Layer II
// and MPEG-1 Layer III: 144 x bit rate / sampling rate + padding; MPEG-2 LSF
// Layer III: 72 x bit rate / sampling rate + padding (bit rate in bit/s).
std::int32_t FrameLengthOf(const HeaderBytes& header);

// True when the four bytes at p start a frame of the stream whose reference
// header is ref: the same MPEG version, layer and sampling rate, and a valid
// bit-rate index (the protection bit and everything after the rate may vary).
// The rule by which the walk follows a chain of frames.
constexpr bool IsFrameOfStream(const std::uint8_t* p, const HeaderBytes& ref) {
    const int index = p[2] >> 4;
    return p[0] == 0xFF && (p[1] & 0xFE) == (ref[0] & 0xFE) && (p[2] & kSampleRateMask) == (ref[1] & kSampleRateMask) &&
           index != 0 && index != 15;
}

// One whole frame met by the walk.
struct FrameSpot {
    std::int64_t Offset = 0;  // 0-based offset of its first byte
    std::int32_t Length = 0;  // bytes including the 4-byte header
    HeaderBytes Header{0, 0, 0};
};

enum class WalkFault { None, Unreadable, BadReference };

// What a walk found between its start and the end of the audio.
struct FrameWalk {
    WalkFault Fault = WalkFault::None;
    std::int64_t StartOffset = 0;     // where the walk began
    std::int64_t AudioEndOffset = 0;  // just past the audio: the file's end, or a trailing "TAG" block's start
    std::int32_t FrameCount = 0;      // whole frames
    std::int64_t FrameBytes = 0;      // bytes inside those frames
    std::int64_t JunkBytes = 0;       // the other bytes between StartOffset and AudioEndOffset
    std::int32_t Resyncs = 0;         // places where the chain broke and was searched for again
    std::int64_t SampleCount = 0;     // samples in the whole frames
    std::int32_t SampleRate = 0;      // of the reference header

    // The duration of the whole frames in milliseconds, rounded half to even.
    std::int32_t DurationMs() const;
};

// Optional observers of a walk.
struct FrameWalkSinks {
    // Each whole frame, in file order.
    std::function<void(const FrameSpot&)> OnFrame;
    // Every byte from the start to the audio end exactly once, in file order, in
    // the blocks the walk read (offset is the block's 0-based file offset).
    std::function<void(std::int64_t offset, const std::uint8_t* bytes, std::size_t count)> OnBytes;
};

// Walks the file at path from startOffset (normally its first frame) to the end
// of its audio. A frame counts when its header has the reference's MPEG version,
// layer and sampling rate and a valid bit-rate index, and the next frame (or the
// audio's end) follows where its length says. Where the chain breaks, the walk
// searches onward for a header that is followed by another (or by the end); among
// candidates that overlap, the one that most resembles ref (HeaderLikeness, as the
// snap search scores) wins and ties keep the earlier. A frame that breaks off
// where the chain is found again, or runs past the end, counts as junk.
// False when the file cannot be read to the end (walk.Fault says why).
// No search looks before searchFrom: behind a Xing/Info header, the header
// frame's end, as its fields are data (and change when the header is brought up
// to date), however they may look.
bool WalkFrames(const std::string& path, std::int64_t startOffset, const HeaderBytes& ref, FrameWalk& walk,
                const FrameWalkSinks& sinks = {}, std::int64_t searchFrom = 0);

// WalkFrames over the bytes [startOffset, endOffset) only, as if the audio
// ended at endOffset (or at the file's end, when that comes first).
bool WalkFrameRange(const std::string& path, std::int64_t startOffset, std::int64_t endOffset, const HeaderBytes& ref,
                    FrameWalk& walk);

// The writer's side of a walk that follows a file while it is written: the
// walk reads what the file holds and waits for more until the writer marks the
// file complete (or gives it up). Shared between the writing thread and the
// walking one.
class WriteProgress {
   public:
    void MarkComplete();  // no byte will be added
    void Cancel();        // the file will not be completed: the walk stops
    bool Complete() const;
    bool Cancelled() const;
    // Waits a moment for the file to grow, or less when the writer is done.
    void WaitForMore();

   private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool complete_ = false, cancelled_ = false;
};

// WalkFrames on a file that is being written, from startOffset: the walk keeps
// pace with the writer, never reading the last 128 bytes written (they may yet
// turn out to be an ID3v1 tag) until the file is complete. The result is the one
// WalkFrames gives on the complete file. Runs no window events: meant for a
// thread of its own. False when the walk was cancelled or the file could not be read.
bool WalkGrowingFile(const std::string& path, std::int64_t startOffset, const HeaderBytes& ref, FrameWalk& walk,
                     WriteProgress& progress, const FrameWalkSinks& sinks = {}, std::int64_t searchFrom = 0);

}  // namespace kalvor
