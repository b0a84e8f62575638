#include "repack/frame_output.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <utility>
#include <variant>

#include "mpeg/file_read.h"
#include "mpeg/finish_file.h"
#include "mpeg/frame_walker.h"
#include "mpeg/stream_analysis.h"
#include "repack/exact_frames.h"
#include "repack/frame_run.h"
#include "repack/gapless.h"
#include "repack/header_frame.h"
#include "repack/repack_plan.h"
#include "services/fault_trap.h"

namespace kalvor {

// What the repacked file starts with and the figures its header gets.
struct FrameOutput::Header {
    bool Repacked = false;
    bool Inserted = false;  // a header frame was put in front
    bool Gapless = false;   // a piece: its delay and padding are set
    HeaderBytes Ref{0, 0, 0};
    std::optional<GaplessTrim> SourceTrim;
    int Carried = 0;
    bool AtSourceStart = true;
};

namespace {

constexpr std::int32_t kCarryBack = 16 * 1024;

// A file the output takes frames from.
struct SourceFacts {
    StreamInfo Info;
    std::vector<std::uint8_t> FirstFrame;  // the first frame's bytes
    std::optional<XingHeader> Tag;         // its Xing/Info header
};

bool ReadFacts(const std::string& path, SourceFacts& facts) {
    if (!AnalyzeStreamWhy(path, facts.Info).Ok()) return false;
    const std::int32_t length = FrameLengthOf(facts.Info.RefHeader);
    if (length < 4) return false;
    facts.FirstFrame.resize(static_cast<std::size_t>(length));
    const std::int32_t read = ReadAvailable(path, facts.FirstFrame.data(), length, facts.Info.FirstFramePos - 1);
    if (read < 4) return false;
    facts.FirstFrame.resize(static_cast<std::size_t>(read));
    facts.Tag = ParseXingHeader(facts.FirstFrame.data(), facts.FirstFrame.size());
    return true;
}

// Layer III streams of one version and sampling rate: what can be repacked.
bool Repackable(const std::vector<SourceFacts>& facts) {
    for (const SourceFacts& f : facts) {
        if (f.Info.Layer != 3 || f.Info.IsLsf != facts.front().Info.IsLsf ||
            f.Info.SampleRate != facts.front().Info.SampleRate)
            return false;
    }
    return !facts.empty();
}

// A range of a damaged source may start on junk that its snap took for a frame
// (a header of another layer, say). Such ranges are written as they are: a
// header frame put in front of junk would be no frame of the output's stream.
bool StartOnFrames(const std::vector<RepackSource>& sources, const std::vector<RepackRange>& ranges) {
    return std::all_of(ranges.begin(), ranges.end(), [&](const RepackRange& r) {
        std::uint8_t head[4];
        return ReadAvailable(sources[r.Source].Path, head, 4, r.From) == 4 &&
               IsFrameOfStream(head, sources[r.Source].Ref);
    });
}

std::optional<GaplessTrim> TrimOf(const SourceFacts& facts) {
    if (!facts.Tag || !facts.Tag->Lame) return std::nullopt;
    return GaplessTrim{facts.Tag->Lame->EncoderDelay, facts.Tag->Lame->EndPadding};
}

// Moves the first range back over the frames a piece carries before it.
void CarryFrames(const std::string& path, const SourceFacts& facts, RepackRange& first, int& carried,
                 bool& atSourceStart) {
    const std::int64_t firstFrame = facts.Info.FirstFramePos - 1;
    const std::int64_t firstAudio = firstFrame + (facts.Tag ? static_cast<std::int64_t>(facts.FirstFrame.size()) : 0);
    atSourceStart = first.From <= firstAudio;
    if (atSourceStart) return;
    const std::optional<FrameRun> run =
        FrameRun::Read(path, facts.Info.RefHeader, {firstFrame, first.From, first.To, kCarryBack, 0});
    if (!run) return;
    // The audio frames right before the range, back to a header frame at most.
    const std::vector<RunFrame>& frames = run->Frames();
    const std::size_t anchor = run->AnchorIndex();
    std::size_t available = 0;
    while (available < anchor && !frames[anchor - available - 1].HoldsTag) ++available;
    // All of them, when the run reaches back to the source's start.
    std::int64_t before = available < anchor || run->FromFileStart() ? static_cast<std::int64_t>(available) : -1;
    if (before < 0 && CarryDependsOnCount(facts.Info.RefHeader))
        before = CountFramesBetween(path, facts.Info.RefHeader, firstAudio, first.From);
    carried = std::min(CarriedFrames(facts.Info.RefHeader, before), static_cast<int>(available));
    if (carried == 0) return;  // the run may hold no frame at all
    first.From = frames[anchor - static_cast<std::size_t>(carried)].Offset;
}

}  // namespace

FrameOutput::FrameOutput(std::string destination, OutputKind kind, std::int64_t audioOffset)
    : destination_(std::move(destination)), kind_(kind), audioOffset_(audioOffset), asTaken_(ExactFrames()) {
    if (asTaken_) {
        walk_ = std::make_unique<FinishingWalk>(destination_, audioOffset_);
        writtenAt_.push_back(audioOffset_);
    }
}

FrameOutput::~FrameOutput() = default;

CopyOutcome FrameOutput::Append(const std::string& source, std::int32_t from, std::int32_t to, int snapFrom, int snapTo,
                                AudioBound bound) {
    if (asTaken_) {
        // writtenAt_ holds where each range copied starts, then where they end.
        const CopyOutcome copied = CopyFrames(source, destination_, from, to, snapFrom, snapTo, bound);
        if (copied.BytesAppended > 0) {
            taken_.push_back({source, copied.From, static_cast<std::int32_t>(copied.From + copied.BytesAppended - 1)});
            writtenAt_.push_back(writtenAt_.back() + copied.BytesAppended);
        }
        return copied;
    }
    CopyOutcome outcome;
    outcome.Fault = Trapped(CopyFault::Unexpected, [&] {
        const CopyFault fault = SnapCopyRange(source, from, to, snapFrom, snapTo, &outcome.Analysis, bound);
        if (fault != CopyFault::None) return fault;
        taken_.push_back({source, from, to});
        outcome.From = from;
        outcome.BytesAppended = static_cast<std::int64_t>(to) - from + 1;
        return CopyFault::None;
    });
    return outcome;
}

CopyOutcome FrameOutput::Write() {
    if (asTaken_) return {};
    CopyOutcome outcome;
    outcome.Fault = Trapped(CopyFault::Unexpected, [&] {
        CopyOutcome written = WriteRepacked();
        outcome = written;
        return written.Fault;
    });
    return outcome;
}

CopyOutcome FrameOutput::WriteAsTaken() {
    walk_ = std::make_unique<FinishingWalk>(destination_, audioOffset_);
    CopyOutcome total;
    writtenAt_.clear();
    for (const Taken& t : taken_) {
        writtenAt_.push_back(audioOffset_ + total.BytesAppended);
        const CopyOutcome one = CopyFrames(t.Source, destination_, t.From, t.To, 0, 0);
        total.BytesAppended += one.BytesAppended;
        if (!one.Ok() && one.Fault != CopyFault::EmptyRange) {
            total.Fault = one.Fault;
            break;
        }
    }
    writtenAt_.push_back(audioOffset_ + total.BytesAppended);
    return total;
}

CopyOutcome FrameOutput::WriteRepacked() {
    // The sources, each analysed once.
    std::vector<RepackSource> sources;
    std::vector<SourceFacts> facts;
    std::vector<RepackRange> ranges;
    std::map<std::string, std::size_t> known;
    for (const Taken& t : taken_) {
        auto [at, fresh] = known.try_emplace(t.Source, sources.size());
        if (fresh) {
            SourceFacts f;
            if (!ReadFacts(t.Source, f)) return WriteAsTaken();
            sources.push_back({t.Source, f.Info.RefHeader, f.Info.FirstFramePos - 1});
            facts.push_back(std::move(f));
        }
        ranges.push_back({at->second, t.From - 1, t.To});
        // A header frame in mid-stream is no audio.
        const SourceFacts& f = facts[at->second];
        if (ranges.size() > 1 && f.Tag && ranges.back().From == f.Info.FirstFramePos - 1)
            ranges.back().From += static_cast<std::int64_t>(f.FirstFrame.size());
    }
    if (!Repackable(facts) || !StartOnFrames(sources, ranges)) return WriteAsTaken();
    header_ = std::make_unique<Header>();
    Header& h = *header_;
    h.Repacked = true;
    const SourceFacts& first = facts[ranges.front().Source];
    h.Ref = first.Info.RefHeader;
    h.SourceTrim = TrimOf(first);
    if (kind_ == OutputKind::Piece)
        CarryFrames(sources[ranges.front().Source].Path, first, ranges.front(), h.Carried, h.AtSourceStart);
    else
        h.AtSourceStart = ranges.front().From <= sources[ranges.front().Source].FirstFrame;
    RepackPlan plan = PlanRepack(sources, ranges);

    const bool startsWithTag = first.Tag && ranges.front().From == sources[ranges.front().Source].FirstFrame;
    bool variable = plan.Raised || plan.MixedRates;
    for (const SourceFacts& f : facts)
        variable = variable || f.Info.IsVbr == 1 || f.Info.BitRate != facts.front().Info.BitRate;
    h.Gapless = kind_ == OutputKind::Piece;
    if (!startsWithTag) h.Inserted = variable || (h.Gapless && (!h.AtSourceStart || h.SourceTrim));

    std::vector<std::uint8_t> headerFrame;
    if (h.Inserted) {
        HeaderFrameShape shape;
        shape.Audio = h.Ref;
        shape.PreferredIndex = h.Ref[1] >> 4;
        shape.Variable = variable;
        // Figures to give: the source's own, or a piece's that starts mid-stream.
        shape.WithLame = h.SourceTrim || (h.Gapless && !h.AtSourceStart);
        shape.Encoder = LameEncoderBytes(first.FirstFrame).value_or(std::vector<std::uint8_t>{});
        headerFrame = MakeHeaderFrame(shape);
    } else if (startsWithTag) {
        headerFrame = first.FirstFrame;
    }
    // The header's figures are counted on a second thread that follows the
    // writing, as for outputs copied as they are: the walk and the LAME music
    // CRC then cost the writer next to nothing.
    if (!headerFrame.empty()) walk_ = std::make_unique<FinishingWalk>(destination_, audioOffset_);
    CopyOutcome total;
    if (h.Inserted && !AppendBytes(headerFrame, total)) return total;
    writtenAt_.assign(taken_.size() + 1, -1);
    for (const RepackPart& part : plan.Parts) {
        for (const RangeStart& start : part.Starts)
            writtenAt_[start.Range] = audioOffset_ + total.BytesAppended + start.Offset;
        if (!part.Copied) {
            if (!AppendBytes(part.Bytes, total)) return total;
            continue;
        }
        const CopyOutcome one =
            CopyFrames(sources[part.Range.Source].Path, destination_, static_cast<std::int32_t>(part.Range.From + 1),
                       static_cast<std::int32_t>(part.Range.To), 0, 0, AudioBound::AtAnalysis);
        total.BytesAppended += one.BytesAppended;
        if (!one.Ok() && one.Fault != CopyFault::EmptyRange) {
            total.Fault = one.Fault;
            return total;
        }
    }
    writtenAt_.back() = audioOffset_ + total.BytesAppended;
    return total;
}

std::int64_t FrameOutput::WrittenAt(std::size_t index) const {
    return index < writtenAt_.size() ? writtenAt_[index] : -1;
}

bool FrameOutput::AppendBytes(const std::vector<std::uint8_t>& bytes, CopyOutcome& total) {
    if (bytes.empty()) return true;
    std::FILE* handle = AppendTo(destination_, nullptr, bytes.data(), static_cast<std::int32_t>(bytes.size()));
    if (!handle || std::fclose(handle) != 0) {
        total.Fault = CopyFault::DestinationUnwritable;
        return false;
    }
    total.BytesAppended += static_cast<std::int64_t>(bytes.size());
    return true;
}

int FrameOutput::Finish(bool endOfAudioCut) {
    if (!header_ || !header_->Repacked) {
        if (!walk_) walk_ = std::make_unique<FinishingWalk>(destination_, audioOffset_);
        return walk_->Finish(endOfAudioCut);
    }
    const Header& h = *header_;
    std::variant<bool, GaplessTrim> rule = endOfAudioCut;
    if (h.Inserted || h.Gapless)
        rule = PieceTrim(h.Ref, h.SourceTrim, h.Gapless ? h.Carried : 0, h.AtSourceStart, !endOfAudioCut);
    if (walk_) return std::visit([this](const auto& r) { return walk_->Finish(r); }, rule);
    return std::visit([this](const auto& r) { return FinishWrittenFile(destination_, r); }, rule);
}

CopyOutcome Written(FrameOutput& output, const CopyOutcome& taken) {
    if (!taken.Ok()) return taken;
    CopyOutcome written = output.Write();
    if (written.Ok()) written.BytesAppended = taken.BytesAppended;
    return written;
}

}  // namespace kalvor
