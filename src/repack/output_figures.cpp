#include "repack/output_figures.h"

#include "mpeg/frame_walker.h"

namespace kalvor {

OutputFigures::OutputFigures(const std::vector<std::uint8_t>& headerFrame, std::int64_t start)
    : start_(start), written_(start), nextFrame_(start) {
    audit_.HeaderFrame = headerFrame;
    audit_.HeaderOffset = start;
    if (headerFrame.size() >= 4) audit_.Info.RefHeader = {headerFrame[1], headerFrame[2], headerFrame[3]};
    audit_.Stored = ParseXingHeader(headerFrame.data(), headerFrame.size());
    broken_ = !audit_.Stored;
    const HeaderBytes& ref = audit_.Info.RefHeader;
    for (std::uint8_t index = 1; index < 15; ++index)
        for (std::uint8_t pad = 0; pad < 2; ++pad)
            lengths_[index][pad] = FrameLengthOf(
                {ref[0], static_cast<std::uint8_t>((index << 4) | (ref[1] & kSampleRateMask) | (pad << 1)), ref[2]});
    collector_ = std::make_unique<XingFigureCollector>(audit_);
}

OutputFigures::~OutputFigures() = default;

void OutputFigures::Add(const std::uint8_t* bytes, std::size_t count) {
    const FrameWalkSinks& sinks = collector_->Sinks();
    if (sinks.OnBytes) sinks.OnBytes(written_, bytes, count);
    const std::int64_t end = written_ + static_cast<std::int64_t>(count);
    const HeaderBytes& ref = audit_.Info.RefHeader;
    while (!broken_ && nextFrame_ < end) {
        // A header may be split between two pieces.
        while (headBytes_ < 4 && nextFrame_ + headBytes_ < end) {
            head_[static_cast<std::size_t>(headBytes_)] = bytes[nextFrame_ + headBytes_ - written_];
            ++headBytes_;
        }
        if (headBytes_ < 4) break;
        const HeaderBytes h{head_[1], head_[2], head_[3]};
        // A frame of the stream: its version, layer and sampling rate (the
        // protection bit may differ).
        const bool ours = head_[0] == 0xFF && (h[0] & 0xFE) == (ref[0] & 0xFE) &&
                          (h[1] & kSampleRateMask) == (ref[1] & kSampleRateMask);
        const std::int32_t length = ours ? lengths_[h[1] >> 4][(h[1] & kPaddingMask) >> 1] : 0;
        if (length <= 0) {
            broken_ = true;
            break;
        }
        if (sinks.OnFrame) sinks.OnFrame({nextFrame_, length, h});
        nextFrame_ += length;
        headBytes_ = 0;
    }
    written_ = end;
}

bool OutputFigures::Complete() const {
    return !broken_ && headBytes_ == 0 && nextFrame_ == written_ && written_ > start_;
}

XingAudit& OutputFigures::Audit() {
    if (!stored_) {
        audit_.Walk.StartOffset = start_;
        audit_.Walk.AudioEndOffset = written_;
        collector_->Store();
        stored_ = true;
    }
    return audit_;
}

}  // namespace kalvor
