// Tag blocks: where a file's tags lie, and what the tag layer makes of them for
// a written file. Whatever the bytes, the blocks found lie in the file one after
// another, and every block the layer gives back for a file that kalvor writes
// is found again, whole, where it is written: a tag the layer wrote is never
// taken for audio.
//
// The input: a byte of choices (piece or whole file, the kind of block the rest
// is also handed over as), two bytes for how far before the file's end its
// first frame starts, then the file.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "mpeg/file_tags.h"
#include "mpeg/tag_spans.h"
#include "tags/taglib_rewriter.h"

namespace {

using kalvor::TagKind;
using kalvor::fuzz::Require;

void CheckSpans(const std::string& path, std::int64_t size, std::int64_t firstFrame) {
    std::int64_t at = 0;
    for (const kalvor::TagSpan& span : kalvor::LeadingTagSpans(path, firstFrame)) {
        Require(span.Kind == TagKind::Id3v2 && span.Offset == at && span.Size > 0, "leading tags follow one another");
        at += span.Size;
    }
    Require(at <= firstFrame, "leading tags end before the first frame");
    const std::vector<kalvor::TagSpan> trailing = kalvor::TrailingTagSpans(path, firstFrame + 1);
    std::int64_t end = size;
    for (auto it = trailing.rbegin(); it != trailing.rend(); ++it) {
        Require(it->Size > 0 && it->Offset + it->Size == end, "trailing blocks follow one another to the end");
        end = it->Offset;
    }
    Require(end >= firstFrame + 1 || trailing.empty(), "trailing blocks start after the first frame");
}

// The block alone, as the start (ID3v2) or the end (the others) of a file, is found as one block of its size.
void CheckFoundWhole(const kalvor::TagBlock& block) {
    const std::string path = kalvor::fuzz::WriteScratch("block.mp3", block.Bytes.data(), block.Bytes.size());
    const auto size = static_cast<std::int64_t>(block.Bytes.size());
    const std::vector<kalvor::TagSpan> spans =
        block.Kind == TagKind::Id3v2 ? kalvor::LeadingTagSpans(path, size) : kalvor::TrailingTagSpans(path, 0);
    Require(spans.size() == 1 && spans[0].Kind == block.Kind && spans[0].Offset == 0 && spans[0].Size == size,
            "a written tag block is found whole where it is written");
}

kalvor::FileTags ForOutput(const kalvor::FileTags& tags, bool piece) {
    static const kalvor::TagLibRewriter rewriter;
    const kalvor::OutputFacts facts{[] { return std::int32_t{61234}; }, piece ? 2 : 0, piece ? 3 : 0};
    return rewriter.ForOutput(tags, facts);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kalvor::fuzz::InputCursor in(data, size);
    const std::uint8_t choices = in.Byte();
    const bool piece = (choices & 1) != 0;
    const std::uint32_t audioBack = in.Number(2);
    const std::vector<std::uint8_t> bytes(in.Rest(), in.Rest() + in.RestSize());
    const auto fileSize = static_cast<std::int64_t>(bytes.size());
    const std::int64_t firstFrame = fileSize - audioBack % (fileSize + 1);
    const std::string path = kalvor::fuzz::WriteScratch("input.mp3", bytes.data(), bytes.size());

    CheckSpans(path, fileSize, firstFrame);
    kalvor::StreamInfo info;
    info.FirstFramePos = static_cast<std::int32_t>(firstFrame + 1);
    const kalvor::FileTags found = kalvor::ReadFileTags(path, info);
    const kalvor::FileTags written = ForOutput(found, piece);
    for (const auto* blocks : {&written.Leading, &written.Trailing})
        for (const kalvor::TagBlock& block : *blocks) CheckFoundWhole(block);

    // The whole file as one block of the chosen kind: TagLib's readers on any
    // bytes. A block it rewrites must be found whole as well.
    static constexpr TagKind kKinds[] = {TagKind::Id3v2, TagKind::Apev2, TagKind::Id3v1, TagKind::Lyrics3};
    const TagKind kind = kKinds[(choices >> 1) & 3];
    kalvor::FileTags raw;
    (kind == TagKind::Id3v2 ? raw.Leading : raw.Trailing).push_back({kind, bytes});
    const kalvor::FileTags rewritten = ForOutput(raw, piece);
    for (const auto* blocks : {&rewritten.Leading, &rewritten.Trailing})
        for (const kalvor::TagBlock& block : *blocks) {
            Require(block.Kind == kind, "a block keeps its kind");
            if (block.Bytes != bytes) CheckFoundWhole(block);
        }
    return 0;
}
