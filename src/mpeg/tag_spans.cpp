#include "mpeg/tag_spans.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

#include "mpeg/byte_fields.h"
#include "mpeg/file_read.h"

namespace kalvor {
namespace {

using Byte = std::uint8_t;

constexpr std::int64_t kId3v2HeaderSize = 10;  // also the size of its footer
constexpr Byte kId3v2FooterFlag = 0x10;
constexpr std::int64_t kApeFooterSize = 32;  // also the size of its header
constexpr std::uint32_t kApeHasHeader = 1u << 31;
constexpr std::uint32_t kApeIsHeader = 1u << 29;
constexpr std::int64_t kLyricsEndSize = 9;      // "LYRICSEND" / "LYRICS200"
constexpr std::int64_t kLyrics2SizeDigits = 6;  // the v2 block size before "LYRICS200"
constexpr std::int64_t kLyrics1MaxText = 5100;  // v1 lyrics are at most this long
constexpr std::string_view kLyricsBegin = "LYRICSBEGIN";
// Enough for any real file; a file of nothing but tag blocks is not walked to its start.
constexpr int kMostLeadingTags = 64;
constexpr int kMostTrailingTags = 16;

// count bytes at offset, or nothing when the file holds fewer.
template <std::size_t N>
std::optional<std::array<Byte, N>> ReadExactly(const std::string& path, std::int64_t offset) {
    std::array<Byte, N> bytes{};
    if (offset < 0 || ReadAvailable(path, bytes.data(), static_cast<std::int32_t>(N), offset) != N) return {};
    return bytes;
}

// The whole size of the ID3v2 tag whose header is h, or 0 when h is none.
std::int64_t Id3v2TagSize(const std::array<Byte, kId3v2HeaderSize>& h) {
    if (!BytesMatch(h.data(), "ID3") || h[3] < 2 || h[3] > 4 || h[4] == 0xFF) return 0;
    if (std::any_of(h.begin() + 6, h.end(), [](Byte b) { return b >= 0x80; })) return 0;
    const std::int64_t size = SynchsafeSize(h.data() + 6);
    const bool footer = h[3] == 4 && (h[5] & kId3v2FooterFlag) != 0;
    return kId3v2HeaderSize + size + (footer ? kId3v2HeaderSize : 0);
}

// Each finder looks at the bytes just before end and gives the block that ends there.
using Found = std::optional<TagSpan>;

Found Id3v1Before(const std::string& path, std::int64_t end, std::int64_t floor) {
    const std::int64_t start = end - std::int64_t{kId3v1Size};
    if (start < floor) return {};
    const auto head = ReadExactly<3>(path, start);
    if (!head || !IsId3v1Tag(head->data())) return {};
    return TagSpan{TagKind::Id3v1, start, std::int64_t{kId3v1Size}};
}

// A footer that names itself but whose sizes do not fit is a damaged tag: its
// 32 bytes are a tag block all the same, and the caller stops there.
Found ApeBefore(const std::string& path, std::int64_t end, std::int64_t floor, bool& damaged) {
    const std::int64_t footerAt = end - kApeFooterSize;
    if (footerAt < floor) return {};
    const auto footer = ReadExactly<kApeFooterSize>(path, footerAt);
    if (!footer || !BytesMatch(footer->data(), "APETAGEX")) return {};
    const std::uint32_t version = LittleEndian32(footer->data() + 8);
    const std::int64_t size = LittleEndian32(footer->data() + 12);  // items and footer
    const std::uint32_t flags = LittleEndian32(footer->data() + 20);
    const bool hasHeader = (flags & kApeHasHeader) != 0;
    const std::int64_t start = end - size - (hasHeader ? kApeFooterSize : 0);
    bool valid =
        (version == 1000 || version == 2000) && (flags & kApeIsHeader) == 0 && size >= kApeFooterSize && start >= floor;
    if (valid && hasHeader) {
        const auto header = ReadExactly<8>(path, start);
        valid = header && BytesMatch(header->data(), "APETAGEX");
    }
    if (!valid) {
        damaged = true;
        return TagSpan{TagKind::Apev2, footerAt, kApeFooterSize};
    }
    return TagSpan{TagKind::Apev2, start, end - start};
}

bool LyricsBeginAt(const std::string& path, std::int64_t at) {
    const auto begin = ReadExactly<kLyricsBegin.size()>(path, at);
    return begin && BytesMatch(begin->data(), kLyricsBegin);
}

// Lyrics3 v2: "LYRICSBEGIN", fields, a six-digit size of all that, "LYRICS200".
// Lyrics3 v1: "LYRICSBEGIN", at most 5100 bytes of text, "LYRICSEND".
Found LyricsBefore(const std::string& path, std::int64_t end, std::int64_t floor) {
    const std::int64_t endMark = end - kLyricsEndSize;
    const auto trailer = ReadExactly<kLyricsEndSize + kLyrics2SizeDigits>(path, endMark - kLyrics2SizeDigits);
    if (!trailer) return {};
    const Byte* mark = trailer->data() + kLyrics2SizeDigits;
    if (BytesMatch(mark, "LYRICS200")) {
        std::int64_t size = 0;
        for (std::int64_t i = 0; i < kLyrics2SizeDigits; ++i) {
            const Byte digit = (*trailer)[static_cast<std::size_t>(i)];
            if (digit < '0' || digit > '9') return {};
            size = size * 10 + (digit - '0');
        }
        const std::int64_t start = endMark - kLyrics2SizeDigits - size;
        if (start < floor || !LyricsBeginAt(path, start)) return {};
        return TagSpan{TagKind::Lyrics3, start, end - start};
    }
    if (!BytesMatch(mark, "LYRICSEND")) return {};
    // The earliest "LYRICSBEGIN" that leaves room for the text.
    const std::int64_t from =
        std::max(floor, endMark - kLyrics1MaxText - static_cast<std::int64_t>(kLyricsBegin.size()));
    if (from >= endMark) return {};
    std::vector<Byte> window(static_cast<std::size_t>(endMark - from));
    const auto count = static_cast<std::int32_t>(window.size());
    if (ReadAvailable(path, window.data(), count, from) != count) return {};
    const auto begin = std::search(window.begin(), window.end(), kLyricsBegin.begin(), kLyricsBegin.end(),
                                   [](Byte b, char c) { return b == static_cast<Byte>(c); });
    if (begin == window.end()) return {};
    const std::int64_t start = from + (begin - window.begin());
    return TagSpan{TagKind::Lyrics3, start, end - start};
}

}  // namespace

std::vector<TagSpan> LeadingTagSpans(const std::string& path, std::int64_t limit) {
    std::vector<TagSpan> spans;
    std::int64_t at = 0;
    while (static_cast<int>(spans.size()) < kMostLeadingTags) {
        const auto header = ReadExactly<kId3v2HeaderSize>(path, at);
        if (!header) break;
        const std::int64_t size = Id3v2TagSize(*header);
        if (size == 0 || at + size > limit) break;
        spans.push_back({TagKind::Id3v2, at, size});
        at += size;
    }
    return spans;
}

std::vector<TagSpan> TrailingTagSpans(const std::string& path, std::int64_t floor) {
    std::vector<TagSpan> spans;
    std::int64_t end = -1;
    GetFileSize64(path, &end);
    bool damaged = false;
    while (!damaged && static_cast<int>(spans.size()) < kMostTrailingTags) {
        // "APETAGEX" holds "TAG": an APE tag with a header may show one 128
        // bytes before its end. A footer that fits wins; a damaged one gives
        // way to an ID3v1 tag.
        bool apeDamaged = false;
        const Found ape = ApeBefore(path, end, floor, apeDamaged);
        Found found = ape && !apeDamaged ? ape : Id3v1Before(path, end, floor);
        if (!found && apeDamaged) {
            found = ape;
            damaged = true;
        }
        if (!found) found = LyricsBefore(path, end, floor);
        if (!found) break;
        spans.insert(spans.begin(), *found);
        end = found->Offset;
    }
    return spans;
}

UntaggedBytes BetweenTags(const std::string& path, std::int64_t firstFrameOffset) {
    UntaggedBytes bytes;
    GetFileSize64(path, &bytes.End);
    for (const TagSpan& span : LeadingTagSpans(path, firstFrameOffset)) bytes.Begin = span.Offset + span.Size;
    const std::vector<TagSpan> trailing = TrailingTagSpans(path, firstFrameOffset + 1);
    if (!trailing.empty()) bytes.End = trailing.front().Offset;
    return bytes;
}

}  // namespace kalvor
