#include "mpeg/xing_audit.h"

#include <algorithm>
#include <array>

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
    const std::int64_t musicStart = audit.HeaderOffset + static_cast<std::int64_t>(audit.HeaderFrame.size());
    const bool wantCrc = audit.Stored && audit.Stored->Lame;
    XingTocBuilder toc;
    std::uint32_t frames = 0;
    // Every frame the walk counts has the reference's version and layer, so its
    // bit rate is a lookup by index and its sample count is the reference's.
    std::array<int, 16> bitRates{};
    for (std::uint8_t index = 0; index < 16; ++index)
        bitRates[index] = BitRateOf(audit.Info.RefHeader[0], static_cast<std::uint8_t>(index << 4));
    int firstBitRate = 0;
    std::uint16_t crc = 0;
    FrameWalkSinks sinks;
    sinks.OnFrame = [&](const FrameSpot& frame) {
        if (frame.Offset <= audit.HeaderOffset) return;
        const int bitRate = bitRates[frame.Header[1] >> 4];
        if (frames++ == 0) firstBitRate = bitRate;
        if (bitRate != firstBitRate) audit.MixedBitRates = true;
        toc.AddFrame(bitRate);
    };
    if (wantCrc) {
        sinks.OnBytes = [&](std::int64_t offset, const std::uint8_t* bytes, std::size_t count) {
            const std::int64_t skip =
                std::clamp<std::int64_t>(musicStart - offset, 0, static_cast<std::int64_t>(count));
            crc = Crc16(bytes + skip, count - static_cast<std::size_t>(skip), crc);
        };
    }
    audit.Walked = WalkFrames(path, audit.HeaderOffset, audit.Info.RefHeader, audit.Walk, sinks);
    if (!audit.Walked) return false;
    audit.FramesAfterHeader = frames;
    audit.SamplesAfterHeader = static_cast<std::int64_t>(frames) * SamplesPerFrame(audit.Info.RefHeader);
    audit.BytesFromHeader = static_cast<std::uint32_t>(audit.Walk.AudioEndOffset - audit.HeaderOffset);
    audit.Toc = toc.Toc();
    audit.MusicCrc = crc;
    return true;
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
        audit.Stored = ParseXingHeader(audit.HeaderFrame.data(), audit.HeaderFrame.size());
        if (!audit.Stored && !walkAlways) return true;
        if (!WalkForHeader(path, audit)) return Fail(audit, AuditFault::Unreadable);
        return true;
    });
    if (!done && audit.Fault == AuditFault::None) audit.Fault = AuditFault::Unexpected;
    return done;
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

bool HeaderCountsAgree(const XingAudit& audit) {
    if (!audit.Stored) return true;
    const XingHeader& h = *audit.Stored;
    return (!h.Has(kXingFramesFlag) || h.Frames == audit.FramesAfterHeader) &&
           (!h.Has(kXingBytesFlag) || h.Bytes == audit.BytesFromHeader);
}

}  // namespace kalvor
