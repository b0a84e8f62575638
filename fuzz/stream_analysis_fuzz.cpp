// The stream analysis, the frame walker and the snap search on file bytes:
// whatever the bytes, they end without a fault, and what they find holds
// together (the first frame lies in the file and decodes, the walk accounts
// for every byte of the audio, a snap lands on a decodable header or past the
// audio).
#include <cstdint>
#include <cstdio>

#include "fuzz_support.h"
#include "mpeg/file_read.h"
#include "mpeg/frame_copy.h"
#include "mpeg/frame_walker.h"
#include "mpeg/stream_analysis.h"

namespace {

using kalvor::fuzz::Require;

void CheckWalk(const std::string& path, const kalvor::StreamInfo& info) {
    kalvor::FrameWalk walk;
    Require(kalvor::WalkFrames(path, info.FirstFramePos - 1, info.RefHeader, walk), "a found stream can be walked");
    Require(walk.FrameBytes + walk.JunkBytes == walk.AudioEndOffset - walk.StartOffset,
            "the walk accounts for every audio byte");
}

void CheckSnaps(const std::string& path, const kalvor::StreamInfo& info, kalvor::fuzz::InputCursor& in) {
    for (int i = 0; i < 4; ++i) {
        const auto pos = static_cast<std::int32_t>(in.Number(2) % (static_cast<std::uint32_t>(info.FileSize) + 2));
        const std::int32_t at = kalvor::SnapToFrame(path, pos, info);
        Require(at >= info.FirstFramePos && at <= info.AudioEndPos + 1, "a snap stays within the audio");
        if (at > info.AudioEndPos) continue;
        std::uint8_t h[4] = {};
        kalvor::ReadAt(path, h, 4, at - 1, 0);
        Require(kalvor::IsSync(h[0], h[1]) && kalvor::DecodeHeader({h[1], h[2], h[3]}).has_value(),
                "a snap lands on a decodable header");
    }
}

void Check(const std::string& path, const std::uint8_t* data, std::size_t size) {
    kalvor::StreamInfo info;
    if (!kalvor::AnalyzeStreamWhy(path, info).Ok()) return;
    Require(info.FirstFramePos >= 1 && info.FirstFramePos <= info.FileSize, "the first frame lies in the file");
    Require(info.AudioLength > 0 && info.AudioEndPos <= info.FileSize, "the audio lies in the file");
    Require(kalvor::DecodeHeader(info.RefHeader).has_value(), "the first frame's header decodes");
    Require(info.DurationMs >= 0 && info.SnapWindow >= 0, "duration and snap window are not negative");
    CheckWalk(path, info);
    kalvor::fuzz::InputCursor in(data, size);
    CheckSnaps(path, info, in);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The name matters: in an .mp3 file FF FF is no sync.
    const std::string mp3 = kalvor::fuzz::WriteScratch("input.mp3", data, size);
    Check(mp3, data, size);
    const std::string mp2 = kalvor::fuzz::ScratchFolder() + "/input.mp2";
    std::rename(mp3.c_str(), mp2.c_str());
    Check(mp2, data, size);
    return 0;
}
