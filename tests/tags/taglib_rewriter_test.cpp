// The tag layer on one block of tags at a time: what it keeps byte for byte,
// what it brings up to date, what it leaves out, and when it asks for the
// written file's length.
#include "tags/taglib_rewriter.h"

#include <gtest/gtest.h>
#include <taglib/apetag.h>
#include <taglib/id3v1tag.h>
#include <taglib/id3v2header.h>
#include <taglib/id3v2tag.h>

#include <map>

#include "support/test_support.h"
#include "tags/bytes_file.h"

namespace kalvor {
namespace {

using test::Bytes;
using Fields = std::map<std::string, std::string>;

Bytes Text(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

// An ID3v2 tag of the given version whose frames (id, body) are each under 128
// bytes, so that their sizes read the same in ID3v2.3 and ID3v2.4; sizeField,
// when given, is what the header claims.
Bytes Id3v2(std::uint8_t version, const std::vector<std::pair<std::string, Bytes>>& frames, int padding = 20,
            int sizeField = -1) {
    Bytes body;
    for (const auto& [id, data] : frames)
        body = Cat({body, Text(id), {0, 0, 0, static_cast<std::uint8_t>(data.size())}, {0, 0}, data});
    body.resize(body.size() + static_cast<std::size_t>(padding), 0);
    const int size = sizeField >= 0 ? sizeField : static_cast<int>(body.size());
    const Bytes header = {'I',
                          'D',
                          '3',
                          version,
                          0,
                          0,
                          static_cast<std::uint8_t>(size >> 21 & 0x7F),
                          static_cast<std::uint8_t>(size >> 14 & 0x7F),
                          static_cast<std::uint8_t>(size >> 7 & 0x7F),
                          static_cast<std::uint8_t>(size & 0x7F)};
    return Cat({header, body});
}

std::pair<std::string, Bytes> TextFrame(const std::string& id, const std::string& text) {
    return {id, Cat({{0}, Text(text)})};
}
std::pair<std::string, Bytes> DataFrame(const std::string& id) {
    return {id, {1, 2, 3, 4, 5, 6, 7, 8}};
}

Bytes Le32(std::uint32_t v) {
    return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v >> 16),
            static_cast<std::uint8_t>(v >> 24)};
}

// An APEv2 tag with header and footer.
Bytes Ape(const Fields& items) {
    Bytes body;
    for (const auto& [key, value] : items)
        body = Cat({body, Le32(static_cast<std::uint32_t>(value.size())), Le32(0), Text(key), {0}, Text(value)});
    const auto block = [&](std::uint32_t flags) {
        return Cat({Text("APETAGEX"), Le32(2000), Le32(static_cast<std::uint32_t>(body.size() + 32)),
                    Le32(static_cast<std::uint32_t>(items.size())), Le32(flags), Bytes(8, 0)});
    };
    return Cat({block(0xA0000000), body, block(0x80000000)});
}

Bytes Id3v1(const std::string& title) {
    Bytes tag = Cat({Text("TAG"), Text(title)});
    tag.resize(127, 0);
    tag.push_back(12);  // genre
    return tag;
}

// What a block says, read back through TagLib: frame ids (ID3v2), item keys in
// capitals (APEv2) or field names (ID3v1) to their text; "version" for ID3v2.
Fields Read(const TagBlock& block) {
    BytesFile file(block.Bytes);
    Fields fields;
    if (block.Kind == TagKind::Id3v2) {
        TagLib::ID3v2::Tag tag(&file, 0);
        fields["version"] = std::to_string(tag.header()->majorVersion());
        for (const auto& [id, frames] : tag.frameListMap())
            if (!frames.isEmpty()) fields[std::string(id.data(), id.size())] = frames.front()->toString().to8Bit(true);
    } else if (block.Kind == TagKind::Apev2) {
        TagLib::APE::Tag tag(&file, static_cast<long>(block.Bytes.size() - 32));
        for (const auto& [key, item] : tag.itemListMap()) fields[key.to8Bit(true)] = item.toString().to8Bit(true);
    } else if (block.Kind == TagKind::Id3v1) {
        TagLib::ID3v1::Tag tag(&file, 0);
        fields["title"] = tag.title().to8Bit(true);
        fields["track"] = std::to_string(tag.track());
    }
    return fields;
}

enum class Outcome { Same, Rewritten, Dropped };

struct RewriteCase {
    const char* name;
    TagBlock block;
    int piece, pieces;  // 0, 0 for a saved version
    Outcome outcome;
    Fields expected;  // what the rewritten block says ("" for a field it no longer has)
    int lengthAsked;  // how often the written file's length was asked for
};

class TagLibRewriterTest : public ::testing::TestWithParam<RewriteCase> {};

TEST_P(TagLibRewriterTest, KeepsUpdatesOrDropsTheBlock) {
    const RewriteCase& c = GetParam();
    FileTags tags;
    (c.block.Kind == TagKind::Id3v2 ? tags.Leading : tags.Trailing).push_back(c.block);
    int asked = 0;
    const OutputFacts facts{[&] { return ++asked, std::int32_t{1234}; }, c.piece, c.pieces};
    const FileTags out = TagLibRewriter().ForOutput(tags, facts);

    EXPECT_EQ(asked, c.lengthAsked);
    const auto& blocks = c.block.Kind == TagKind::Id3v2 ? out.Leading : out.Trailing;
    if (c.outcome == Outcome::Dropped) {
        EXPECT_TRUE(out.Empty());
        return;
    }
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0].Kind, c.block.Kind);
    if (c.outcome == Outcome::Same) {
        EXPECT_EQ(blocks[0].Bytes, c.block.Bytes);
        return;
    }
    EXPECT_NE(blocks[0].Bytes, c.block.Bytes);
    const Fields fields = Read(blocks[0]);
    for (const auto& [key, value] : c.expected) {
        const auto it = fields.find(key);
        EXPECT_EQ(it == fields.end() ? "" : it->second, value) << key;
    }
}

