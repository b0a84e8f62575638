#include "mpeg/stream_analysis.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <string_view>
#include <vector>

#include "mpeg/byte_fields.h"
#include "mpeg/file_read.h"
#include "mpeg/frame_chain.h"
#include "mpeg/frame_walker.h"
#include "mpeg/xing_header.h"
#include "services/arith.h"
#include "services/fault_trap.h"

namespace kalvor {
namespace {

constexpr std::int32_t kHeadSize = 48;    // the first read, and the least size of a stream
constexpr int kBlockSize = 1000;          // the frame search's first read
constexpr int kLargestBlock = 64 * 1024;  // and its largest
// Blocks overlap by two bytes: a candidate needs its three bytes in one block,
// so without the overlap a header starting in a block's last two bytes would
// never be examined and a later frame would be taken instead.
constexpr int kBlockOverlap = 2;
constexpr std::int32_t kTailSize = 1024;               // where a trailing "TAG" is looked for
constexpr std::int32_t kShortestPadding = 16;          // 0xFF bytes at the end that are padding, at least
constexpr std::int32_t kLongestPadding = 1024 * 1024;  // and the most of them looked at
constexpr std::int32_t kId3v2HeaderSize = 10;
constexpr int kMostId3v2Tags = 16;  // tags skipped one after another, at most
// How far past the first candidate the search looks for one that the next
// frame confirms: far beyond any junk seen before real audio, and a bound on
// what a file without frames costs to read.
constexpr std::int64_t kConfirmReach = 256 * 1024;
constexpr std::int32_t kXingCountOffset = 8;  // "Xing", 4 flag bytes, then the frame count
constexpr std::int32_t kFirstFrameRead = 64;  // the first frame's header and its Xing or VBRI counts
constexpr std::int64_t kLargestFile = std::numeric_limits<std::int32_t>::max();
constexpr double kSnapSamples = 3456;  // three frames of 1152 samples

using Byte = std::uint8_t;

// Under this rule a second header byte of 0xFF is no sync: in an .mp3 file
// FF FF is padding or junk, never the start of a Layer III frame.
bool Mp3NameRule(const std::string& path) {
    if (path.size() < 3) return false;
    std::string tail = path.substr(path.size() - 3);
    for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return tail == "mp3";
}

// Files that carry the signature of another format. The frame search would
// otherwise take the first FF Fx in their data for a frame and describe the
// file as MPEG audio. A WAVE file whose format chunk says MPEG is searched.
bool IsOtherFormat(const std::array<Byte, kHeadSize>& head) {
    const Byte* h = head.data();
    if (BytesMatch(h, "RIFF")) {
        // Only a leading format chunk is looked at; any other RIFF file is searched.
        if (!BytesMatch(h + 8, "WAVE") || !BytesMatch(h + 12, "fmt ")) return false;
        const int tag = LittleEndian16(h + 20);
        return tag != 0x50 && tag != 0x55;
    }
    static constexpr std::array<std::string_view, 6> kSignatures = {"\x89PNG", "GIF8", "OggS",
                                                                    "fLaC",    "FORM", "\xFF\xD8\xFF"};
    for (std::string_view s : kSignatures)
        if (BytesMatch(h, s)) return true;
    return BytesMatch(h + 4, "ftyp");
}

struct Search {
    std::int64_t start = 0;   // 0-based offset where the block search begins
    int expected = -1;        // the remembered second header byte, or -1
    std::int64_t frame = -1;  // the first frame, once chosen
};

// The 0-based offset just past the ID3v2 tags that follow each other from
// offset, or offset when none starts there (a tag's size comes from its header).
std::int64_t PastId3v2Tags(const std::string& path, std::int64_t offset, std::int64_t fileSize) {
    for (int tag = 0; tag < kMostId3v2Tags && offset + kId3v2HeaderSize <= fileSize; ++tag) {
        std::array<Byte, kId3v2HeaderSize> h{};
        if (ReadAvailable(path, h.data(), kId3v2HeaderSize, offset) != kId3v2HeaderSize || !IsId3v2Tag(h.data())) break;
        offset += kId3v2HeaderSize + SynchsafeSize(h.data() + 6);
    }
    return offset;
}

// Chooses where to look for the first frame, from the first 48 bytes.
Search StartOfSearch(const std::string& path, const std::array<Byte, kHeadSize>& head, StreamInfo& info) {
    Search s;
    if (IsId3v1Tag(head.data())) {
        s.start = kId3v1Size;  // a tag block at the very front is skipped
    } else if (IsId3v2Tag(head.data())) {
        // Some files carry a second tag right after the first (a tagger added
        // one without seeing the other): every one of them is skipped.
        s.start = PastId3v2Tags(path, 0, info.FileSize);
    } else if (BytesMatch(head.data() + 36, "Xing")) {
        info.IsVbr = 1;
        info.XingFrames = Wrap32(BigEndian32(head.data() + 44));
    }
    return s;
}

// Examines positions from..size-3 of one block; the 0-based position of the
// first acceptable sync, or -1. A third byte of 0xFF (bit-rate index 15) is
// never accepted; the first such sync's second byte becomes the expected one.
int ScanBlock(const std::vector<Byte>& b, int from, int size, bool mp3Rule, int& expected) {
    for (int p = from; p <= size - 3; ++p) {
        const auto at = static_cast<std::size_t>(p);
        if (b[at] != 0xFF) continue;
        if (expected >= 0) {
            if (b[at + 1] == expected && b[at + 2] < 0xFF) return p;
            continue;
        }
        if (b[at + 1] < 0xF0 || (mp3Rule && b[at + 1] == 0xFF)) continue;
        if (b[at + 2] == 0xFF) {
            expected = b[at + 1];
            continue;
        }
        return p;
    }
    return -1;
}

// The piece of the file the search holds.
struct Block {
    const Byte* Bytes;
    std::int64_t Offset;  // 0-based, in the file
    std::int64_t Size;    // bytes of the file in it
};

// The candidates the search has met, and which one it settles on.
class Candidates {
   public:
    Candidates(const std::string& path, std::int64_t fileSize) : path_(path), fileSize_(fileSize) {}

