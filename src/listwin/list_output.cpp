#include "listwin/list_output.h"

#include "listwin/time_text_pos.h"
#include "mpeg/FCTs.h"
#include "mpeg/frames_duration.h"
#include "mpeg/stream_analysis.h"
#include "repack/frame_output.h"
#include "services/arith.h"
#include "services/basic.h"
#include "services/fault_trap.h"
#include "services/pending_file.h"

namespace kalvor {
namespace {

// One range of the output, as a copy takes it.
struct Range {
    std::int32_t From = 0, To = 0;
    int SnapFrom = 1, SnapTo = 1;
};

class OutputWriter {
   public:
    OutputWriter(const ListDocument& document, const ListProgress& progress, ListOutputResult& result)
        : doc_(document), progress_(progress), result_(result) {}

    // Whether every target may be written; false (with the fault) when one is
    // missing or is one of the document's files.
    bool Accepts(const std::vector<std::string>& targets) {
        for (const auto& target : targets) {
            if (target.empty()) return Stop(ListOutputFault::NoName);
            if (SamePath(target, doc_.CurFile) || SamePath(target, doc_.OrgFile))
                return Stop(ListOutputFault::OwnFile, target);
            for (const auto& work : doc_.WorkingFiles)
                if (SamePath(target, work)) return Stop(ListOutputFault::WorkingFile, target);
        }
        return true;
    }

    // False (with the fault) when an existing target may not be replaced.
    bool Replaceable(const std::string& target, const PendingFile& file) {
        if (!file.TargetReplaceable()) return Stop(ListOutputFault::CannotReplace, target);
        return true;
    }

    // Appends a range to the file being written; an empty one appends nothing
    // and is no failure. A failed copy stops the output: the unfinished file
    // is removed with its PendingFile, since half a frame may end it.
    bool Append(const std::string& target, FrameOutput& output, const Range& r, bool& wrote) {
        const CopyOutcome outcome = output.Append(doc_.CurFile, r.From, r.To, r.SnapFrom, r.SnapTo, doc_.Bound());
        if (outcome.Fault == CopyFault::EmptyRange) return true;
        if (!outcome.Ok()) {
            result_.Copy = outcome;
            return Stop(ListOutputFault::CopyFailed, target);
        }
        wrote = wrote || outcome.BytesAppended > 0;
        return true;
    }

    // The first and last byte the copy of r takes, once snapped.
    std::int32_t FirstByte(const Range& r) const {
        return r.SnapFrom == 1 ? SnapToFrame(doc_.CurFile, r.From, doc_.Info) : r.From;
    }
    std::int32_t LastByte(const Range& r) const {
        return r.SnapTo == 1 ? WrapSub(SnapToFrame(doc_.CurFile, r.To, doc_.Info), 1) : r.To;
    }

    // Whether the copy of r stops before the document's last audio byte: only
    // then does the written file lack the stream's true last frame.
    bool EndsBeforeAudioEnd(const Range& r) const { return LastByte(r) < doc_.Info.AudioEndPos; }

    // The tags of a file made of ranges: piece n of N, or 0 of 0 for a build.
    FileTags TagsFor(const std::vector<Range>& ranges, int piece, int pieces) const {
        if (!doc_.Rewriter || doc_.Tags.Empty()) return {};
        OutputFacts facts{[&] {
                              std::int32_t ms = 0;
                              for (const Range& r : ranges)
                                  ms += FramesDurationMs(doc_.CurFile, doc_.Info, FirstByte(r), LastByte(r));
                              return ms;
                          },
                          piece, pieces};
        return doc_.Rewriter->ForOutput(doc_.Tags, facts);
    }

    // The file being written starts with the leading tags.
    bool Begin(const std::string& target, const PendingFile& file, const FileTags& tags) {
        if (AppendTagBlocks(file.Path(), tags.Leading)) return true;
        // Nothing is written yet: the destination itself cannot be written (a
        // missing or read-only folder), and says so as it does without tags.
        result_.Copy.Fault = CopyFault::DestinationUnwritable;
        return Stop(ListOutputFault::CopyFailed, target);
    }

    // Writes the ranges taken and brings the file's header up to date. A file
    // that fails is removed with its PendingFile: only finished files ever
    // appear under a target's name.
    bool Complete(const std::string& target, FrameOutput& output, bool endOfAudioCut) {
        const CopyOutcome written = output.Write();
        if (!written.Ok()) {
            result_.Copy = written;
            return Stop(ListOutputFault::CopyFailed, target);
        }
        if (output.Finish(endOfAudioCut) != 1) return Stop(ListOutputFault::HeaderNotUpdated, target);
        return true;
    }

    // Ends the completed file with the trailing tags and moves it into place.
    bool Commit(const std::string& target, PendingFile& file, const FileTags& tags) {
        if (!AppendTagBlocks(file.Path(), tags.Trailing)) return Stop(ListOutputFault::TagsNotWritten, target);
        if (file.Commit() != 1) return Stop(ListOutputFault::NotMovedIntoPlace, target);
        result_.Written.push_back(target);
        return true;
    }

    void Progress(int done, int total) const {
        if (progress_) progress_(done, total);
    }

