#pragma once
// The levels of the open document's versions: the current one, the one kept
// for undo and the clipboard's. Opening a file decodes its levels on worker
// threads (as many as the machine has cores, up to two), stretch by stretch
// from the left, so the time line fills in while the user works; a new open or
// a close stops them at once. An edit builds the new version's levels from the
// sets its pieces came from and decodes only the frames where pieces meet,
// before it returns; undo swaps the sets as it swaps the versions.
//
// The window thread calls every method; the workers only fill the current set.
#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

#include "document/level_source.h"
#include "document/version_listener.h"
#include "levels/level_set.h"

namespace kalvor {

class SharedFile;

class LevelKeeper : public LevelSource, public VersionListener {
   public:
    // Stretches of this many bytes are decoded one at a time by a worker.
    static constexpr std::int64_t kStretchBytes = 4 * 1024 * 1024;
    // Around the place where two pieces meet, the frames within this many
    // bytes are decoded again: more than a writer rewrites there and than a
    // frame after it borrows from the frames before.
    static constexpr std::int64_t kJoinReachBytes = 8 * 1024;
    // What is left to decode after an edit is decoded before the edit ends when
    // it is no more than this (the places where pieces meet, short pieces).
    static constexpr std::int64_t kDecodeNowBytes = 256 * 1024;

    // threads 0: one per core, at most two.
    explicit LevelKeeper(int threads = 0, std::int64_t stretchBytes = kStretchBytes);
    ~LevelKeeper() override;
    LevelKeeper(const LevelKeeper&) = delete;
    LevelKeeper& operator=(const LevelKeeper&) = delete;

    // ---- LevelSource: the current version ----
    std::uint64_t Revision() const override { return revision_.load(); }
    LevelProgress Progress() const override;
    void RangePeaks(std::int64_t from, std::int64_t step, int count, std::vector<PeakPair>& out) const override;
    void ForEachFrame(std::int64_t from, std::int64_t to,
                      const std::function<void(const FrameLevel&)>& visit) const override;

    // ---- VersionListener ----
    void Opened(const std::string& path, const StreamInfo& info) override;
    void Closed() override;
    void ClipChanged(const std::string& path, const std::vector<VersionPiece>& pieces) override;
    void VersionMade(const std::string& path, const std::vector<VersionPiece>& pieces) override;
    void VersionsSwapped() override;

    // Waits until the current version's levels are complete (the command line).
    void Wait();
    // Bytes the levels of all versions hold, and their frames (the benchmark).
    std::size_t MemoryBytes() const;
    std::size_t FrameCount() const;

   private:
    struct Version {
        std::unique_ptr<LevelSet> Levels;
        std::shared_ptr<SharedFile> File;
    };

    void Stop();
    void Start();
    void Work();
    // Decodes one claimed stretch of the current version; true when done to its end.
    bool DecodeStretch(class FrameDecoder& decoder, const LevelSet::Work& work);
    const Version* VersionOf(PieceSource source) const;
    // The pieces placed in made, as far as they can be found there.
    std::vector<SplicePiece> Place(const std::vector<VersionPiece>& pieces, const SharedFile& made) const;
    void Changed() { revision_.fetch_add(1); }

    int threads_;
    std::int64_t stretchBytes_;
    Version current_, previous_, clip_;
    std::vector<std::thread> workers_;
    std::atomic<bool> cancel_{false};
    std::atomic<std::uint64_t> revision_{1};
};

}  // namespace kalvor
