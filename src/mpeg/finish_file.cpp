#include "mpeg/finish_file.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <utility>
#include <vector>

#include "mpeg/file_read.h"
#include "mpeg/xing_audit.h"
#include "services/fault_trap.h"

namespace kalvor {
namespace {

// Writes only the span of frame that differs from old, at the frame's offset.
bool WriteChanges(const std::string& path, std::int64_t offset, const std::vector<std::uint8_t>& old,
                  const std::vector<std::uint8_t>& frame) {
    std::size_t first = 0, last = frame.size();
    while (first < last && frame[first] == old[first]) ++first;
    while (last > first && frame[last - 1] == old[last - 1]) --last;
    if (first == last) return true;
    // Opened for update, never truncated: the file keeps its length.
    std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
    if (!f) return false;
    f.seekp(static_cast<std::streamoff>(offset + static_cast<std::int64_t>(first)));
    f.write(reinterpret_cast<const char*>(frame.data() + first), static_cast<std::streamsize>(last - first));
    f.flush();
    const bool ok = static_cast<bool>(f);
    f.close();
    return ok && !f.fail();
}

// Whether the file's analysis starts at the audited header frame.
bool AnalysedFromHeaderFrame(const std::string& path, const XingAudit& audit, StreamInfo& info,
                             AnalysisResult& analysis) {
    analysis = AnalyzeStreamWhy(path, info);
    const bool analysed = analysis.Ok() || analysis.Fault == AnalysisFault::NoDuration;
    return analysed && info.FirstFramePos == audit.HeaderOffset + 1 && info.RefHeader == audit.Info.RefHeader;
}

using HeaderRule = FinishingWalk::HeaderRule;

int FinishWhole(const std::string& path, const HeaderRule& rule) {
    return std::visit([&](const auto& r) { return FinishWrittenFile(path, r); }, rule);
}

// The audited header frame with the real figures.
std::vector<std::uint8_t> UpToDateFrame(const XingAudit& audit, const HeaderRule& rule) {
    XingHeader header = std::visit([&](const auto& r) { return UpToDateHeader(audit, r); }, rule);
    std::vector<std::uint8_t> frame = audit.HeaderFrame;
    // A VBRI header gives way to a Xing header: the frame is cleared after its
    // header (a header frame holds no audio) so no VBRI bytes remain.
    if (audit.FromVbri) std::fill(frame.begin() + 4, frame.end(), std::uint8_t{0});
    StoreXingHeader(header, frame.data(), frame.size());
    return frame;
}

// A LAME extension is known by a CRC over the frame's bytes before it, the
// Xing fields among them, so new fields can make bytes that were none read as
// one.
bool GainsLameExtension(const XingAudit& audit, const std::vector<std::uint8_t>& frame) {
    if (audit.Stored->Lame) return false;
    const auto now = ParseXingHeader(frame.data(), frame.size());
    return now && now->Lame;
}

// The audited file's header frame with the real figures, written in place.
int WriteUpToDateHeader(const std::string& path, const XingAudit& audit, const HeaderRule& rule) {
    if (!audit.Stored) return 1;
    const std::vector<std::uint8_t> frame = UpToDateFrame(audit, rule);
    if (frame == audit.HeaderFrame) return 1;
    if (!WriteChanges(path, audit.HeaderOffset, audit.HeaderFrame, frame)) return 0;
    // New bytes in the header frame can make or unmake a sync inside it, and
    // where no frame confirmed the first one the analysis may then settle on
    // another: the header would describe frames no reader counts from it.
    StreamInfo info;
    AnalysisResult analysis;
    bool finished = AnalysedFromHeaderFrame(path, audit, info, analysis);
    // An extension that appeared is filled in now, as a second finishing
    // would: finishing a finished file changes nothing.
    if (finished && GainsLameExtension(audit, frame)) finished = FinishWhole(path, rule) == 1;
    if (finished) return 1;
    WriteChanges(path, audit.HeaderOffset, frame, audit.HeaderFrame);  // the old bytes go back
    return 0;
}

// The walk or count took the first frame to be at the start: the analysis of
// the complete file has the last word on that.
bool AnalysedAsCounted(const std::string& path, XingAudit& audit) {
    StreamInfo info;
    AnalysisResult analysis;
    if (!AnalysedFromHeaderFrame(path, audit, info, analysis)) return false;
    audit.Analysis = analysis;
    audit.Info = info;
    return true;
}

}  // namespace

int FinishWrittenFile(const std::string& path, bool endOfAudioCut) {
    return Trapped(0, [&] {
        XingAudit audit;
        if (!AuditXingFile(path, false, audit)) return 0;
        return WriteUpToDateHeader(path, audit, endOfAudioCut);
    });
}

int FinishWrittenFile(const std::string& path, const GaplessTrim& trim) {
    return Trapped(0, [&] {
        XingAudit audit;
        if (!AuditXingFile(path, false, audit)) return 0;
        return WriteUpToDateHeader(path, audit, trim);
    });
}

FinishingWalk::FinishingWalk(std::string path, std::int64_t audioOffset)
    : path_(std::move(path)), audioOffset_(audioOffset) {
    // Without a thread (the system has none to give) Finish does the whole walk.
    TrappedRun([this] { thread_ = std::thread([this] { TrappedRun([this] { Follow(); }); }); });
}

FinishingWalk::~FinishingWalk() {
    progress_.Cancel();
    Stop();
}

void FinishingWalk::Stop() {
    if (thread_.joinable()) thread_.join();
}

// Fills bytes from the file's start once the writer has put that many there;
// false when the file is complete (or given up) shorter than that.
bool FinishingWalk::ReadWhenWritten(std::vector<std::uint8_t>& bytes) {
    const auto count = static_cast<std::int64_t>(bytes.size());
    for (;;) {
        const bool complete = progress_.Complete();
        std::int64_t size = -1;
        GetFileSize64(path_, &size);
        if (size >= audioOffset_ + count)
            return ReadAvailable(path_, bytes.data(), static_cast<std::int32_t>(count), audioOffset_) == count;
        if (complete || progress_.Cancelled()) return false;
        progress_.WaitForMore();
    }
}

void FinishingWalk::Follow() {
    std::vector<std::uint8_t> head(4);
    if (!ReadWhenWritten(head) || !IsSync(head[0], head[1])) return;
    const HeaderBytes ref{head[1], head[2], head[3]};
    const std::int32_t length = FrameLengthOf(ref);
    if (length < 4) return;
    audit_.Info.RefHeader = ref;
    audit_.HeaderOffset = audioOffset_;
    audit_.HeaderFrame.resize(static_cast<std::size_t>(length));
    if (!ReadWhenWritten(audit_.HeaderFrame)) return;
    audit_.Stored = ParseXingHeader(audit_.HeaderFrame.data(), audit_.HeaderFrame.size());
    if (!audit_.Stored) return;
    XingFigureCollector figures(audit_);
    walked_ =
        WalkGrowingFile(path_, audioOffset_, ref, audit_.Walk, progress_, figures.Sinks(), HeaderFrameEnd(audit_));
    if (walked_) figures.Store();
}

int FinishingWalk::Finish(bool endOfAudioCut) {
    return FinishWith(endOfAudioCut);
}

int FinishingWalk::Finish(const GaplessTrim& trim) {
    return FinishWith(trim);
}

int FinishingWalk::FinishWith(const HeaderRule& rule) {
    progress_.MarkComplete();
    Stop();
    return Trapped(0, [&] {
        if (!walked_ || !AnalysedAsCounted(path_, audit_)) return FinishWhole(path_, rule);
        return WriteUpToDateHeader(path_, audit_, rule);
    });
}

}  // namespace kalvor