    bool Stop(ListOutputFault fault, const std::string& file = {}) {
        result_.Fault = fault;
        result_.File = file;
        return false;
    }

    const ListDocument& Document() const { return doc_; }
    bool WroteAny() const { return !result_.Written.empty(); }

   private:
    const ListDocument& doc_;
    const ListProgress& progress_;
    ListOutputResult& result_;
};

Range RowRange(const ListRows& rows, int row, const ListDocument& doc) {
    const auto pos = [&](int column) { return TimeTextToBytePos(rows.Cell(row, column), doc.TimeScale()); };
    return {pos(kFromColumn), pos(kToColumn), 1, 1};
}

bool WriteBuild(const ListRows& rows, const std::string& output, OutputWriter& w) {
    if (!w.Accepts({output})) return false;
    PendingFile file(output);
    if (!w.Replaceable(output, file)) return false;
    std::vector<Range> ranges;
    for (int i = 0; i < rows.Count(); ++i) ranges.push_back(RowRange(rows, i, w.Document()));
    const FileTags tags = w.TagsFor(ranges, 0, 0);
    if (!w.Begin(output, file, tags)) return false;
    FrameOutput built(file.Path(), OutputKind::Piece, tags.LeadingSize());
    bool wrote = false, endOfAudioCut = true;
    for (int i = 0; i < rows.Count(); ++i) {
        const Range& r = ranges[static_cast<std::size_t>(i)];
        bool rowWrote = false;
        if (!w.Append(output, built, r, rowWrote)) return false;
        // The file's end is the end of the last range that added anything.
        if (rowWrote) endOfAudioCut = w.EndsBeforeAudioEnd(r);
        wrote = wrote || rowWrote;
        w.Progress(i + 1, rows.Count());
    }
    if (!wrote) return w.Stop(ListOutputFault::NothingWritten);
    if (!w.Complete(output, built, endOfAudioCut)) return false;
    // Ranges that held a header frame and no audio frame wrote no audio either.
    if (HoldsOnlyAHeaderFrame(file.Path())) return w.Stop(ListOutputFault::NothingWritten);
    return w.Commit(output, file, tags);
}

// Piece k (1-based) of a split at the rows' points.
Range PieceRange(const ListRows& rows, int k, const ListDocument& doc) {
    const auto loc = [&](int row) { return TimeTextToBytePos(rows.Cell(row, kLocColumn), doc.TimeScale()); };
    Range r;
    if (k == 1) {
        r.From = doc.Info.FirstFramePos;
        r.SnapFrom = 0;
    } else {
        r.From = loc(k - 2);
    }
    if (k == rows.Count() + 1) {
        r.To = doc.Info.AudioEndPos;
        r.SnapTo = 0;
    } else {
        r.To = loc(k - 1);
    }
    return r;
}

bool WriteSplit(const ListRows& rows, const std::string& output, OutputWriter& w) {
    const int pieces = rows.Count() + 1;
    std::vector<std::string> names;
    for (int k = 1; k <= pieces; ++k) names.push_back(SplitPieceName(output, k));
    if (!w.Accepts(names)) return false;
    for (int k = 1; k <= pieces; ++k) {
        const std::string& name = names[static_cast<std::size_t>(k - 1)];
        const Range r = PieceRange(rows, k, w.Document());
        bool wrote = false;
        PendingFile file(name);
        if (!w.Replaceable(name, file)) return false;
        const FileTags tags = w.TagsFor({r}, k, pieces);
        if (!w.Begin(name, file, tags)) return false;
        FrameOutput piece(file.Path(), OutputKind::Piece, tags.LeadingSize());
        if (!w.Append(name, piece, r, wrote)) return false;
        if (wrote) {
            if (!w.Complete(name, piece, w.EndsBeforeAudioEnd(r))) return false;
            // A piece of a header frame and no audio frame is empty too.
            if (!HoldsOnlyAHeaderFrame(file.Path()) && !w.Commit(name, file, tags)) return false;
        }
        w.Progress(k, pieces);
    }
    // Only a document whose audio is a header frame alone has no piece to write.
    return w.WroteAny() || w.Stop(ListOutputFault::NothingWritten);
}

}  // namespace

std::string SplitPieceName(const std::string& outputName, int number) {
    // The folder is kept as written, separator included: a name without a
    // folder stays relative instead of gaining a separator in front (the root).
    const std::string fileName = FileNameOf(outputName);
    const std::string folder = outputName.substr(0, outputName.size() - fileName.size());
    return folder + BaseNameOf(outputName) + " - " + ListNumberText(number) + ExtensionWithDot(outputName);
}

ListOutputResult WriteListOutput(const ListRows& rows, const ListDocument& document, const std::string& outputName,
                                 const ListProgress& progress) {
    ListOutputResult result;
    result.Fault = ListOutputFault::Unexpected;
    TrappedRun([&] {
        OutputWriter writer(document, progress, result);
        if (rows.Count() == 0) {
            writer.Stop(ListOutputFault::EmptyList);
            return;
        }
        const bool done = rows.Mode() == ListMode::Build ? WriteBuild(rows, outputName, writer)
                                                         : WriteSplit(rows, outputName, writer);
        if (done) result.Fault = ListOutputFault::None;
    });
    return result;
}

}  // namespace kalvor
