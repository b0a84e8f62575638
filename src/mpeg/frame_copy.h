#pragma once
// The frame-range copy: the one operation that writes audio. Every edit, every
// written selection, split piece and built file is a sequence of CopyFrames
// calls appending byte ranges of MPEG files to a freshly deleted destination.
// Positions are 1-based byte positions; ranges are inclusive at both ends.
#include <cstdint>
#include <cstdio>
#include <string>

#include "mpeg/audio_bound.h"
#include "mpeg/stream_analysis.h"
#include "mpeg/stream_info.h"

namespace kalvor {

// The piece a snap search reads at a time, and a copy's first step.
inline constexpr std::int32_t CopyChunk = 102400;

// The most a copy reads and writes at once, and all it holds in memory: ten
// chunks, which copy as fast as the system's own file copy where one chunk at a
// time costs a good part more in calls.
inline constexpr std::int32_t CopyBuffer = 10 * CopyChunk;

// The most a copy appends between two runs of the window's pending events. A
// copy starts with steps of one chunk and doubles them while a step takes a few
// milliseconds, up to this, so that a fast disk is not slowed by thousands of
// small calls and a slow one still lets the windows answer several times a second.
inline constexpr std::int32_t CopyStep = 80 * CopyChunk;

// Why a copy wrote nothing or stopped early.
enum class CopyFault {
    None,
    AnalysisFailed,         // a snap was asked for and the source could not be analysed
    EmptyRange,             // nothing to copy (after snapping): to - from <= 0 or a position below 1
    SourceUnreadable,       // a chunk of the source could not be read
    SourceEnded,            // the source ends before the range does
    DestinationUnwritable,  // the destination could not be opened or written
    Unexpected,             // a run-time fault, trapped
};

// What a copy did. Callers may ignore it; bytes already appended stay.
struct CopyOutcome {
    std::int64_t BytesAppended = 0;
    std::int32_t From = 0;  // the source's first byte copied (1-based, after snapping); 0 when none
    CopyFault Fault = CopyFault::None;
    AnalysisResult Analysis;  // the source's analysis, when a snap needed one
    bool Ok() const { return Fault == CopyFault::None; }
};

// Appends bytes from..to of source to the end of destination (created when
// missing, never truncated). snapFrom / snapTo = 1 move that end onto a frame
// boundary first (see SnapToFrame), so that the range holds whole frames only;
// the source's analysis for that ends its audio as bound says.
// Pending window events are processed before each step (one chunk at first,
// at most CopyStep bytes). Both
// files stay open for the call. A read or a write that fails ends the copy:
// nothing stale is ever appended.
CopyOutcome CopyFrames(const std::string& source, const std::string& destination, std::int32_t from, std::int32_t to,
                       int snapFrom, int snapTo, AudioBound bound = AudioBound::AtAnalysis);

// The range CopyFrames copies: from and to moved as snapFrom / snapTo say
// (the source's audio ending as bound says). None (EmptyRange) when nothing is
// left to copy, AnalysisFailed (with the analysis in *analysis) when a snap
// needed the source's analysis and it failed.
CopyFault SnapCopyRange(const std::string& source, std::int32_t& from, std::int32_t& to, int snapFrom, int snapTo,
                        AnalysisResult* analysis = nullptr, AudioBound bound = AudioBound::AtAnalysis);

// The position of the frame header at or after pos (clamped into the audio)
// that best resembles info.RefHeader within 2 x SnapWindow bytes; an exact match
// ends the search, ties keep the earlier one. AudioEndPos + 1 when less than
// SnapWindow bytes of audio remain or no sync is found.
std::int32_t SnapToFrame(const std::string& source, std::int32_t pos, const StreamInfo& info);

// Appends count bytes to the file at path. With a null handle the file is
// opened first (created when missing, contents kept); the open handle is
// returned for the next call and the caller closes it after the last. When the
// open or the write fails, the handle is closed and nullptr returned.
std::FILE* AppendTo(const std::string& path, std::FILE* handle, const std::uint8_t* buffer, std::int32_t count);

// The reason in plain words, e.g. "the destination cannot be written".
std::string CopyFaultText(const CopyOutcome& outcome);

}  // namespace kalvor