    // Looks at the candidate whose header is at the 0-based offset; true when
    // it is confirmed and the search is over. The block being searched is
    // passed along: the next header is nearly always in it.
    bool Consider(std::int64_t offset, const HeaderBytes& header, const Block& block) {
        if (firstAccepted_ < 0) firstAccepted_ = offset;
        if (!DecodeHeader(header)) return false;  // no frame starts here: the search goes on after it
        if (!Confirmed(offset, header, block)) return false;
        chosen_ = offset;
        return true;
    }

    // Once a candidate was accepted, the search for a confirmed one goes on
    // only this far: a file with no frame near its start is read no further.
    bool PastReach(std::int64_t offset) const { return firstAccepted_ >= 0 && offset > firstAccepted_ + kConfirmReach; }

    // The confirmed candidate, else the first accepted, as the search took it
    // before candidates were confirmed: a file of another kind whose syncs do
    // not decode (ADTS audio) still fails on the first of them.
    std::int64_t Choice() const { return chosen_ >= 0 ? chosen_ : firstAccepted_; }

   private:
    // A candidate is a frame when the next one starts where its length says, or
    // when the file ends before a next header could be there to say so.
    bool Confirmed(std::int64_t offset, const HeaderBytes& header, const Block& block) const {
        const std::int64_t next = offset + FrameLengthOf(header);
        if (next + 4 > fileSize_) return true;
        std::array<Byte, 4> h{};
        if (next >= block.Offset && next + 4 <= block.Offset + block.Size)
            std::copy_n(block.Bytes + (next - block.Offset), 4, h.begin());
        else if (ReadAvailable(path_, h.data(), 4, next) != 4)
            return false;
        return IsFrameOfStream(h.data(), header);
    }

