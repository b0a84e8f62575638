#include "levels/piece_finder.h"

#include <algorithm>
#include <vector>

#include "levels/level_set.h"
#include "levels/shared_file.h"

namespace kalvor {
namespace {

// The bytes looked for: a frame's header, side information and the start of
// its data, which differ from frame to frame but for digital silence.
constexpr std::int64_t kProbeBytes = 256;
// A probe stays this far from the piece's ends, beyond what a writer rewrites.
constexpr std::int64_t kProbeMargin = 16 * 1024;

std::vector<std::uint8_t> Read(const SharedFile& file, std::int64_t from, std::int64_t to) {
    from = std::max<std::int64_t>(from, 0);
    to = std::min(to, file.Size());
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(std::max<std::int64_t>(to - from, 0)));
    const std::int64_t got = bytes.empty() ? 0 : file.ReadAt(bytes.data(), bytes.size(), from);
    bytes.resize(static_cast<std::size_t>(std::max<std::int64_t>(got, 0)));
    return bytes;
}

// Where pattern occurs in file within kSearchBytes of around: the one offset,
// or nothing when it occurs there never or more than once.
std::optional<std::int64_t> OnlyPlace(const SharedFile& file, std::int64_t around,
                                      const std::vector<std::uint8_t>& pattern) {
    const std::int64_t from = std::max<std::int64_t>(around - kSearchBytes, 0);
    const std::vector<std::uint8_t> window = Read(file, from, around + kSearchBytes + kProbeBytes);
    std::optional<std::int64_t> found;
    for (auto at = window.begin();; ++at) {
        at = std::search(at, window.end(), pattern.begin(), pattern.end());
        if (at == window.end()) return found;
        if (found) return std::nullopt;
        found = from + (at - window.begin());
    }
}

}  // namespace

std::optional<std::int64_t> FindPiece(const PieceToFind& piece, const SharedFile& made) {
    if (piece.Levels == nullptr || piece.Source == nullptr || piece.Length < 2 * kProbeMargin + kProbeBytes) {
        return std::nullopt;
    }
    // A few frames spread over the middle, in case one is silence.
    for (const int eighth : {4, 3, 5, 2, 6}) {
        const std::int64_t probe = piece.Levels->FrameNear(piece.SourceOffset + piece.Length * eighth / 8);
        if (probe < piece.SourceOffset + kProbeMargin ||
            probe + kProbeBytes > piece.SourceOffset + piece.Length - kProbeMargin) {
            continue;
        }
        const std::vector<std::uint8_t> pattern = Read(*piece.Source, probe, probe + kProbeBytes);
        if (static_cast<std::int64_t>(pattern.size()) != kProbeBytes) continue;
        if (OnlyPlace(*piece.Source, probe, pattern) != probe) continue;
        const std::optional<std::int64_t> at = OnlyPlace(made, piece.Expected + (probe - piece.SourceOffset), pattern);
        if (at) return *at - (probe - piece.SourceOffset);
    }
    return std::nullopt;
}

}  // namespace kalvor
