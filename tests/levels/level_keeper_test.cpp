// The levels of real files decoded with libmpg123: one per frame, where the
// frame starts; the right levels in the made-up file of tones and silences;
// edits that keep the levels a fresh decode gives; damaged and undecodable
// files; a decode stopped by a new open or a close.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <random>

#include "document/document.h"
#include "levels/level_keeper.h"
#include "mpeg/FCT_mpeg.h"
#include "mpeg/frame_walker.h"
#include "support/document_harness.h"
#include "support/test_support.h"

namespace kalvor {
namespace {

using Levels = std::map<std::int64_t, PeakPair>;  // frame position -> peaks

StreamInfo Analysed(const std::string& path) {
    StreamInfo info;
    EXPECT_EQ(AnalyzeStream(path, info), 1) << path;
    return info;
}

Levels LevelsOf(const LevelSource& source) {
    Levels levels;
    source.ForEachFrame(1, INT64_MAX, [&](const FrameLevel& frame) { levels[frame.Pos] = frame.Peak; });
    return levels;
}

// A fresh decode of the whole file.
Levels Decoded(const std::string& path, LevelKeeper* keep = nullptr) {
    LevelKeeper fresh;
    LevelKeeper& levels = keep ? *keep : fresh;
    levels.Opened(path, Analysed(path));
    levels.Wait();
    return LevelsOf(levels);
}

class FramePlaces : public ::testing::TestWithParam<const char*> {};

// Each level belongs to a frame the editor's own walk finds, and every frame
// of audio has one: all but a leading Xing/Info frame, which holds no sound.
TEST_P(FramePlaces, EveryAudioFrameHasALevelWhereItStarts) {
    const std::string path = test::TestAudio(GetParam());
    const StreamInfo info = Analysed(path);
    std::vector<std::int64_t> walked;
    FrameWalk walk;
    FrameWalkSinks sinks;
    sinks.OnFrame = [&](const FrameSpot& spot) { walked.push_back(spot.Offset + 1); };
    ASSERT_TRUE(WalkFrames(path, info.FirstFramePos - 1, info.RefHeader, walk, sinks));
    LevelKeeper keeper;
    const Levels levels = Decoded(path, &keeper);
    std::vector<std::int64_t> decoded;
    for (const auto& [pos, peak] : levels) decoded.push_back(pos);
    if (decoded.size() + 1 == walked.size()) walked.erase(walked.begin());
    EXPECT_EQ(decoded, walked);
    const int channels = DecodeHeader(info.RefHeader)->ChannelMode == 3 ? 1 : 2;
    EXPECT_LE(keeper.MemoryBytes(), 2 * channels * levels.size() + 4096);
    EXPECT_FALSE(keeper.Progress().Failed);
}

INSTANTIATE_TEST_SUITE_P(TestAudio, FramePlaces,
                         ::testing::Values("cbr128.mp3", "vbr.mp3", "lsf_vbr.mp3", "mono.mp3", "mp2_48k.mp2",
                                           "ffmpeg.mp3", "cbr128_tags.mp3", "layer1.mp1"),
                         [](const auto& info) {
                             std::string name = info.param;
                             for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });

// Stretches decoded on their own, each from a little before its start, give
// what one decode of the whole file gives: a Layer III file that borrows much
// from the frames before (VBR), cut into stretches of a few frames.
TEST(StretchLevels, StretchesDecodedApartGiveTheLevelsOfOneDecode) {
    for (const char* name : {"vbr.mp3", "lsf_vbr.mp3", "mp2_48k.mp2"}) {
        const std::string path = test::TestAudio(name);
        LevelKeeper apart(2, 5000);
        EXPECT_EQ(Decoded(path, &apart), Decoded(path)) << name;
    }
}

// The loudest level among the frames whose sound lies between two times of
// the made-up file (a frame's sound comes out about a frame after its start).
double PeakDbBetween(const Levels& levels, const StreamInfo& info, double fromSeconds, double toSeconds) {
    const double bytesPerSecond = info.AudioLength / (info.DurationMs / 1000.0);
    LevelCode loudest = kNoLevel;
    for (const auto& [pos, peak] : levels) {
        const double seconds = (pos - info.FirstFramePos) / bytesPerSecond;
        if (seconds >= fromSeconds && seconds < toSeconds) loudest = std::max(loudest, peak.Max());
    }
    return DbOfLevelCode(loudest);
}

TEST(GapsLevels, ToneSilenceQuietToneSilenceNoiseEachHaveTheirLevel) {
    const std::string path = test::TestAudio("gaps.mp3");
    const StreamInfo info = Analysed(path);
    const Levels levels = Decoded(path);
    struct Region {
        double from, to, db, tolerance;
    };
    for (const Region& r : {Region{0.3, 3.8, -6.0, 1.0}, Region{4.3, 6.8, -127.0, 0.0}, Region{7.3, 10.8, -26.0, 1.0},
                            Region{11.3, 13.8, -127.0, 0.0}, Region{14.3, 17.8, -15.0, 2.5}}) {
        EXPECT_NEAR(PeakDbBetween(levels, info, r.from, r.to), r.db, r.tolerance) << r.from << " s to " << r.to << " s";
    }
}

class EditedLevels : public ::testing::Test {
   protected:
    void SetUp() override {
        song = dir.file("song.mp3");
        std::filesystem::copy_file(test::TestAudio("gaps.mp3"), song);
        doc.SetVersionListener(&keeper);
        ASSERT_EQ(doc.OpenFile(song), 1);
        keeper.Wait();
    }
    std::int32_t At(double seconds) const {
        return doc.Info().FirstFramePos + static_cast<std::int32_t>(seconds / 18.0 * doc.AudioLength());
    }
    // The kept levels equal a fresh decode of the current version but for the
    // frames within two frames of a place where pieces meet (a block mark).
    void ExpectFreshLevels(const char* step) {
        keeper.Wait();
        const Levels kept = LevelsOf(keeper), fresh = Decoded(doc.CurFile());
        ASSERT_EQ(kept.size(), fresh.size()) << step;
        for (const auto& [pos, peak] : fresh) {
            ASSERT_TRUE(kept.count(pos)) << step << ": no level at " << pos;
            if (kept.at(pos) == peak) continue;
            bool nearJoin = false;
            for (const BlockRec& mark : doc.Blocks().Blocks()) {
                for (const std::int32_t at : {mark.StartPos, mark.EndPos}) {
                    nearJoin |= at > 0 && std::abs(pos - at) <= 3 * 418;
                }
            }
            EXPECT_TRUE(nearJoin) << step << ": frame at " << pos << " differs away from a join";
        }
    }

