#include <taglib/id3v2header.h>
#include <taglib/id3v2tag.h>
#include <taglib/textidentificationframe.h>

#include <array>

#include "tags/bytes_file.h"
#include "tags/tag_updates.h"

namespace kalvor {
namespace {

// Frames that describe the audio as it was: a seek target past this tag, an
// MPEG frame lookup table, an audio seek point index. Kept, they would point
// readers to the wrong places.
constexpr std::array<const char*, 3> kSeekFrames = {"SEEK", "MLLT", "ASPI"};

bool Has(const TagLib::ID3v2::Tag& tag, const char* id) {
    const auto& frames = tag.frameListMap();
    const auto it = frames.find(id);
    return it != frames.end() && !it->second.isEmpty();
}

void SetText(TagLib::ID3v2::Tag& tag, const char* id, const std::string& text) {
    if (!Has(tag, id)) tag.addFrame(new TagLib::ID3v2::TextIdentificationFrame(id, TagLib::String::Latin1));
    for (TagLib::ID3v2::Frame* frame : tag.frameListMap()[id]) frame->setText(TagLib::String(text));
}

}  // namespace

std::optional<TagBytes> UpdateId3v2(const TagBytes& bytes, WrittenFile& file, bool first) {
    BytesFile source(bytes);
    TagLib::ID3v2::Tag tag(&source, 0);
    const unsigned version = tag.header()->majorVersion();
    if (version < 2 || version > 4 || tag.header()->completeTagSize() != bytes.size()) return std::nullopt;
    bool stale = Has(tag, "TLEN");
    for (const char* id : kSeekFrames) stale = stale || Has(tag, id);
    const bool track = first && file.IsPiece();
    if (!stale && !track) return bytes;
    for (const char* id : kSeekFrames) tag.removeFrames(id);
    if (Has(tag, "TLEN")) {
        // A length that cannot be worked out is left out rather than left wrong.
        const std::int32_t ms = file.LengthMs();
        if (ms > 0)
            SetText(tag, "TLEN", std::to_string(ms));
        else
            tag.removeFrames("TLEN");
    }
    if (track) SetText(tag, "TRCK", file.TrackText());
    return BytesOf(tag.render(version == 4 ? TagLib::ID3v2::v4 : TagLib::ID3v2::v3));
}

}  // namespace kalvor
