#include "mpeg/stream_analysis.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <string_view>
#include <vector>

#include "mpeg/file_read.h"
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
constexpr std::int32_t kTailSize = 1024;       // where a trailing "TAG" is looked for
constexpr std::int32_t kId3v1BlockSize = 128;  // a "TAG" block at the very front is skipped
constexpr std::int32_t kId3v2HeaderSize = 10;
constexpr std::int32_t kXingCountOffset = 8;  // "Xing", 4 flag bytes, then the frame count
constexpr std::int64_t kLargestFile = std::numeric_limits<std::int32_t>::max();
constexpr double kSnapSamples = 3456;  // three frames of 1152 samples

using Byte = std::uint8_t;

bool Matches(const Byte* bytes, std::string_view text) {
    return std::equal(text.begin(), text.end(), bytes, [](char c, Byte b) { return static_cast<Byte>(c) == b; });
}

std::uint32_t BigEndian32(const Byte* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

std::int32_t SynchsafeSize(const Byte* p) {
    return ((p[0] & 0x7F) << 21) | ((p[1] & 0x7F) << 14) | ((p[2] & 0x7F) << 7) | (p[3] & 0x7F);
}

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
    if (Matches(h, "RIFF")) {
        // Only a leading format chunk is looked at; any other RIFF file is searched.
        if (!Matches(h + 8, "WAVE") || !Matches(h + 12, "fmt ")) return false;
        const int tag = h[20] | (h[21] << 8);
        return tag != 0x50 && tag != 0x55;
    }
    static constexpr std::array<std::string_view, 6> kSignatures = {"\x89PNG", "GIF8", "OggS",
                                                                    "fLaC",    "FORM", "\xFF\xD8\xFF"};
    for (std::string_view s : kSignatures)
        if (Matches(h, s)) return true;
    return Matches(h + 4, "ftyp");
}

struct Search {
    std::int64_t start = 0;   // 0-based offset where the block search begins
    int expected = -1;        // the remembered second header byte, or -1
    std::int64_t frame = -1;  // the first frame when the head already settles it
};

// Chooses where to look for the first frame, from the first 48 bytes.
Search StartOfSearch(const std::array<Byte, kHeadSize>& head, bool mp3Rule, StreamInfo& info) {
    Search s;
    if (Matches(head.data(), "TAG")) {
        s.start = kId3v1BlockSize;
    } else if (Matches(head.data(), "ID3")) {
        s.start = kId3v2HeaderSize + SynchsafeSize(head.data() + 6);
    } else {
        if (Matches(head.data() + 36, "Xing")) {
            info.IsVbr = 1;
            info.XingFrames = Wrap32(BigEndian32(head.data() + 44));
        }
        if (IsSync(head[0], head[1]) && !(mp3Rule && head[1] == 0xFF)) {
            if (head[2] != 0xFF)
                s.frame = 0;
            else
                s.expected = head[1];
        }
    }
    return s;
}

// Examines positions 0..size-3 of one block; the 0-based position of the first
// acceptable sync, or -1. A third byte of 0xFF (bit-rate index 15) is never
// accepted; the first such sync's second byte becomes the expected one.
int ScanBlock(const std::vector<Byte>& b, int size, bool mp3Rule, int& expected) {
    for (int p = 0; p <= size - 3; ++p) {
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

// The block search: the 0-based offset of the first frame, or a failure.
// Consecutive blocks overlap by two bytes, so every position from the start to
// the end of the file is examined once, in order, whatever the block sizes:
// the first block is 1000 bytes (the first frame is nearly always in it), and
// each further one doubles, so that a file with no frame near its start costs
// a few reads rather than one per kilobyte.
AnalysisFault FindFirstFrame(const std::string& path, Search& s, std::int64_t fileSize, bool mp3Rule) {
    std::vector<Byte> block(kLargestBlock);
    const PieceReader reader(path);
    int size = kBlockSize;
    for (std::int64_t offset = s.start; offset < fileSize; offset += size - kBlockOverlap) {
        if (offset > s.start) size = std::min(2 * size, kLargestBlock);
        std::fill(block.begin(), block.begin() + size, Byte{0});  // bytes past the end read as zero
        if (reader.Read(block.data(), size, offset) < 0) return AnalysisFault::Unreadable;
        const int p = ScanBlock(block, size, mp3Rule, s.expected);
        if (p >= 0) {
            s.frame = offset + p;
            return AnalysisFault::None;
        }
    }
    return AnalysisFault::NoFrameHeader;
}

// Reads the first frame's header and, when none was seen yet, its Xing header,
// which sits after the side information: where depends on version and channels.
AnalysisFault ReadFirstFrame(const std::string& path, std::int64_t frame, StreamInfo& info) {
    std::array<Byte, kHeadSize> at{};
    if (!ReadAt(path, at.data(), kHeadSize, frame, 0)) return AnalysisFault::Unreadable;
    const HeaderBytes ref{at[1], at[2], at[3]};
    const int xing = XingHeaderOffset(ref);
    if (info.IsVbr == 0 && frame + xing + kXingCountOffset + 3 < info.FileSize && Matches(at.data() + xing, "Xing")) {
        info.IsVbr = 1;
        info.XingFrames = Wrap32(BigEndian32(at.data() + xing + kXingCountOffset));
    }
    info.RefHeader = ref;
    info.FirstFramePos = static_cast<std::int32_t>(frame + 1);
    return AnalysisFault::None;
}

// AudioLength and AudioEndPos: up to the earliest "TAG" in the last kilobyte.
AnalysisFault MeasureAudio(const std::string& path, StreamInfo& info) {
    const std::int32_t n = std::min(kTailSize, info.FileSize);
    std::array<Byte, kTailSize> tail{};
    if (!ReadAt(path, tail.data(), n, info.FileSize - n, 0)) return AnalysisFault::Unreadable;
    for (std::int32_t t = 0; t <= n - 3; ++t) {
        if (Matches(tail.data() + t, "TAG")) {
            info.AudioLength = info.FileSize - n + t - (info.FirstFramePos - 1);
            break;
        }
    }
    // No tag, or one before the first frame.
    // (Grouped so that no step leaves 32 bits even for a file of 2^31 - 1 bytes.)
    if (info.AudioLength <= 3) info.AudioLength = info.FileSize - (info.FirstFramePos - 1);
    info.AudioEndPos = info.AudioLength + (info.FirstFramePos - 1);
    return AnalysisFault::None;
}

std::int32_t RoundedQuotient(double numerator, double denominator) {
    return RoundHalfEven(numerator / denominator);
}

// Layer, version, rates, duration, format text and snap window from RefHeader.
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
        info.BitRate =
            RoundedQuotient((static_cast<double>(info.AudioLength) - info.FirstFramePos) * 8.0, info.DurationMs);
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
    Search search = StartOfSearch(head, mp3Rule, info);
    if (search.frame < 0) {
        if (const AnalysisFault f = FindFirstFrame(path, search, info.FileSize, mp3Rule); f != AnalysisFault::None)
            return {f};
    }
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
        case AnalysisFault::NoDuration: return "the Xing header counts no frames";
        case AnalysisFault::Unexpected: return "an unexpected error ended the analysis";
    }
    return "the analysis failed";
}

}  // namespace kalvor