    test::TempDir dir, work;
    std::string song;
    LevelKeeper keeper;
    Document doc{work.path().string()};
};

TEST_F(EditedLevels, DeleteCutPasteAndUndoKeepTheLevelsOfAFreshDecode) {
    ASSERT_EQ(doc.Undo(), 1);
    ExpectFreshLevels("undo before any edit");
    doc.Sel.SelectRange(At(2.0), At(5.0));
    ASSERT_EQ(doc.Delete(), 1);
    ExpectFreshLevels("delete");
    doc.Sel.SelectRange(At(8.0), At(10.0));
    ASSERT_EQ(doc.Cut(), 1);
    ExpectFreshLevels("cut");
    doc.Sel.SelectRange(At(1.0), At(1.0));
    ASSERT_EQ(doc.Paste(), 1);
    ExpectFreshLevels("paste");
    ASSERT_EQ(doc.Undo(), 1);
    ExpectFreshLevels("undo");
    ASSERT_EQ(doc.Undo(), 1);
    ExpectFreshLevels("undo of the undo");
    doc.Sel.SelectRange(At(12.0), At(13.0));
    ASSERT_EQ(doc.PasteFromFile(test::TestAudio("cbr128.mp3")), 1);
    ExpectFreshLevels("paste from a file");
}

// A writer that puts a frame in front of a version and leaves out the first
// frame of a piece: each piece is found where its bytes are, not where the
// lengths put it, and its levels are kept (only the meeting points decode).
TEST(MovedPieces, PiecesAreFoundWhereTheWriterPutThem) {
    test::TempDir dir;
    const std::string song = dir.file("song.mp3");
    const test::Bytes piece = test::ReadFile(test::TestAudio("cbr128_plain.mp3"));
    test::Bytes bytes;
    for (int i = 0; i < 4; ++i) bytes.insert(bytes.end(), piece.begin(), piece.end());
    test::WriteFile(song, bytes);
    LevelKeeper keeper;
    std::vector<std::int64_t> starts;  // 0-based frame offsets
    for (const auto& [pos, peak] : Decoded(song, &keeper)) starts.push_back(pos - 1);
    const std::int64_t headTo = starts[1000], tailFrom = starts[2000], end = static_cast<std::int64_t>(bytes.size());
    const auto range = [&](std::int64_t from, std::int64_t to) {
        return test::Bytes(bytes.begin() + from, bytes.begin() + to);
    };
    test::Bytes made = range(starts[500], starts[501]);                          // a frame put in front
    const test::Bytes head = range(0, headTo), tail = range(starts[2001], end);  // the tail's first frame left out
    made.insert(made.end(), head.begin(), head.end());
    made.insert(made.end(), tail.begin(), tail.end());
    const std::string version = dir.file("version.mp3");
    test::WriteFile(version, made);
    keeper.VersionMade(version, {{PieceSource::Current, 0, headTo}, {PieceSource::Current, tailFrom, end - tailFrom}});
    EXPECT_TRUE(keeper.Progress().Complete());
    keeper.Wait();
    EXPECT_EQ(LevelsOf(keeper), Decoded(version));
}

// Bytes of garbage in the middle: the frames there give whatever the decoder
// made of them, and those after it their own levels again. A file with nothing
// the decoder can use has no levels at all.
TEST(BadInputLevels, DamagedFramesDoNotStopTheDecodeAndUndecodableFilesHaveNone) {
    test::TempDir dir;
    const std::string damaged = dir.file("damaged.mp3");
    test::Bytes bytes = test::ReadFile(test::TestAudio("cbr128.mp3"));
    std::mt19937 random(17);
    for (std::size_t i = bytes.size() / 2; i < bytes.size() / 2 + 3000; ++i)
        bytes[i] = static_cast<std::uint8_t>(random());
    test::WriteFile(damaged, bytes);
    const Levels good = Decoded(test::TestAudio("cbr128.mp3")), bad = Decoded(damaged);
    const std::int64_t healed = static_cast<std::int64_t>(bytes.size() / 2 + 3000 + 6 * 418);
    std::size_t after = 0;
    for (const auto& [pos, peak] : good) {
        if (pos < healed) continue;
        ++after;
        EXPECT_TRUE(bad.count(pos) && bad.at(pos) == peak) << "frame at " << pos;
    }
    EXPECT_GT(after, 300u);

    // One frame header and then nothing that ever follows it as the next frame.
    const std::string broken = dir.file("broken.mp3");
    test::Bytes noise{0xFF, 0xFB, 0x90, 0x64};
    for (int i = 0; i < 200000; ++i) noise.push_back(static_cast<std::uint8_t>(random() & 0x7F));
    test::WriteFile(broken, noise);
    StreamInfo info;
    info.AudioEndPos = static_cast<std::int32_t>(noise.size());
    LevelKeeper keeper;
    keeper.Opened(broken, info);
    keeper.Wait();
    EXPECT_TRUE(keeper.Progress().Failed);
    EXPECT_EQ(keeper.FrameCount(), 0u);
}

TEST(StoppedLevels, ACloseOrANewOpenStopsTheDecodeAtOnce) {
    test::TempDir dir;
    const std::string big = dir.file("big.mp3");
    const test::Bytes piece = test::ReadFile(test::TestAudio("cbr128_plain.mp3"));
    test::Bytes bytes;
    for (int i = 0; i < 60; ++i) bytes.insert(bytes.end(), piece.begin(), piece.end());  // 20 minutes
    test::WriteFile(big, bytes);
    LevelKeeper keeper;
    keeper.Opened(big, Analysed(big));
    keeper.Closed();
    const std::uint64_t closed = keeper.Revision();
    EXPECT_EQ(keeper.Progress().BytesTotal, 0);
    keeper.Wait();
    EXPECT_EQ(keeper.Revision(), closed);  // no worker went on

    keeper.Opened(big, Analysed(big));
    const std::string small = test::TestAudio("mono.mp3");
    keeper.Opened(small, Analysed(small));
    keeper.Wait();
    EXPECT_EQ(LevelsOf(keeper), Decoded(small));
}

}  // namespace
}  // namespace kalvor
