#pragma once
// What a file's leading "Xing"/"Info" header says against what its frames are.
// The audit reads the first frame, walks every frame after it and works out the
// figures the header should hold: the check command prints them, and
// FinishWrittenFile writes them.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "mpeg/frame_walker.h"
#include "mpeg/stream_analysis.h"
#include "mpeg/stream_info.h"
#include "mpeg/xing_header.h"

namespace kalvor {

enum class AuditFault { None, Analysis, Unreadable, Unexpected };

// The encoder delay and end padding of a LAME extension, in samples: what
// decoders that honour them drop at either end (besides their own delay).
struct GaplessTrim {
    std::int32_t Delay = 0;
    std::int32_t Padding = 0;
};

struct XingAudit {
    AuditFault Fault = AuditFault::None;
    AnalysisResult Analysis;                // the file's analysis (why it failed, for Fault == Analysis)
    StreamInfo Info;                        // the file's analysis record
    std::int64_t HeaderOffset = 0;          // 0-based offset of the first frame
    std::vector<std::uint8_t> HeaderFrame;  // the first frame's bytes as the file holds them
    std::optional<XingHeader> Stored;       // its "Xing"/"Info" header, when it holds one
    // The frame holds a VBRI header instead: Stored is then the Xing header
    // that takes its place, holding the VBRI's counts.
    bool FromVbri = false;
    bool Walked = false;  // Walk is filled
    FrameWalk Walk;       // every whole frame from the first one on

    // The real figures, when there is a header: as the encoder counts them.
    std::uint32_t FramesAfterHeader = 0;  // frames after the header frame's end
    std::int64_t SamplesAfterHeader = 0;  // samples in those frames
    std::uint32_t BytesFromHeader = 0;    // from the header frame's first byte to the audio's end
    XingToc Toc{};                        // rebuilt from the frames after the header frame
    std::uint16_t MusicCrc = 0;           // of the bytes after the header frame (only with a LAME extension)
    bool MixedBitRates = false;           // the frames after the header frame differ in bit rate
};

// Analyses the file at path, reads its first frame and, when that holds a
// header (or walkAlways), walks its frames. False when the file cannot be
// analysed or read (audit.Fault says why). Never modifies the file.
bool AuditXingFile(const std::string& path, bool walkAlways, XingAudit& audit);

// Collects, while the frames are walked from the header frame on, the figures
// the header should hold. The audit must hold Info.RefHeader, HeaderOffset,
// HeaderFrame and Stored; the walk goes into audit.Walk. For a caller that
// makes the walk itself (one that follows a file being written).
class XingFigureCollector {
   public:
    explicit XingFigureCollector(XingAudit& audit);
    XingFigureCollector(const XingFigureCollector&) = delete;
    XingFigureCollector& operator=(const XingFigureCollector&) = delete;

    const FrameWalkSinks& Sinks() const { return sinks_; }
    // After a walk that reached the audio's end: the figures into the audit.
    void Store();

   private:
    XingAudit& audit_;
    FrameWalkSinks sinks_;
    std::array<int, 16> bitRates_{};
    XingTocBuilder toc_;
    std::uint32_t frames_ = 0;
    int firstBitRate_ = 0;
    std::uint16_t crc_ = 0;
};

// The reason in plain words, for a failed audit.
std::string AuditFaultText(const XingAudit& audit);

// The stored header with the real figures put in: the frame and byte counts
// where its flags hold them, the table of contents, "Xing" for an "Info" header
// over frames of differing bit rates, and in a LAME extension the music length
// and CRC; the encoder delay is kept and the end padding becomes 0 when
// endOfAudioCut. Needs audit.Stored.
XingHeader UpToDateHeader(const XingAudit& audit, bool endOfAudioCut);
// The same with the LAME extension's delay and padding set to trim.
XingHeader UpToDateHeader(const XingAudit& audit, const GaplessTrim& trim);

// Where the header frame ends and the music begins (0-based).
std::int64_t HeaderFrameEnd(const XingAudit& audit);

// True when the stored frame and byte counts (those present) equal the real ones.
bool HeaderCountsAgree(const XingAudit& audit);

}  // namespace kalvor
