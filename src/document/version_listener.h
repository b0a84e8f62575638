#pragma once
// What the document tells whoever keeps something per version of its file
// (the audio levels): which file was opened, and what each new version and the
// clipboard are made of. Every version an edit writes is a few byte ranges of
// other files copied one after the other, so whatever was known of those
// ranges holds for the new version, moved; only the places where two ranges
// meet are new. (Where they meet, the frames may have been rewritten, and a
// header frame left out or put in: a listener finds each piece in the file.)
#include <cstdint>
#include <string>
#include <vector>

#include "mpeg/stream_info.h"

namespace kalvor {

// Where the bytes of a piece came from.
enum class PieceSource {
    Current,  // the current version (before the edit)
    Clip,     // the clipboard
    File,     // a file from outside the document (paste from a file)
};

// Length bytes of a source from its 0-based offset SourceOffset.
struct VersionPiece {
    PieceSource Source = PieceSource::Current;
    std::int64_t SourceOffset = 0;
    std::int64_t Length = 0;
};

class VersionListener {
   public:
    virtual ~VersionListener() = default;

    // A new document: path is its file, info the analysis of it.
    virtual void Opened(const std::string& path, const StreamInfo& info) = 0;
    // The document was closed (or what was opened is no MPEG audio).
    virtual void Closed() = 0;
    // The clipboard file at path now holds pieces, in order (none: it is empty).
    virtual void ClipChanged(const std::string& path, const std::vector<VersionPiece>& pieces) = 0;
    // An edit made the file at path the current version, out of pieces in order
    // from its first byte (none: all audio was deleted). The version before it
    // is kept for undo; the one kept before that is gone.
    virtual void VersionMade(const std::string& path, const std::vector<VersionPiece>& pieces) = 0;
    // Undo: the current version and the one kept for undo changed places.
    virtual void VersionsSwapped() = 0;
};

}  // namespace kalvor
