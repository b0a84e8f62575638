#pragma once
// Bringing a freshly written file's leading "Xing"/"Info" header up to date.
// Every file kalvor writes is made of copied frames, so a header frame copied
// from the front of a source still describes the source: its frame count, byte
// count and table of contents would make players and this editor's own analysis
// take the old length. FinishWrittenFile puts the real figures in.
#include <string>
#include <thread>
#include <variant>

#include "mpeg/frame_walker.h"
#include "mpeg/xing_audit.h"

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
// The same, with the LAME extension's encoder delay and end padding set to trim.
int FinishWrittenFile(const std::string& path, const GaplessTrim& trim);

// FinishWrittenFile for a file that is being written, with the walk done on a
// second thread while the file grows: made before the first byte is appended
// (the file missing or empty), it follows the writer, so that when the last
// byte is in only the header frame is left to write and the walk costs the
// writer next to nothing. The thread only reads the file.
// It takes the file to begin with a frame at audioOffset, as every file written
// from frames does (after the tags written in front of it, if any); when the
// complete file's analysis says otherwise, Finish falls back to
// FinishWrittenFile. A file whose first frame holds no header is not walked.
class FinishingWalk {
   public:
    explicit FinishingWalk(std::string path, std::int64_t audioOffset = 0);
    // Without Finish, the walk is abandoned: the file is left as written.
    ~FinishingWalk();
    FinishingWalk(const FinishingWalk&) = delete;
    FinishingWalk& operator=(const FinishingWalk&) = delete;

    // The file is complete: what FinishWrittenFile(path, endOfAudioCut) does,
    // with the same result and the same bytes written. Call once.
    int Finish(bool endOfAudioCut);
    // What FinishWrittenFile(path, trim) does.
    int Finish(const GaplessTrim& trim);

    using HeaderRule = std::variant<bool, GaplessTrim>;  // endOfAudioCut, or the trim

   private:
    int FinishWith(const HeaderRule& rule);
    void Follow();
    bool ReadWhenWritten(std::vector<std::uint8_t>& bytes);
    void Stop();

    std::string path_;
    std::int64_t audioOffset_;
    WriteProgress progress_;
    XingAudit audit_;      // the header frame and the walk, filled by the thread
    bool walked_ = false;  // the thread walked the file to its end
    std::thread thread_;
};

}  // namespace kalvor
