#include "mpeg/xing_audit.h"

#include <algorithm>

#include "mpeg/crc16.h"
#include "mpeg/file_read.h"
#include "services/fault_trap.h"

namespace kalvor {
namespace {

bool Fail(XingAudit& audit, AuditFault fault) {
    audit.Fault = fault;
    return false;
}

bool ReadHeaderFrame(const std::string& path, XingAudit& audit) {
    audit.HeaderOffset = audit.Info.FirstFramePos - 1;
    std::int64_t fileSize = -1;
    GetFileSize64(path, &fileSize);
    const std::int64_t length =
        std::min<std::int64_t>(FrameLengthOf(audit.Info.RefHeader), fileSize - audit.HeaderOffset);
    if (length < 4) return false;
    audit.HeaderFrame.resize(static_cast<std::size_t>(length));
    return ReadAvailable(path, audit.HeaderFrame.data(), static_cast<std::int32_t>(length), audit.HeaderOffset) ==
           static_cast<std::int32_t>(length);
}

// Walks the frames, collecting what the header's fields are made of.
bool WalkForHeader(const std::string& path, XingAudit& audit) {
    XingFigureCollector figures(audit);
    const std::int64_t searchFrom = audit.Stored ? HeaderFrameEnd(audit) : 0;
    audit.Walked = WalkFrames(path, audit.HeaderOffset, audit.Info.RefHeader, audit.Walk, figures.Sinks(), searchFrom);
    if (audit.Walked) figures.Store();
    return audit.Walked;
}

}  // namespace

bool AuditXingFile(const std::string& path, bool walkAlways, XingAudit& audit) {
    audit = XingAudit{};
    const bool done = Trapped(false, [&] {
        // A file of 2 GiB or more fails here: positions and the header's byte
        // count are 32-bit.
        audit.Analysis = AnalyzeStreamWhy(path, audit.Info);
        // A Xing header that counts no frames fails the analysis only after the
        // first frame is found; it is exactly the kind of header to put right.
        if (!audit.Analysis.Ok() && audit.Analysis.Fault != AnalysisFault::NoDuration)
            return Fail(audit, AuditFault::Analysis);
        if (!ReadHeaderFrame(path, audit)) return Fail(audit, AuditFault::Unreadable);
        const std::uint8_t* frame = audit.HeaderFrame.data();
        const std::size_t count = audit.HeaderFrame.size();
        audit.Stored = ParseXingHeader(frame, count);
        if (!audit.Stored) {
            if (const auto vbri = ParseVbriHeader(frame, count)) {
                audit.Stored = XingInPlaceOfVbri(frame, count, *vbri);
                audit.FromVbri = true;
            }
        }
        if (!audit.Stored && !walkAlways) return true;
        if (!WalkForHeader(path, audit)) return Fail(audit, AuditFault::Unreadable);
        return true;
    });
    if (!done && audit.Fault == AuditFault::None) audit.Fault = AuditFault::Unexpected;
    return done;
}

XingFigureCollector::XingFigureCollector(XingAudit& audit) : audit_(audit) {
    // Every frame the walk counts has the reference's version and layer, so its
    // bit rate is a lookup by index and its sample count is the reference's.
    const HeaderBytes& ref = audit.Info.RefHeader;
    for (std::uint8_t index = 0; index < 16; ++index)
        bitRates_[index] = BitRateOf(ref[0], static_cast<std::uint8_t>(index << 4));
    // Only frames after the header frame's end count.
    const std::int64_t musicStart = HeaderFrameEnd(audit);
    sinks_.OnFrame = [this, musicStart](const FrameSpot& frame) {
        if (frame.Offset < musicStart) return;
        const int bitRate = bitRates_[frame.Header[1] >> 4];
        if (frames_++ == 0) firstBitRate_ = bitRate;
        if (bitRate != firstBitRate_) audit_.MixedBitRates = true;
        toc_.AddFrame(bitRate);
    };
    if (audit.Stored && audit.Stored->Lame) {
        sinks_.OnBytes = [this, musicStart](std::int64_t offset, const std::uint8_t* bytes, std::size_t count) {
            const std::int64_t skip =
                std::clamp<std::int64_t>(musicStart - offset, 0, static_cast<std::int64_t>(count));
            crc_ = Crc16(bytes + skip, count - static_cast<std::size_t>(skip), crc_);
        };
    }
}

void XingFigureCollector::Store() {
    audit_.Walked = true;
    audit_.FramesAfterHeader = frames_;
    audit_.SamplesAfterHeader = static_cast<std::int64_t>(frames_) * SamplesPerFrame(audit_.Info.RefHeader);
    audit_.BytesFromHeader = static_cast<std::uint32_t>(audit_.Walk.AudioEndOffset - audit_.HeaderOffset);
    audit_.Toc = toc_.Toc();
    audit_.MusicCrc = crc_;
}

std::string AuditFaultText(const XingAudit& audit) {
    switch (audit.Fault) {
        case AuditFault::None: return "";
        case AuditFault::Analysis: return AnalysisFaultText(audit.Analysis);
        case AuditFault::Unreadable: return "the file cannot be read to its end";
        case AuditFault::Unexpected: return "an unexpected fault stopped the check";
    }
    return "";
}

XingHeader UpToDateHeader(const XingAudit& audit, bool endOfAudioCut) {
    XingHeader h = *audit.Stored;
    if (h.Has(kXingFramesFlag)) h.Frames = audit.FramesAfterHeader;
    if (h.Has(kXingBytesFlag)) h.Bytes = audit.BytesFromHeader;
    if (h.Has(kXingTocFlag)) h.Toc = audit.Toc;
    // "Info" promises one bit rate throughout; readers that trust it (this
    // editor's own analysis among them) would take the time from the byte count.
    if (h.IsInfo && audit.MixedBitRates) h.IsInfo = false;
    if (h.Lame) {
        h.Lame->MusicLength = audit.BytesFromHeader;
        h.Lame->MusicCrc = audit.MusicCrc;
        if (endOfAudioCut) h.Lame->EndPadding = 0;
    }
    return h;
}

XingHeader UpToDateHeader(const XingAudit& audit, const GaplessTrim& trim) {
    XingHeader h = UpToDateHeader(audit, false);
    if (h.Lame) {
        h.Lame->EncoderDelay = trim.Delay;
        h.Lame->EndPadding = trim.Padding;
    }
    return h;
}

std::int64_t HeaderFrameEnd(const XingAudit& audit) {
    return audit.HeaderOffset + static_cast<std::int64_t>(audit.HeaderFrame.size());
}

bool HeaderCountsAgree(const XingAudit& audit) {
    if (!audit.Stored) return true;
    const XingHeader& h = *audit.Stored;
    return (!h.Has(kXingFramesFlag) || h.Frames == audit.FramesAfterHeader) &&
           (!h.Has(kXingBytesFlag) || h.Bytes == audit.BytesFromHeader);
}

}  // namespace kalvor
