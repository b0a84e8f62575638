// Deleting one minute from the middle of a 300 MB document, and splitting the
// document in three, against cp of the same file, and the memory it takes.
//
// Encodes a minute of sound with lame (320 kbit/s) and concatenates copies of
// it into a file of about 300 MB in /tmp, warms the page cache, then alternates
// `cp` of the file and a document delete of the middle minute in a freshly
// opened document (select, Delete: build the new version, bring its Info header
// up to date, rotate the working files, reload), seven rounds each. Opening
// again between rounds (untimed) deletes the previous round's version, as cp's
// target is deleted before each cp. Each round then splits the source at a
// third and two thirds of its length (the list window's split: three pieces,
// each finished as every written file is). Done twice: with lame's Info header at the front (the header is brought
// up to date from every frame of the new version) and without it (lame -t).
// Prints both times per round, the median of the per-round ratios, best against
// best, and this process's maximum resident set before and after the deletes.
// Then, with the Info header, the same file with tags kept: an ID3v2.3 tag with
// a TLEN frame and a 1 MB front cover in front, an ID3v1 block at the end. Each
// round deletes the middle minute and times three copies of the new version:
// cp, the copy an untagged save makes (CopyFileTo), and a save as with the tags
// (the tag layer brings TLEN up to date; the version is copied between the tags),
// the second of the round: the first also copies the opened file for undo.
// Each source is then deleted from and split with the frames copied byte for
// byte (the ExactFrames setting) and repacked, round by round, for the cost of
// repacking. Everything is deleted afterwards. Run by hand:
// build/<dir>/bench/delete_bench
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <taglib/attachedpictureframe.h>
#include <taglib/id3v2tag.h>
#include <taglib/textidentificationframe.h>

#include <fstream>
#include <random>

#include "bench_measure.h"
#include "document/document.h"
#include "listwin/list_output.h"
#include "repack/exact_frames.h"
#include "services/basic.h"
#include "tags/taglib_rewriter.h"

