#pragma once
// Writing the list: one built file of all ranges (build mode) or one file per
// piece between the split points (split mode), made only of whole frames copied
// from the document's current file. The document and the list stay as they are.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "listwin/list_output_result.h"
#include "listwin/list_rows.h"
#include "mpeg/audio_bound.h"
#include "mpeg/audio_time_scale.h"
#include "mpeg/file_tags.h"
#include "mpeg/stream_info.h"
#include "mpeg/tag_rewriter.h"

namespace kalvor {

// What the output needs to know of the open document.
struct ListDocument {
    std::string CurFile;                    // the file the audio is read from
    std::string OrgFile;                    // the file the user opened
    std::vector<std::string> WorkingFiles;  // UndoFile, TempFile, ClipFile, WorkFile
    StreamInfo Info;                        // CurFile's analysis
    std::int32_t DurationMs = 0;
    // With a rewriter, the opened file's tags go around each written file's
    // audio (and Info's audio ends before CurFile's trailing tags); without
    // one, files are written as audio only.
    const TagRewriter* Rewriter = nullptr;
    FileTags Tags;

    AudioTimeScale TimeScale() const { return AudioTimeScale::Of(Info, DurationMs); }
    AudioBound Bound() const { return Rewriter ? AudioBound::BeforeTags : AudioBound::AtAnalysis; }
};

// Called after each row (build) or piece (split) with the count done and the total.
using ListProgress = std::function<void(int done, int total)>;

// The name of split piece number (1-based): the output's folder, separator and
// base name, " - ", the number with at least two digits, then its dot and
// extension: "/audio/live.mp3" gives "/audio/live - 01.mp3"; "live" gives "live - 01".
std::string SplitPieceName(const std::string& outputName, int number);

// Writes the list's rows to outputName (build) or to its pieces (split: N rows
// give N + 1 pieces; the output name itself is not written).
//
// Every file is written beside its name and moved into place once finished,
// so an existing file is replaced whole or not at all, and a file that fails,
// or a program killed half-way, leaves no unfinished file under a target's name.
//
// Build: the output is replaced (an output that may not be replaced stops
// before anything is written); the rows' ranges are appended in list order, each
// snapped to frames; a range whose To is not after its From adds nothing.
// Split: piece 1 starts at the first frame and the last piece ends at the last
// audio byte, so leading and trailing tags are in no piece; adjacent pieces meet
// at the same snapped frame, so together they hold exactly the document's audio.
// An existing piece file is replaced; one that may not be replaced stops the
// output with nothing more written. A piece between two points that fall on the
// same frame is empty and is not written, as is one that holds a header frame
// and no audio frame (a build of nothing but that fails as empty).
//
// A target that is the document's own file (CurFile or OrgFile) or one of its
// working files is refused before anything is written. A copy or a finishing
// that fails stops the output; its unfinished file is removed, files finished
// before it stay.
// Every finished file has its leading "Xing"/"Info" header brought up to date.
// With the document's tags, each file gets them around its audio: a piece with
// its number n/N, every file with its own length where the tags state one.
ListOutputResult WriteListOutput(const ListRows& rows, const ListDocument& document, const std::string& outputName,
                                 const ListProgress& progress = {});

}  // namespace kalvor