    const std::string& path_;
    std::int64_t fileSize_;
    std::int64_t firstAccepted_ = -1, chosen_ = -1;
};

// The block search: the 0-based offset of the first frame, or a failure.
// Consecutive blocks overlap by two bytes, so every position from the start to
// the end of the file is examined once, in order, whatever the block sizes:
// the first block is 1000 bytes (the first frame is nearly always in it), and
// each further one doubles, so that a file with no frame near its start costs
// a few reads rather than one per kilobyte. A candidate counts when the frame
// it announces is followed by another of the same stream: junk before the
// audio may hold a sync, and its first header may be broken.
AnalysisFault FindFirstFrame(const std::string& path, Search& s, std::int64_t fileSize, bool mp3Rule) {
    std::vector<Byte> block(kLargestBlock);
    const PieceReader reader(path);
    Candidates candidates(path, fileSize);
    int size = kBlockSize;
    for (std::int64_t offset = s.start; offset < fileSize && !candidates.PastReach(offset);
         offset += size - kBlockOverlap) {
        if (offset > s.start) size = std::min(2 * size, kLargestBlock);
        std::fill(block.begin(), block.begin() + size, Byte{0});  // bytes past the end read as zero
        const std::int32_t held = reader.Read(block.data(), size, offset);
        if (held < 0) return AnalysisFault::Unreadable;
        for (int p = ScanBlock(block, 0, size, mp3Rule, s.expected); p >= 0;
             p = ScanBlock(block, p + 1, size, mp3Rule, s.expected)) {
            const auto at = static_cast<std::size_t>(p);
            // A header's fourth byte may lie past the block: bytes past the file's end read as zero.
            std::array<Byte, 4> h{block[at], block[at + 1], block[at + 2], 0};
            if (at + 3 < static_cast<std::size_t>(size))
                h[3] = block[at + 3];
            else
                ReadAvailable(path, h.data() + 3, 1, offset + p + 3);
            if (candidates.Consider(offset + p, {h[1], h[2], h[3]}, {block.data(), offset, held})) {
                s.frame = offset + p;
                return AnalysisFault::None;
            }
        }
    }
    s.frame = candidates.Choice();
    return s.frame >= 0 ? AnalysisFault::None : AnalysisFault::NoFrameHeader;
}

// Reads the first frame's header and, when none was seen yet, its Xing header,
// which sits after the side information (where depends on version and
// channels), or a VBRI header, which counts the frame that holds it.
AnalysisFault ReadFirstFrame(const std::string& path, std::int64_t frame, StreamInfo& info) {
    std::array<Byte, kFirstFrameRead> at{};
    if (!ReadAt(path, at.data(), kFirstFrameRead, frame, 0)) return AnalysisFault::Unreadable;
    const HeaderBytes ref{at[1], at[2], at[3]};
    const int xing = XingHeaderOffset(ref);
    const auto held = static_cast<std::size_t>(std::min<std::int64_t>(kFirstFrameRead, info.FileSize - frame));
    if (info.IsVbr == 0 && frame + xing + kXingCountOffset + 3 < info.FileSize &&
        BytesMatch(at.data() + xing, "Xing")) {
        info.IsVbr = 1;
        info.XingFrames = Wrap32(BigEndian32(at.data() + xing + kXingCountOffset));
    } else if (const auto vbri = ParseVbriHeader(at.data(), held); info.IsVbr == 0 && vbri) {
        info.IsVbr = 1;
        info.XingFrames = Wrap32(vbri->Frames > 0 ? vbri->Frames - 1 : 0);
    }
    info.RefHeader = ref;
    info.FirstFramePos = static_cast<std::int32_t>(frame + 1);
    return AnalysisFault::None;
}

// The length of a run of 0xFF bytes that ends the audio [start, start + length),
// when it is long enough that no frame ends so (at most kLongestPadding is
// looked at). Such a run is padding, not audio: taken for audio, its
// FF FF FF pseudo-headers would be frame starts and its bytes part of pieces.
std::int32_t TrailingPadding(const std::string& path, std::int64_t start, std::int32_t length) {
    std::array<Byte, kTailSize> block{};
    std::int32_t run = 0;
    while (run < length && run < kLongestPadding) {
        const std::int32_t n = std::min(kTailSize, length - run);
        if (ReadAvailable(path, block.data(), n, start + length - run - n) != n) return 0;
        const auto last =
            std::find_if(block.rbegin() + (kTailSize - n), block.rend(), [](Byte b) { return b != 0xFF; });
        run += static_cast<std::int32_t>(last - (block.rbegin() + (kTailSize - n)));
        if (last != block.rend()) break;
    }
    return run >= kShortestPadding ? std::min(run, length - 1) : 0;
}

// AudioLength and AudioEndPos: up to the earliest "TAG" in the last kilobyte,
// less a run of 0xFF padding before it.
AnalysisFault MeasureAudio(const std::string& path, StreamInfo& info) {
    const std::int32_t n = std::min(kTailSize, info.FileSize);
    std::array<Byte, kTailSize> tail{};
    if (!ReadAt(path, tail.data(), n, info.FileSize - n, 0)) return AnalysisFault::Unreadable;
    for (std::int32_t t = 0; t <= n - 3; ++t) {
        if (IsId3v1Tag(tail.data() + t)) {
            info.AudioLength = info.FileSize - n + t - (info.FirstFramePos - 1);
            break;
        }
    }
    // No tag, or one before the first frame.
    // (Grouped so that no step leaves 32 bits even for a file of 2^31 - 1 bytes.)
    if (info.AudioLength <= 3) info.AudioLength = info.FileSize - (info.FirstFramePos - 1);
    info.AudioLength -= TrailingPadding(path, info.FirstFramePos - 1, info.AudioLength);
    info.AudioEndPos = info.AudioLength + (info.FirstFramePos - 1);
    return AnalysisFault::None;
}

std::int32_t RoundedQuotient(double numerator, double denominator) {
    return RoundHalfEven(numerator / denominator);
}

}  // namespace

AnalysisResult DescribeFormat(StreamInfo& info) {
    const HeaderBytes& ref = info.RefHeader;
    HeaderFault field = HeaderFault::None;
    const auto header = DecodeHeader(ref, &field);
    if (!header) return {AnalysisFault::InvalidHeader, field};
    info.Layer = header->Layer;
    info.IsLsf = header->IsLsf;
    info.BitRate = header->BitRate;
    info.SampleRate = header->SampleRate;
    // Products are formed exactly in double (well below 2^53), so the one
    // division rounds correctly and true halves reach RoundHalfEven as halves.
    if (info.IsVbr == 1) {
        const double samples = static_cast<double>(static_cast<std::uint32_t>(info.XingFrames)) * SamplesPerFrame(ref);
        info.DurationMs = RoundedQuotient(samples * 1000.0, info.SampleRate);
        if (info.DurationMs <= 0) return {AnalysisFault::NoDuration};
        // The average has always been taken over AudioLength less FirstFramePos
        // bytes; where a long tag makes that nothing or less (a short clip with
        // cover art), over the audio itself, never a negative rate.
        double bytes = static_cast<double>(info.AudioLength) - info.FirstFramePos;
        if (bytes <= 0) bytes = info.AudioLength;
        info.BitRate = RoundedQuotient(bytes * 8.0, info.DurationMs);
    } else {
        info.DurationMs = RoundedQuotient(static_cast<double>(info.AudioLength) * 8.0, info.BitRate);
    }
    info.LongText = "mp" + std::to_string(info.Layer) + "(" + std::to_string(info.SampleRate) + "Hz/" +
                    std::to_string(info.BitRate) + "kbps" + (info.IsVbr == 1 ? "[VBR]" : "") + "/" +
                    std::string(header->ModeName) + ")";
    if (info.LongText.size() > kLongTextCapacity) info.LongText.resize(kLongTextCapacity);
    info.SnapWindow = RoundedQuotient(kSnapSamples * 125.0 * info.BitRate, info.SampleRate);
    return {};
}

namespace {

// An MPEG 2.5 file holds no 12-bit sync but pseudo-headers in its data: the
// search finds none, or settles on one of them behind the file's real frames.
// Those frames start a chain; a pseudo-header does not. An MPEG-1/2 stream
// that follows MPEG 2.5 frames is still taken, as junk before the audio is.
bool IsMpeg25Stream(const std::string& path, const Search& s, std::int64_t fileSize) {
    const std::int64_t end = s.frame >= 0 ? s.frame : std::min(fileSize, s.start + kConfirmReach);
    return HasMpeg25Chain(path, s.start, end) && !StartsFrameChain(path, s.frame);
}

// What kind of path this is, before anything is opened.
AnalysisFault CheckPath(const std::string& path) {
    std::error_code ec;
    const auto status = std::filesystem::status(std::filesystem::path(path), ec);
    if (status.type() == std::filesystem::file_type::not_found) return AnalysisFault::Missing;
    if (ec) return AnalysisFault::Unreadable;
    if (status.type() != std::filesystem::file_type::regular) return AnalysisFault::NotAFile;
    return AnalysisFault::None;
}

AnalysisResult Analyze(const std::string& path, StreamInfo& info) {
    info = StreamInfo{};
    const bool mp3Rule = Mp3NameRule(path);
    if (const AnalysisFault f = CheckPath(path); f != AnalysisFault::None) return {f};
    std::int64_t fullSize = -1;
    info.FileSize = GetFileSize64(path, &fullSize);
    if (fullSize < 0) return {AnalysisFault::Unreadable};
    if (fullSize > kLargestFile) return {AnalysisFault::TooLarge};
    if (info.FileSize < kHeadSize) return {AnalysisFault::TooShort};
    std::array<Byte, kHeadSize> head{};
    if (!ReadAt(path, head.data(), kHeadSize, 0, 0)) return {AnalysisFault::Unreadable};
    if (IsOtherFormat(head)) return {AnalysisFault::NotMpeg};
    Search search = StartOfSearch(path, head, info);
    const AnalysisFault found = FindFirstFrame(path, search, info.FileSize, mp3Rule);
    if ((found == AnalysisFault::None || found == AnalysisFault::NoFrameHeader) &&
        IsMpeg25Stream(path, search, info.FileSize))
        return {AnalysisFault::Mpeg25};
    if (found != AnalysisFault::None) return {found};
    if (const AnalysisFault f = ReadFirstFrame(path, search.frame, info); f != AnalysisFault::None) return {f};
    if (const AnalysisFault f = MeasureAudio(path, info); f != AnalysisFault::None) return {f};
    return DescribeFormat(info);
}

}  // namespace

AnalysisResult AnalyzeStreamWhy(const std::string& path, StreamInfo& info) {
    return Trapped(AnalysisResult{AnalysisFault::Unexpected}, [&] { return Analyze(path, info); });
}

int AnalyzeStream(const std::string& path, StreamInfo& info) {
    return AnalyzeStreamWhy(path, info).Ok() ? 1 : 0;
}

bool HoldsOnlyAHeaderFrame(const std::string& path) {
    StreamInfo info;
    return AnalyzeStreamWhy(path, info).Fault == AnalysisFault::NoDuration;
}

std::string AnalysisFaultText(const AnalysisResult& result) {
    switch (result.Fault) {
        case AnalysisFault::None: return "the analysis succeeded";
        case AnalysisFault::Missing: return "the file does not exist";
        case AnalysisFault::NotAFile: return "not a file (a folder or a device)";
        case AnalysisFault::Unreadable: return "the file cannot be read";
        case AnalysisFault::TooShort: return "the file is too short for MPEG audio (under 48 bytes)";
        case AnalysisFault::TooLarge: return "the file is too large (2 GiB or more)";
        case AnalysisFault::NotMpeg: return "not MPEG audio (the file is of another format)";
        case AnalysisFault::NoFrameHeader: return "no MPEG audio frame header found";
        case AnalysisFault::InvalidHeader:
            switch (result.Field) {
                case HeaderFault::Layer: return "invalid frame header: the layer code is invalid";
                case HeaderFault::BitRate: return "invalid frame header: the bit-rate index is free format or invalid";
                case HeaderFault::SampleRate: return "invalid frame header: the sampling-frequency index is invalid";
                case HeaderFault::None: break;
            }
            return "invalid frame header";
        case AnalysisFault::Mpeg25: return "MPEG 2.5 audio (8, 11.025 or 12 kHz), which kalvor does not edit";
        case AnalysisFault::NoDuration: return "the Xing header counts no frames";
        case AnalysisFault::Unexpected: return "an unexpected error ended the analysis";
    }
    return "the analysis failed";
}

}  // namespace kalvor