const auto kTitle = TextFrame("TIT2", "My Title");

INSTANTIATE_TEST_SUITE_P(
    Blocks, TagLibRewriterTest,
    ::testing::Values(
        RewriteCase{"Id3v2WithNothingToUpdate", {TagKind::Id3v2, Id3v2(3, {kTitle})}, 0, 0, Outcome::Same, {}, 0},
        RewriteCase{"Id3v23Length",
                    {TagKind::Id3v2, Id3v2(3, {kTitle, TextFrame("TLEN", "30000")})},
                    0,
                    0,
                    Outcome::Rewritten,
                    {{"version", "3"}, {"TIT2", "My Title"}, {"TLEN", "1234"}},
                    1},
        RewriteCase{"Id3v24SeekTablesLeftOut",
                    {TagKind::Id3v2, Id3v2(4, {kTitle, DataFrame("MLLT"), DataFrame("ASPI"), DataFrame("SEEK")})},
                    0,
                    0,
                    Outcome::Rewritten,
                    {{"version", "4"}, {"TIT2", "My Title"}, {"MLLT", ""}, {"ASPI", ""}, {"SEEK", ""}},
                    0},
        RewriteCase{"Id3v2OfAPiece",
                    {TagKind::Id3v2, Id3v2(3, {kTitle, TextFrame("TRCK", "7"), TextFrame("TLEN", "30000")})},
                    2,
                    5,
                    Outcome::Rewritten,
                    {{"TIT2", "My Title"}, {"TRCK", "2/5"}, {"TLEN", "1234"}},
                    1},
        RewriteCase{"Id3v2OfAPieceGainsATrack",
                    {TagKind::Id3v2, Id3v2(4, {kTitle})},
                    3,
                    3,
                    Outcome::Rewritten,
                    {{"TIT2", "My Title"}, {"TRCK", "3/3"}},
                    0},
        // A size that runs past the tag's bytes, a footer whose size does not
        // fit: a damaged tag is left out.
        RewriteCase{
            "DamagedId3v2Dropped", {TagKind::Id3v2, Id3v2(3, {kTitle}, 20, 5000)}, 0, 0, Outcome::Dropped, {}, 0},
        RewriteCase{"DamagedId3v2OfAPieceDropped",
                    {TagKind::Id3v2, Id3v2(3, {kTitle, TextFrame("TLEN", "30000")}, 20, 5000)},
                    1,
                    2,
                    Outcome::Dropped,
                    {},
                    0},
        RewriteCase{"ApeOfAVersion", {TagKind::Apev2, Ape({{"Title", "My Title"}})}, 0, 0, Outcome::Same, {}, 0},
        RewriteCase{"ApeOfAPiece",
                    {TagKind::Apev2, Ape({{"Title", "My Title"}, {"Track", "9"}})},
                    3,
                    4,
                    Outcome::Rewritten,
                    {{"TITLE", "My Title"}, {"TRACK", "3/4"}},
                    0},
        RewriteCase{"DamagedApeDropped",
                    {TagKind::Apev2, Cat({Text("APETAGEX"), Le32(2000), Le32(999999), Le32(0), Le32(0), Bytes(8, 0)})},
                    0,
                    0,
                    Outcome::Dropped,
                    {},
                    0},
        RewriteCase{"Id3v1OfAPiece",
                    {TagKind::Id3v1, Id3v1("My Title")},
                    2,
                    3,
                    Outcome::Rewritten,
                    {{"title", "My Title"}, {"track", "2"}},
                    0},
        RewriteCase{
            "Lyrics3OfAPiece", {TagKind::Lyrics3, Text("LYRICSBEGINla la laLYRICSEND")}, 2, 3, Outcome::Same, {}, 0}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kalvor
