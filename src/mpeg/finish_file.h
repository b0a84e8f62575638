#pragma once
// Bringing a freshly written file's leading "Xing"/"Info" header up to date.
// Every file kalvor writes is made of copied frames, so a header frame copied
// from the front of a source still describes the source: its frame count, byte
// count and table of contents would make players and this editor's own analysis
// take the old length. FinishWrittenFile puts the real figures in.
#include <string>

namespace kalvor {

// Call once on every file kalvor has finished writing from frames (a new version
// before it becomes the current file, the clipboard, a written selection, every
// split piece, a built file). When the file's first frame holds a "Xing"/"Info"
// header, its frame and byte counts, table of contents and LAME extension (music
// length, music CRC, tag CRC) are set to the file's real ones; the encoder delay
// is kept and, when endOfAudioCut (the file does not end with its source's last
// audio frame), the end padding becomes 0. Only bytes of that header frame are
// rewritten, in place; a file without such a header is not touched: a header is
// never inserted and the file's length never changes.
// Returns 1 when the header (or its absence) is consistent with the frames
// afterwards, 0 when the file cannot be analysed, read or written.
int FinishWrittenFile(const std::string& path, bool endOfAudioCut);

}  // namespace kalvor
