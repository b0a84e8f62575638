#pragma once
// Where a piece of a new version lies in its file. An edit writes a version as
// byte ranges of other files one after the other, but a writer may rewrite the
// frames where two ranges meet (changing their sizes), leave out a header frame
// a range starts with, or put one in front of the file: the place the ranges'
// lengths give can be off by a few frames. A piece is found by some bytes from
// its middle, which it copied unchanged and which occur only once around there.
#include <cstdint>
#include <optional>

namespace kalvor {

class LevelSet;
class SharedFile;

struct PieceToFind {
    const LevelSet* Levels = nullptr;  // the source's levels, for the frames to look for
    const SharedFile* Source = nullptr;
    std::int64_t SourceOffset = 0;
    std::int64_t Length = 0;
    std::int64_t Expected = 0;  // where the lengths of the pieces before it place it
};

// The offset in made where the piece's first byte would lie, found within
// kSearchBytes of where it is expected; nothing when the piece is too short to
// be found by its middle or no unambiguous bytes of it are there.
std::optional<std::int64_t> FindPiece(const PieceToFind& piece, const SharedFile& made);

inline constexpr std::int64_t kSearchBytes = 64 * 1024;

}  // namespace kalvor
