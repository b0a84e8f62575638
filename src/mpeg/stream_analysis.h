#pragma once
// AnalyzeStream: reads the few bytes that describe an MPEG audio file (the
// start, the blocks up to the first frame, the first frame's Xing header and
// the last kilobyte) and fills its StreamInfo. No frame after the first is
// read and no frame table is built: later positions are derived linearly from
// AudioLength and DurationMs.
#include <string>

#include "mpeg/frame_header.h"
#include "mpeg/stream_info.h"

namespace kalvor {

// Why an analysis failed.
enum class AnalysisFault {
    None,
    Missing,        // no such file
    NotAFile,       // a folder or a device
    Unreadable,     // it exists but cannot be opened or read
    TooShort,       // fewer than 48 bytes
    TooLarge,       // 2 GiB or more: positions are 32-bit
    NotMpeg,        // the signature of another kind of file (WAVE of PCM, PNG, ...)
    NoFrameHeader,  // no acceptable sync before the end of the file
    InvalidHeader,  // the first frame's layer, bit-rate or sampling code is invalid
    Mpeg25,         // an MPEG 2.5 stream (8, 11.025 or 12 kHz), which kalvor does not edit
    NoDuration,     // a Xing header counting no frames
    Unexpected,     // a run-time fault, trapped
};

// The outcome of an analysis, with enough detail for a message.
struct AnalysisResult {
    AnalysisFault Fault = AnalysisFault::None;
    HeaderFault Field = HeaderFault::None;  // the invalid field, for InvalidHeader
    bool Ok() const { return Fault == AnalysisFault::None; }
};

// Fills info from the file at path. On failure info holds whatever was filled
// before it and callers ignore it. Never modifies the file; never throws.
AnalysisResult AnalyzeStreamWhy(const std::string& path, StreamInfo& info);

// The same as 1 (complete) or 0 (failed).
int AnalyzeStream(const std::string& path, StreamInfo& info);

// Whether a finished file is its header frame alone: its Xing header counts no
// frames, as no audio frame follows it. Such a file holds no audio, and the
// analysis refuses it (it could be neither reopened nor pasted), so whatever
// writes one treats it as nothing written.
bool HoldsOnlyAHeaderFrame(const std::string& path);

// The analysis' last step: layer, version, rates, duration, format text and snap
// window from RefHeader, IsVbr, XingFrames, FirstFramePos and AudioLength. For a
// caller that moves the audio's end after an analysis.
AnalysisResult DescribeFormat(StreamInfo& info);

// The reason in plain words, e.g. "no MPEG audio frame header found".
std::string AnalysisFaultText(const AnalysisResult& result);

}  // namespace kalvor
