// Where a file's tags lie, and the audio that a kept-tags analysis leaves
// between them: one table of byte-built files.
#include "mpeg/tag_spans.h"

#include <gtest/gtest.h>

#include "mpeg/audio_bound.h"
#include "support/frame_builder.h"

namespace kalvor {
namespace {

using test::Bytes;
using test::operator+;

Bytes Text(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

Bytes Le32(std::uint32_t v) {
    return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v >> 16),
            static_cast<std::uint8_t>(v >> 24)};
}

// An ID3v2.4 tag with a footer: 10 + body + 10 bytes.
Bytes Id3v24WithFooter(std::uint8_t body) {
    const Bytes size = {0, 0, 0, body};
    return Text("ID3") + Bytes{4, 0, 0x10} + size + Bytes(body, 0x41) + Text("3DI") + Bytes{4, 0, 0x10} + size;
}

// An APEv2 tag of one item of valueSize bytes, with or without its header.
Bytes Apev2(std::uint32_t valueSize, bool withHeader) {
    const Bytes item = Le32(valueSize) + Le32(0) + Text("Title") + Bytes{0} + Bytes(valueSize, 'x');
    const auto size = static_cast<std::uint32_t>(item.size() + 32);
    const auto block = [&](std::uint32_t flags) {
        return Text("APETAGEX") + Le32(2000) + Le32(size) + Le32(1) + Le32(flags) + Bytes(8, 0);
    };
    return (withHeader ? block(0xA0000000) : Bytes{}) + item + block(withHeader ? 0x80000000 : 0);
}

Bytes Lyrics3v2() {
    const Bytes fields = Text("LYRICSBEGIN") + Text("IND00002") + Text("10") + Text("LYR00005hello");
    return fields + Text("0000" + std::to_string(fields.size())) + Text("LYRICS200");
}

Bytes Lyrics3v1() {
    return Text("LYRICSBEGIN") + Text("la la la") + Text("LYRICSEND");
}

// 40 frames of 128 kbit/s at 44.1 kHz, 417 bytes each.
const Bytes& Audio() {
    static const Bytes audio = test::Frames(0xFB, 0x90, 0x64, 40);
    return audio;
}

struct SpansCase {
    const char* name;
    Bytes front, back;  // around the audio
    std::vector<std::int64_t> leading;
    std::vector<std::pair<TagKind, std::int64_t>> trailing;  // kind and size, in file order
};

class TagSpansTest : public ::testing::TestWithParam<SpansCase> {};

TEST_P(TagSpansTest, FindsTheTagsAndEndsTheAudioBeforeThem) {
    const SpansCase& c = GetParam();
    test::TempDir dir;
    const std::string path = dir.file("x.mp3");
    test::WriteFile(path, c.front + Audio() + c.back);
    const auto audioStart = static_cast<std::int64_t>(c.front.size());

    std::vector<std::int64_t> leading;
    for (const TagSpan& span : LeadingTagSpans(path, audioStart)) leading.push_back(span.Size);
    EXPECT_EQ(leading, c.leading);
    std::vector<std::pair<TagKind, std::int64_t>> trailing;
    std::int64_t at = audioStart + static_cast<std::int64_t>(Audio().size());
    for (const TagSpan& span : TrailingTagSpans(path, audioStart + 1)) {
        EXPECT_EQ(span.Offset, at);
        at += span.Size;
        trailing.emplace_back(span.Kind, span.Size);
    }
    EXPECT_EQ(trailing, c.trailing);

    StreamInfo info;
    ASSERT_TRUE(AnalyzeAudio(path, info, AudioBound::BeforeTags).Ok());
    EXPECT_EQ(info.FirstFramePos, audioStart + 1);
    EXPECT_EQ(info.AudioLength, static_cast<std::int32_t>(Audio().size()));
    EXPECT_EQ(info.DurationMs, 1042);  // 16 680 bytes at 128 kbit/s, 1 042.5 ms
}

const Bytes kId3v1 = test::Id3v1Tag();
const Bytes kApeLarge = Apev2(2000, true), kApeSmall = Apev2(10, false);
// A footer whose size runs far before the audio.
const Bytes kDamagedApe = Text("APETAGEX") + Le32(2000) + Le32(999999) + Le32(1) + Le32(0) + Bytes(8, 0);

std::int64_t Size(const Bytes& b) {
    return static_cast<std::int64_t>(b.size());
}

INSTANTIATE_TEST_SUITE_P(
    Files, TagSpansTest,
    ::testing::Values(
        SpansCase{"None", {}, {}, {}, {}},
        SpansCase{"Id3v2AndId3v1", test::Id3v2Tag(300), kId3v1, {300}, {{TagKind::Id3v1, 128}}},
        SpansCase{"TwoId3v2InARow", test::Id3v2Tag(300) + Id3v24WithFooter(50), {}, {300, 70}, {}},
        // Bytes between the tag and the first frame are neither tag nor audio.
        SpansCase{"Id3v2ThenZeros", test::Id3v2Tag(300) + Bytes(100, 0), {}, {300}, {}},
        SpansCase{"LargeApeWithHeaderThenId3v1",
                  {},
                  kApeLarge + kId3v1,
                  {},
                  {{TagKind::Apev2, Size(kApeLarge)}, {TagKind::Id3v1, 128}}},
        SpansCase{"SmallApeWithoutHeader", {}, kApeSmall, {}, {{TagKind::Apev2, Size(kApeSmall)}}},
        // 131 bytes: the "TAG" of its header's "APETAGEX" stands where an ID3v1 tag would begin.
        SpansCase{"ApeWithHeaderOf131Bytes", {}, Apev2(53, true), {}, {{TagKind::Apev2, 131}}},
        SpansCase{
            "Id3v1ThenApe", {}, kId3v1 + kApeSmall, {}, {{TagKind::Id3v1, 128}, {TagKind::Apev2, Size(kApeSmall)}}},
        SpansCase{"Lyrics3v2ThenId3v1",
                  {},
                  Lyrics3v2() + kId3v1,
                  {},
                  {{TagKind::Lyrics3, Size(Lyrics3v2())}, {TagKind::Id3v1, 128}}},
        SpansCase{"Lyrics3v1ThenId3v1", {}, Lyrics3v1() + kId3v1, {}, {{TagKind::Lyrics3, 28}, {TagKind::Id3v1, 128}}},
        // A footer whose size does not fit: its own 32 bytes are a damaged tag,
        // and what stands before it is audio as far as anyone knows.
        SpansCase{"ApeFooterOfDamagedSize", {}, kDamagedApe, {}, {{TagKind::Apev2, 32}}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kalvor