namespace {

namespace fs = std::filesystem;

const std::string kFolder = "/tmp/kalvor-delete-bench";
const std::string kMinute = kFolder + "/minute.mp3";
const std::string kSource = kFolder + "/source.mp3";
const std::string kCopyTarget = kFolder + "/cp.mp3";
const std::string kWork = kFolder + "/work";
const std::string kPieces = kFolder + "/piece.mp3";
constexpr std::int64_t kTargetSize = 300'000'000;
constexpr int kRounds = 7;

bool Shell(const std::string& command) {
    return std::system(command.c_str()) == 0;
}

bool MakeSource(const std::string& lameFlags) {
    if (!Shell("ffmpeg -v error -y -f lavfi -i 'sine=frequency=440:duration=60' -f lavfi "
               "-i 'anoisesrc=color=pink:amplitude=0.2:duration=60:seed=3' -filter_complex amix=inputs=2 "
               "-ac 2 -ar 44100 -f wav - | lame --quiet -b 320 " +
               lameFlags + " - " + kMinute))
        return false;
    const std::int64_t minute = static_cast<std::int64_t>(fs::file_size(kMinute));
    std::string list;
    for (std::int64_t size = 0; size < kTargetSize; size += minute) list += " " + kMinute;
    return Shell("cat" + list + " > " + kSource);
}

using kalvor::bench::MaxRssKb;
using kalvor::bench::Median;
using kalvor::bench::Seconds;

int Measure(const char* label) {
    kalvor::Document doc(kWork);
    if (doc.OpenFile(kSource) != 1) {
        std::printf("cannot open %s\n", kSource.c_str());
        return 1;
    }
    const std::int32_t audioLength = doc.AudioLength();
    const std::int32_t middle = doc.DurationMs() / 2;
    const auto byteAt = [&](std::int32_t ms) { return doc.TimeScale().MsToPos(ms); };
    std::printf("%s: %d audio bytes, %d ms; deleting %d..%d ms\n", label, audioLength, doc.DurationMs(), middle - 30000,
                middle + 30000);
    Shell("cat " + kSource + " > /dev/null");  // warm the page cache
    const long rssBefore = MaxRssKb();
    std::vector<double> cpTimes, deleteTimes, ratios, splitTimes, splitRatios;
    const kalvor::ListDocument source{kSource, kSource, {}, doc.Info(), doc.DurationMs(), nullptr, {}};
    kalvor::ListRows rows(kalvor::ListMode::Split);
    rows.Add(doc.DurationMs() / 3, doc.DurationMs() / 3, doc.DurationMs());
    rows.Add(2 * (doc.DurationMs() / 3), 2 * (doc.DurationMs() / 3), doc.DurationMs());
    for (int round = 0; round < kRounds; ++round) {
        kalvor::RemoveFile(kCopyTarget);
        if (doc.OpenFile(kSource) != 1) return 1;
        cpTimes.push_back(Seconds([] { Shell("cp " + kSource + " " + kCopyTarget); }));
        doc.Sel.SelectRange(byteAt(middle - 30000), byteAt(middle + 30000));
        int deleted = 0;
        deleteTimes.push_back(Seconds([&] { deleted = doc.Delete(); }));
        if (deleted != 1) {
            std::printf("the delete failed\n");
            return 1;
        }
        ratios.push_back(deleteTimes.back() / cpTimes.back());
        int split = 0;
        splitTimes.push_back(Seconds([&] { split = kalvor::WriteListOutput(rows, source, kPieces).Ok() ? 1 : 0; }));
        for (int k = 1; k <= 3; ++k) kalvor::RemoveFile(kalvor::SplitPieceName(kPieces, k));
        if (split != 1) {
            std::printf("the split failed\n");
            return 1;
        }
        splitRatios.push_back(splitTimes.back() / cpTimes.back());
        std::printf("  round %d: cp %.3f s, delete %.3f s (%d bytes left), ratio %.2f; split %.3f s, ratio %.2f\n",
                    round + 1, cpTimes.back(), deleteTimes.back(), doc.AudioLength(), ratios.back(), splitTimes.back(),
                    splitRatios.back());
    }
    const double bestCp = *std::min_element(cpTimes.begin(), cpTimes.end());
    const double bestDelete = *std::min_element(deleteTimes.begin(), deleteTimes.end());
    std::printf("  median: cp %.3f s, delete %.3f s, median ratio %.2f; split %.3f s, median ratio %.2f\n",
                Median(cpTimes), Median(deleteTimes), Median(ratios), Median(splitTimes), Median(splitRatios));
    const double bestSplit = *std::min_element(splitTimes.begin(), splitTimes.end());
    std::printf("  best:   cp %.3f s, delete %.3f s, ratio %.2f; split %.3f s, ratio %.2f\n", bestCp, bestDelete,
                bestDelete / bestCp, bestSplit, bestSplit / bestCp);
    std::printf("  max resident set: %ld kB before the deletes, %ld kB after\n", rssBefore, MaxRssKb());
    return 0;
}

// Repacking's cost: each round deletes the middle minute and splits in three
// twice, once with the frames copied byte for byte (ExactFrames) and once
// repacked, and prints repacked time over exact time.
int MeasureAgainstExactFrames() {
    kalvor::Document doc(kWork);
    if (doc.OpenFile(kSource) != 1) return 1;
    const std::int32_t middle = doc.DurationMs() / 2;
    const kalvor::ListDocument source{kSource, kSource, {}, doc.Info(), doc.DurationMs(), nullptr, {}};
    kalvor::ListRows rows(kalvor::ListMode::Split);
    rows.Add(doc.DurationMs() / 3, doc.DurationMs() / 3, doc.DurationMs());
    rows.Add(2 * (doc.DurationMs() / 3), 2 * (doc.DurationMs() / 3), doc.DurationMs());
    std::vector<double> deleteRatios, splitRatios;
    for (int round = 0; round < kRounds; ++round) {
        double deleteTime[2] = {}, splitTime[2] = {};
        for (const bool exact : {true, false}) {
            kalvor::SetExactFrames(exact);
            if (doc.OpenFile(kSource) != 1) return 1;
            doc.Sel.SelectRange(doc.TimeScale().MsToPos(middle - 30000), doc.TimeScale().MsToPos(middle + 30000));
            bool ok = true;
            deleteTime[exact] = Seconds([&] { ok = doc.Delete() == 1; });
            splitTime[exact] = Seconds([&] { ok = ok && kalvor::WriteListOutput(rows, source, kPieces).Ok(); });
            for (int k = 1; k <= 3; ++k) kalvor::RemoveFile(kalvor::SplitPieceName(kPieces, k));
            if (!ok) return 1;
        }
        deleteRatios.push_back(deleteTime[0] / deleteTime[1]);
        splitRatios.push_back(splitTime[0] / splitTime[1]);
    }
    std::printf("  repacked / exact frames: delete %.3f, split %.3f (medians of %d rounds)\n", Median(deleteRatios),
                Median(splitRatios), kRounds);
    return 0;
}

const std::string kTagged = kFolder + "/tagged.mp3";
const std::string kSaved = kFolder + "/saved.mp3";
constexpr std::size_t kCoverBytes = 1'000'000;

// An ID3v2.3 tag as a tagger writes it: title, length and a front cover of
// kCoverBytes (a JPEG start, then noise: no encoder would shrink it).
std::string CoverTag(std::int32_t lengthMs) {
    TagLib::ID3v2::Tag tag;
    auto* title = new TagLib::ID3v2::TextIdentificationFrame("TIT2", TagLib::String::Latin1);
    title->setText("Long Take");
    tag.addFrame(title);
    auto* length = new TagLib::ID3v2::TextIdentificationFrame("TLEN", TagLib::String::Latin1);
    length->setText(TagLib::String::number(lengthMs));
    tag.addFrame(length);
    TagLib::ByteVector picture(static_cast<unsigned>(kCoverBytes), '\0');
    std::mt19937 noise(5);
    for (unsigned i = 0; i < picture.size(); ++i) picture[i] = static_cast<char>(noise());
    picture[0] = '\xFF', picture[1] = '\xD8', picture[2] = '\xFF';
    auto* cover = new TagLib::ID3v2::AttachedPictureFrame;
    cover->setMimeType("image/jpeg");
    cover->setType(TagLib::ID3v2::AttachedPictureFrame::FrontCover);
    cover->setPicture(picture);
    tag.addFrame(cover);
    const TagLib::ByteVector bytes = tag.render(TagLib::ID3v2::v3);
    return std::string(bytes.data(), bytes.size());
}

bool MakeTaggedSource(std::int32_t lengthMs) {
    std::ofstream out(kTagged, std::ios::binary);
    out << CoverTag(lengthMs) << std::ifstream(kSource, std::ios::binary).rdbuf();
    std::string id3v1 = "TAGLong Take";
    id3v1.resize(128, '\0');
    out << id3v1;
    return static_cast<bool>(out);
}

int MeasureTaggedSave() {
    kalvor::TagLibRewriter rewriter;
    kalvor::Document doc(kWork);
    doc.SetTagRewriter(&rewriter);
    if (doc.OpenFile(kTagged) != 1) return 1;
    const std::int32_t middle = doc.DurationMs() / 2;
    const auto byteAt = [&](std::int32_t ms) { return doc.TimeScale().MsToPos(ms); };
    std::printf("with tags kept (%lld tag bytes in front): %d audio bytes; deleting %d..%d ms, then saving\n",
                static_cast<long long>(doc.Tags().LeadingSize()), doc.AudioLength(), middle - 30000, middle + 30000);
    std::vector<double> cpTimes, copyTimes, saveTimes;
    for (int round = 0; round < kRounds; ++round) {
        if (doc.OpenFile(kTagged) != 1) return 1;
        doc.Sel.SelectRange(byteAt(middle - 30000), byteAt(middle + 30000));
        if (doc.Delete() != 1) return 1;
        const std::string version = doc.CurFile();
        Shell("cat " + version + " > /dev/null");
        kalvor::RemoveFile(kCopyTarget);
        cpTimes.push_back(Seconds([&] { Shell("cp " + version + " " + kCopyTarget); }));
        kalvor::RemoveFile(kCopyTarget);
        copyTimes.push_back(Seconds([&] { kalvor::CopyFileTo(version, kCopyTarget, false); }));
        // The first save after the first edit also keeps the opened file for undo
        // (a copy of it, tags or not); the save timed is the one after it.
        if (doc.SaveAs(kSaved) != 1) return 1;
        kalvor::RemoveFile(kSaved);
        int saved = 0;
        saveTimes.push_back(Seconds([&] { saved = doc.SaveAs(kSaved); }));
        if (saved != 1) return 1;
        std::printf("  round %d: cp %.3f s, untagged save copy %.3f s, save with tags %.3f s (%lld bytes)\n", round + 1,
                    cpTimes.back(), copyTimes.back(), saveTimes.back(), static_cast<long long>(fs::file_size(kSaved)));
    }
    std::printf("  median: cp %.3f s, untagged save copy %.3f s, save with tags %.3f s\n", Median(cpTimes),
                Median(copyTimes), Median(saveTimes));
    std::printf("  best:   cp %.3f s, untagged save copy %.3f s, save with tags %.3f s\n",
                *std::min_element(cpTimes.begin(), cpTimes.end()),
                *std::min_element(copyTimes.begin(), copyTimes.end()),
                *std::min_element(saveTimes.begin(), saveTimes.end()));
    return 0;
}

}  // namespace

int main() {
    std::error_code ec;
    int result = 0;
    for (const auto& [flags, label] : {std::pair{"", "with an Info header"}, std::pair{"-t", "without Info header"}}) {
        fs::create_directories(kWork, ec);
        if (!MakeSource(flags)) {
            std::printf("cannot make %s (ffmpeg and lame are needed)\n", kSource.c_str());
            result = 1;
        } else if (Measure(label) != 0 || MeasureAgainstExactFrames() != 0) {
            result = 1;
        } else if (flags[0] == '\0') {
            kalvor::Document probe(kWork);
            if (probe.OpenFile(kSource) != 1 || !MakeTaggedSource(probe.DurationMs()) || MeasureTaggedSave() != 0) {
                std::printf("the save with tags failed\n");
                result = 1;
            }
        }
        fs::remove_all(kFolder, ec);
    }
    return result;
}
