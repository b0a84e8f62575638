#include "levels/level_keeper.h"

#include <algorithm>

#include "levels/frame_decoder.h"
#include "levels/piece_finder.h"
#include "levels/shared_file.h"
#include "mpeg/frame_header.h"

namespace kalvor {
namespace {

// Frames a worker decodes between two publications: the picture gets new
// levels a few dozen times a second while the lock stays free.
constexpr std::size_t kBatchFrames = 512;
// A frame's size when the analysis gives nothing better: 128 kbit/s at 44.1 kHz.
constexpr std::int64_t kTypicalFrameBytes = 418;

int ChannelsOf(const StreamInfo& info) {
    const auto header = DecodeHeader(info.RefHeader);
    return header && header->ChannelMode == 3 ? 1 : 2;
}

// The average frame of the analysed audio, for the room the levels take.
std::int64_t BytesPerFrameOf(const StreamInfo& info) {
    const int samples = SamplesPerFrame(info.RefHeader);
    const double frames = static_cast<double>(info.DurationMs) * info.SampleRate / 1000.0 / std::max(samples, 1);
    if (frames < 1) return kTypicalFrameBytes;
    return std::max<std::int64_t>(1, static_cast<std::int64_t>(info.AudioLength / frames));
}

}  // namespace

LevelKeeper::LevelKeeper(int threads, std::int64_t stretchBytes) : stretchBytes_(stretchBytes) {
    const int cores = static_cast<int>(std::thread::hardware_concurrency());
    threads_ = threads > 0 ? threads : std::clamp(cores, 1, 2);
}

LevelKeeper::~LevelKeeper() {
    Stop();
}

void LevelKeeper::Stop() {
    cancel_.store(true);
    for (std::thread& worker : workers_) worker.join();
    workers_.clear();
    cancel_.store(false);
}

void LevelKeeper::Start() {
    if (!current_.Levels || !current_.File || current_.Levels->Progress().Complete()) return;
    for (int i = 0; i < threads_; ++i) workers_.emplace_back([this] { Work(); });
}

void LevelKeeper::Wait() {
    for (std::thread& worker : workers_) worker.join();
    workers_.clear();
}

void LevelKeeper::Work() {
    FrameDecoder decoder;
    LevelSet::Work work;
    while (!cancel_.load() && current_.Levels->Claim(work)) {
        // A stretch the decoder gave up on keeps what it found; only a cancel
        // leaves the rest for later.
        const bool finished = DecodeStretch(decoder, work) || !cancel_.load();
        current_.Levels->Release(work, finished);
        Changed();
    }
}

bool LevelKeeper::DecodeStretch(FrameDecoder& decoder, const LevelSet::Work& work) {
    LevelSet& set = *current_.Levels;
    const int channels = set.Channels();
    DecodedFrames batch;
    const auto publish = [&](std::int64_t doneTo) {
        set.Publish(work, batch, doneTo);
        batch.Clear();
        Changed();
    };
    const DecodeRange range{set.AudioStart(), work.From, work.To, channels};
    const bool whole = decoder.Decode(*current_.File, range, cancel_, [&](std::int64_t at, const LevelCode* peaks) {
        batch.Offsets.push_back(at);
        batch.Peaks.insert(batch.Peaks.end(), peaks, peaks + channels);
        if (batch.Offsets.size() >= kBatchFrames) publish(at + 1);
        return true;
    });
    publish(whole ? work.To : batch.Offsets.empty() ? work.From : batch.Offsets.back() + 1);
    return whole;
}

LevelProgress LevelKeeper::Progress() const {
    return current_.Levels ? current_.Levels->Progress() : LevelProgress{};
}

void LevelKeeper::RangePeaks(std::int64_t from, std::int64_t step, int count, std::vector<PeakPair>& out) const {
    if (!current_.Levels) {
        out.assign(static_cast<std::size_t>(std::max(count, 0)), PeakPair{});
        return;
    }
    current_.Levels->RangePeaks(from - 1, step, count, out);
}

void LevelKeeper::ForEachFrame(std::int64_t from, std::int64_t to,
                               const std::function<void(const FrameLevel&)>& visit) const {
    if (!current_.Levels) return;
    current_.Levels->ForEachFrame(from - 1, to - 1, [&](std::int64_t at, PeakPair peak) {
        visit(FrameLevel{at + 1, peak});
    });
}

void LevelKeeper::Opened(const std::string& path, const StreamInfo& info) {
    Stop();
    previous_ = {};
    clip_ = {};
    current_.File = SharedFile::Open(path);
    const std::int64_t start = std::max(info.FirstFramePos, 1) - 1;
    const std::int64_t end = current_.File ? std::max<std::int64_t>(start, info.AudioEndPos) : start;
    current_.Levels = std::make_unique<LevelSet>(ChannelsOf(info), start, end, stretchBytes_, BytesPerFrameOf(info));
    Changed();
    Start();
}

void LevelKeeper::Closed() {
    Stop();
    current_ = {};
    previous_ = {};
    clip_ = {};
    Changed();
}

const LevelKeeper::Version* LevelKeeper::VersionOf(PieceSource source) const {
    switch (source) {
        case PieceSource::Current: return &current_;
        case PieceSource::Clip: return &clip_;
        case PieceSource::File: return nullptr;
    }
    return nullptr;
}

std::vector<SplicePiece> LevelKeeper::Place(const std::vector<VersionPiece>& pieces, const SharedFile& made) const {
    std::vector<SplicePiece> placed;
    std::int64_t expected = 0;
    for (const VersionPiece& piece : pieces) {
        const Version* from = VersionOf(piece.Source);
        const LevelSet* levels = from != nullptr ? from->Levels.get() : nullptr;
        const std::optional<std::int64_t> at = FindPiece(
            {levels, from != nullptr ? from->File.get() : nullptr, piece.SourceOffset, piece.Length, expected}, made);
        // A piece that is not found is decoded anew where the lengths put it.
        placed.push_back({at ? levels : nullptr, piece.SourceOffset, piece.Length, at.value_or(expected)});
        expected = placed.back().DestOffset + piece.Length;
    }
    return placed;
}

void LevelKeeper::ClipChanged(const std::string& path, const std::vector<VersionPiece>& pieces) {
    // The clipboard's levels are read from the current set under its lock, so
    // the workers go on filling it meanwhile. They are never decoded: a paste
    // decodes its meeting points in the new version, and whatever the current
    // set still lacked is decoded there too.
    const LevelSet* from = current_.Levels.get();
    clip_.File = pieces.empty() ? nullptr : SharedFile::Open(path);
    const std::vector<SplicePiece> placed = clip_.File ? Place(pieces, *clip_.File) : std::vector<SplicePiece>{};
    clip_.Levels = LevelSet::Splice(from ? from->Channels() : 2, placed, clip_.File ? clip_.File->Size() : 0,
                                    stretchBytes_, from ? from->BytesPerFrame() : kTypicalFrameBytes);
}

void LevelKeeper::VersionMade(const std::string& path, const std::vector<VersionPiece>& pieces) {
    Stop();
    const LevelSet* from = current_.Levels.get();
    Version made;
    made.File = SharedFile::Open(path);
    const std::vector<SplicePiece> placed = made.File ? Place(pieces, *made.File) : std::vector<SplicePiece>{};
    made.Levels = LevelSet::Splice(from ? from->Channels() : 2, placed, made.File ? made.File->Size() : 0,
                                   stretchBytes_, from ? from->BytesPerFrame() : kTypicalFrameBytes);
    for (const SplicePiece& piece : placed) {
        made.Levels->MarkPending(piece.DestOffset - kJoinReachBytes, piece.DestOffset + kJoinReachBytes);
    }
    previous_ = std::move(current_);
    current_ = std::move(made);
    // The meeting points are a few frames each: decoded here, so the new
    // version's levels are whole (but for pasted files) when the edit ends.
    if (!current_.File) current_.Levels->GiveUp();
    FrameDecoder decoder;
    LevelSet::Work work;
    while (current_.Levels->Claim(work, kDecodeNowBytes)) {
        DecodeStretch(decoder, work);
        current_.Levels->Release(work, true);
    }
    Changed();
    Start();
}

void LevelKeeper::VersionsSwapped() {
    // Before the first edit there is no version kept for undo: the document
    // goes back to the opened file, which is the current version, levels and all.
    if (!previous_.Levels) return;
    Stop();
    std::swap(current_, previous_);
    Changed();
    Start();
}

std::size_t LevelKeeper::MemoryBytes() const {
    std::size_t bytes = 0;
    for (const Version* version : {&current_, &previous_, &clip_}) {
        if (version->Levels) bytes += version->Levels->MemoryBytes();
    }
    return bytes;
}

std::size_t LevelKeeper::FrameCount() const {
    return current_.Levels ? current_.Levels->FrameCount() : 0;
}

}  // namespace kalvor
