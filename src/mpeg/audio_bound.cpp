#include "mpeg/audio_bound.h"

#include "mpeg/tag_spans.h"
#include "services/fault_trap.h"

namespace kalvor {
namespace {

void EndAudioBeforeTags(const std::string& path, StreamInfo& info) {
    const std::vector<TagSpan> tags = TrailingTagSpans(path, info.FirstFramePos);
    if (tags.empty()) return;
    // The 1-based position of the last byte before the first tag is its 0-based offset.
    const std::int64_t lastAudioByte = tags.front().Offset;
    if (lastAudioByte >= info.AudioEndPos || lastAudioByte < info.FirstFramePos) return;
    StreamInfo bounded = info;
    bounded.AudioEndPos = static_cast<std::int32_t>(lastAudioByte);
    bounded.AudioLength = bounded.AudioEndPos - (bounded.FirstFramePos - 1);
    if (DescribeFormat(bounded).Ok()) info = bounded;
}

}  // namespace

AnalysisResult AnalyzeAudio(const std::string& path, StreamInfo& info, AudioBound bound) {
    const AnalysisResult result = AnalyzeStreamWhy(path, info);
    if (result.Ok() && bound == AudioBound::BeforeTags) TrappedRun([&] { EndAudioBeforeTags(path, info); });
    return result;
}

}  // namespace kalvor
