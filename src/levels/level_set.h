#pragma once
// The levels of one version of the document's file. Its audio is cut into
// stretches of bytes; each stretch holds the frames that start in it, decoded
// from its start up to some point (all of them once it is done). Decoding
// threads fill the stretches while the window reads the set; a version that an
// edit makes gets a set put together from the sets of the versions its pieces
// came from, with only the frames around the places where pieces meet left to
// decode again.
//
// Offsets are 0-based byte offsets of the version's file. Every method may be
// called from any thread; changing the set's shape (MarkPending) is done only
// while no thread decodes it.
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "document/level_source.h"
#include "levels/frame_table.h"

namespace kalvor {

class LevelSet;

// Length bytes of a source's levels from SourceOffset, placed at DestOffset of
// the new version. A null Source has no known levels (a file from outside, or
// bytes that could not be found): its frames are decoded anew.
struct SplicePiece {
    const LevelSet* Source = nullptr;
    std::int64_t SourceOffset = 0;
    std::int64_t Length = 0;
    std::int64_t DestOffset = 0;
};

// Frames decoded by a thread, to be added to a stretch in one step.
struct DecodedFrames {
    std::vector<std::int64_t> Offsets;
    std::vector<LevelCode> Peaks;  // channels per frame

    void Clear() {
        Offsets.clear();
        Peaks.clear();
    }
};

class LevelSet {
   public:
    // A stretch not yet decoded to its end, claimed by one decoding thread.
    struct Work {
        std::size_t Stretch = 0;
        std::int64_t From = 0;  // the first offset still to decode
        std::int64_t To = 0;    // the stretch's end
    };

    // Nothing decoded yet: the audio [audioStart, audioEnd) in stretches of at
    // most stretchBytes. bytesPerFrame is a guess of the frames' size, for room.
    LevelSet(int channels, std::int64_t audioStart, std::int64_t audioEnd, std::int64_t stretchBytes,
             std::int64_t bytesPerFrame);
    // A version of audioEnd bytes made of pieces, in order of DestOffset: the
    // known frames of each piece moved to their new place, the rest (what no
    // piece covers, what a piece's source has not decoded yet) left to decode.
    // Where pieces overlap, the later one starts where the earlier ends.
    static std::unique_ptr<LevelSet> Splice(int channels, const std::vector<SplicePiece>& pieces, std::int64_t audioEnd,
                                            std::int64_t stretchBytes, std::int64_t bytesPerFrame);

    int Channels() const { return channels_; }
    std::int64_t BytesPerFrame() const { return bytesPerFrame_; }
    std::int64_t AudioStart() const { return audioStart_; }

    // ---- Reading ----
    LevelProgress Progress() const;
    std::size_t FrameCount() const;
    std::size_t MemoryBytes() const;
    // As LevelSource::RangePeaks, with offsets.
    void RangePeaks(std::int64_t from, std::int64_t step, int count, std::vector<PeakPair>& out) const;
    // The decoded frames starting in from..to (inclusive), in order.
    void ForEachFrame(std::int64_t from, std::int64_t to,
                      const std::function<void(std::int64_t, PeakPair)>& visit) const;
    // The start of the decoded frame nearest to offset, or -1 when none is decoded.
    std::int64_t FrameNear(std::int64_t offset) const;

    // ---- Decoding ----
    // The frames starting in [from, to) are to be decoded again (where pieces meet).
    void MarkPending(std::int64_t from, std::int64_t to);
    // Claims the first stretch that is neither done nor claimed, and has at
    // most maxBytes left to decode. False when there is none.
    bool Claim(Work& work, std::int64_t maxBytes = INT64_MAX);
    // Adds frames decoded in a claimed stretch, all starting after those it
    // holds; frames starting before doneTo are now all in.
    void Publish(const Work& work, const DecodedFrames& frames, std::int64_t doneTo);
    // The thread lets go of the stretch; finished: it is decoded to its end.
    void Release(const Work& work, bool finished);
    // What is not decoded yet never will be (the file cannot be read): the set
    // is complete with the frames it has.
    void GiveUp();

   private:
    struct Stretch {
        std::int64_t From = 0;
        std::int64_t To = 0;
        std::int64_t DoneTo = 0;  // frames starting in [From, DoneTo) are in Frames
        FrameTable Frames;
        bool Claimed = false;
    };
    LevelSet(int channels, std::int64_t stretchBytes, std::int64_t bytesPerFrame);

    void AddPending(std::int64_t from, std::int64_t to);
    void AddPart(const Stretch& source, std::int64_t from, std::int64_t to, std::int64_t shift);
    std::size_t StretchAt(std::int64_t offset) const;

    int channels_;
    std::int64_t stretchBytes_;
    std::int64_t bytesPerFrame_;
    std::int64_t audioStart_ = 0;
    mutable std::mutex mutex_;
    std::vector<Stretch> stretches_;  // in offset order, meeting end to start
};

}  // namespace kalvor
