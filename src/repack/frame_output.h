#pragma once
// An output written from frame ranges: a new version of the document, the
// clipboard, a written selection, a split piece or a built file. Callers take
// the ranges as they would copy them (the same snapping, the same outcomes),
// then write and finish the file.
//
// With ExactFrames on, each range is copied the moment it is taken, byte for
// byte, and only the leading Xing/Info header is brought up to date; Layer I
// and II ranges (which have no reservoir) and free-format streams come out the
// same, copied when Write is called. Otherwise the ranges are written once all
// are known: Layer III frames are repacked at every join and wherever the
// output starts mid-stream, an output whose bit rate varies gets a Xing header
// when it has none, and a piece carries the frames before its range and the
// gapless figures that make it decode to exactly the source's samples of its
// range. A header frame that a range after the first starts with (a pasted
// file's, or the clipboard's) is left out: it is no audio, and in mid-stream
// it would decode as silence.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "mpeg/frame_copy.h"
#include "mpeg/xing_audit.h"

namespace kalvor {

enum class OutputKind {
    Edited,  // a new version of the document, or the clipboard: repacked
    Piece,   // a written selection, split piece or built file: repacked and gapless
};

class FinishingWalk;

class FrameOutput {
   public:
    // destination is missing or empty, or holds only the audioOffset bytes of
    // the tags the output's audio follows.
    FrameOutput(std::string destination, OutputKind kind, std::int64_t audioOffset = 0);
    ~FrameOutput();
    FrameOutput(const FrameOutput&) = delete;
    FrameOutput& operator=(const FrameOutput&) = delete;

    // Takes bytes from..to of source as CopyFrames(source, destination, from,
    // to, snapFrom, snapTo) would, with its outcome. When the ranges are
    // written later, BytesAppended counts the bytes the range takes.
    CopyOutcome Append(const std::string& source, std::int32_t from, std::int32_t to, int snapFrom, int snapTo,
                       AudioBound bound = AudioBound::AtAnalysis);

    // Writes the ranges taken, when they were not copied as they came. The
    // outcome of the writing; BytesAppended counts all bytes written.
    CopyOutcome Write();

    // How many ranges were taken so far: the index the next one gets.
    std::size_t RangesTaken() const { return taken_.size(); }

    // Once written: where the index-th range taken starts in the file (0-based;
    // past a header frame left out, at the frames a piece carries before it),
    // or, for index RangesTaken(), where the written frames end. -1 when it is
    // not known.
    std::int64_t WrittenAt(std::size_t index) const;

    // Brings the file's header up to date (see FinishWrittenFile). endOfAudioCut:
    // the file does not end with the last audio frame of the source it ends with.
    int Finish(bool endOfAudioCut);

   private:
    struct Taken {
        std::string Source;
        std::int32_t From = 0, To = 0;  // 1-based, inclusive, snapped
    };
    struct Header;

    CopyOutcome WriteRepacked();
    CopyOutcome WriteAsTaken();
    bool AppendBytes(const std::vector<std::uint8_t>& bytes, CopyOutcome& total);

    std::string destination_;
    OutputKind kind_;
    std::int64_t audioOffset_;             // the leading tags' bytes before the first frame
    bool asTaken_;                         // each range copied as it comes
    std::unique_ptr<FinishingWalk> walk_;  // follows what is written, when it has a header to finish
    std::vector<Taken> taken_;
    std::vector<std::int64_t> writtenAt_;  // see WrittenAt
    std::unique_ptr<Header> header_;       // what the repacked file starts with, for Finish
};

// For an output of one range: the outcome of taking it, then, when taking went
// well, of writing it (with the taken range's BytesAppended).
CopyOutcome Written(FrameOutput& output, const CopyOutcome& taken);

}  // namespace kalvor
