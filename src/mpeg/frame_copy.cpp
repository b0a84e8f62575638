#include "mpeg/frame_copy.h"

#include <algorithm>
#include <chrono>
#include <vector>

#include "mpeg/file_read.h"
#include "mpeg/frame_header.h"
#include "mpeg/header_frame.h"
#include "services/arith.h"
#include "services/event_pump.h"
#include "services/fault_trap.h"
#include "services/file_range_copy.h"

namespace kalvor {
namespace {

// Scans [pos, pos + w) for the sync that best resembles the reference, reading
// at most one chunk at a time (the window is normally a few kilobytes, but a
// Xing stream's average bit rate comes from its header and may be absurd).
// Consecutive pieces overlap by three bytes so every candidate is seen once.
std::int64_t BestHeaderIn(const std::string& source, std::int64_t pos, std::int64_t w, const StreamInfo& info,
                          std::int64_t none) {
    std::vector<std::uint8_t> piece(static_cast<std::size_t>(std::min<std::int64_t>(w, CopyChunk)));
    int best = -1;
    std::int64_t bestPos = none;
    for (std::int64_t off = 0; off + 3 < w;) {
        const std::int64_t len = std::min<std::int64_t>(w - off, CopyChunk);
        std::fill(piece.begin(), piece.end(), std::uint8_t{0});
        ReadAt(source, piece.data(), static_cast<std::int32_t>(len), pos - 1 + off, 0);
        for (std::int64_t i = 0; i + 3 < len; ++i) {
            const auto at = static_cast<std::size_t>(i);
            if (!IsSync(piece[at], piece[at + 1])) continue;
            const HeaderBytes candidate{piece[at + 1], piece[at + 2], piece[at + 3]};
            // A header that does not decode starts no frame, however alike it is:
            // a run of 0xFF bytes after the audio scores well.
            if (!DecodeHeader(candidate)) continue;
            const int score = HeaderLikeness(candidate, info.RefHeader);
            if (score <= best) continue;  // ties keep the earlier candidate
            best = score;
            bestPos = pos + off + i;
            if (score == kFullLikeness) return bestPos;
        }
        if (off + len >= w) break;
        off += len - 3;
    }
    return bestPos;
}

std::int32_t Snap(const std::string& source, std::int32_t pos, const StreamInfo& info) {
    const std::int64_t first = info.FirstFramePos, end = info.AudioEndPos;
    const std::int64_t none = end + 1;
    std::int64_t at = std::min<std::int64_t>(std::max<std::int64_t>(pos, first), end);
    // A header frame's table and tags hold no frame, however like one their
    // bytes look: a search from inside it starts where it ends (past the end
    // of the audio when no frame follows it).
    if (at > first) at = std::max<std::int64_t>(at, first + ReadHeaderFrame(source, info).Length);
    std::int64_t w = 2 * static_cast<std::int64_t>(info.SnapWindow);
    if (at + w - 1 > end) w = end - at + 1;
    // Less than about three frames of audio remain: the end of the audio is the boundary.
    if (w < info.SnapWindow) return Wrap32(none);
    return Wrap32(BestHeaderIn(source, at, w, info, none));
}

CopyFault CopyFaultOf(RangeCopyFault fault) {
    switch (fault) {
        case RangeCopyFault::None: return CopyFault::None;
        case RangeCopyFault::SourceUnreadable: return CopyFault::SourceUnreadable;
        case RangeCopyFault::SourceEnded: return CopyFault::SourceEnded;
        case RangeCopyFault::DestinationUnwritable: return CopyFault::DestinationUnwritable;
    }
    return CopyFault::Unexpected;
}

// Doubles a step that went quickly, halves one that kept the windows waiting.
std::int64_t NextStep(std::int64_t step, std::chrono::steady_clock::duration took) {
    constexpr auto kQuick = std::chrono::milliseconds(8), kSlow = std::chrono::milliseconds(60);
    if (took < kQuick) return std::min<std::int64_t>(2 * step, CopyStep);
    if (took > kSlow) return std::max<std::int64_t>(step / 2, CopyChunk);
    return step;
}

CopyFault CopyRange(const std::string& source, const std::string& destination, std::int32_t from32, std::int32_t to32,
                    int snapFrom, int snapTo, AudioBound bound, CopyOutcome& outcome) {
    if (const CopyFault f = SnapCopyRange(source, from32, to32, snapFrom, snapTo, &outcome.Analysis, bound);
        f != CopyFault::None)
        return f;
    outcome.From = from32;
    std::int64_t from = from32;
    const std::int64_t to = to32;
    // Both files stay open for the whole range; the source is not reopened per
    // step, so it is read as one file even if it is renamed meanwhile.
    FileRangeAppender appender(source, destination, CopyBuffer);
    if (appender.OpenSource() != RangeCopyFault::None) return CopyFault::SourceUnreadable;
    CopyFault fault = CopyFault::None;
    std::int64_t step = CopyChunk;
    while (from <= to && fault == CopyFault::None) {
        PumpEvents();
        const std::int64_t n = std::min<std::int64_t>(to - from + 1, step);
        std::int64_t appended = 0;
        const auto start = std::chrono::steady_clock::now();
        fault = CopyFaultOf(appender.Append(from - 1, n, appended));
        outcome.BytesAppended += appended;
        from += n;
        step = NextStep(step, std::chrono::steady_clock::now() - start);
    }
    if (!appender.Close() && fault == CopyFault::None) fault = CopyFault::DestinationUnwritable;
    return fault;
}

}  // namespace

CopyFault SnapCopyRange(const std::string& source, std::int32_t& from, std::int32_t& to, int snapFrom, int snapTo,
                        AnalysisResult* analysis, AudioBound bound) {
    if (snapFrom == 1 || snapTo == 1) {
        StreamInfo info;
        const AnalysisResult result = AnalyzeAudio(source, info, bound);
        if (analysis) *analysis = result;
        if (!result.Ok()) return CopyFault::AnalysisFailed;
        if (snapFrom == 1) from = SnapToFrame(source, from, info);
        if (snapTo == 1) to = WrapSub(SnapToFrame(source, to, info), 1);
    }
    // A single byte is no range worth copying.
    if (from < 1 || to < 1 || to - from <= 0) return CopyFault::EmptyRange;
    return CopyFault::None;
}

CopyOutcome CopyFrames(const std::string& source, const std::string& destination, std::int32_t from, std::int32_t to,
                       int snapFrom, int snapTo, AudioBound bound) {
    CopyOutcome outcome;
    outcome.Fault = Trapped(CopyFault::Unexpected,
                            [&] { return CopyRange(source, destination, from, to, snapFrom, snapTo, bound, outcome); });
    return outcome;
}

std::int32_t SnapToFrame(const std::string& source, std::int32_t pos, const StreamInfo& info) {
    return Trapped(std::int32_t{0}, [&] { return Snap(source, pos, info); });
}

std::FILE* AppendTo(const std::string& path, std::FILE* handle, const std::uint8_t* buffer, std::int32_t count) {
    if (!handle) {
        handle = std::fopen(path.c_str(), "ab");
        if (!handle) return nullptr;
        // Unbuffered: each chunk is one write, and a full disk shows at once.
        std::setvbuf(handle, nullptr, _IONBF, 0);
    }
    if (count > 0 &&
        std::fwrite(buffer, 1, static_cast<std::size_t>(count), handle) != static_cast<std::size_t>(count)) {
        std::fclose(handle);
        return nullptr;
    }
    return handle;
}

std::string CopyFaultText(const CopyOutcome& outcome) {
    switch (outcome.Fault) {
        case CopyFault::None: return "the range was copied";
        case CopyFault::AnalysisFailed: return "the source cannot be analysed: " + AnalysisFaultText(outcome.Analysis);
        case CopyFault::EmptyRange: return "the range is empty";
        case CopyFault::SourceUnreadable: return "the source cannot be read";
        case CopyFault::SourceEnded: return "the source ends before the end of the range";
        case CopyFault::DestinationUnwritable: return "the destination cannot be written";
        case CopyFault::Unexpected: return "an unexpected error ended the copy";
    }
    return "the copy failed";
}

}  // namespace kalvor
