// The edit commands of the document: copy, delete, cut, paste, paste from a
// file, write the selection to a file, undo and select all.
#include <fstream>

#include "document/analysis_message.h"
#include "document/command_scope.h"
#include "document/document.h"
#include "document/messages.h"
#include "mpeg/FCT_mpeg.h"
#include "mpeg/FCTs.h"
#include "mpeg/frames_duration.h"
#include "mpeg/stream_analysis.h"
#include "mpeg/stream_compat.h"
#include "repack/frame_output.h"
#include "services/arith.h"
#include "services/basic.h"
#include "services/c_file.h"
#include "services/fault_trap.h"
#include "services/pending_file.h"

namespace kalvor {
namespace {

// Near the ends of the audio an edit goes all the way: the audio before the
// selection is kept only when SelStart, counted from the first frame (a leading
// tag is no audio), is beyond 300; the audio after it only when SelEnd + 300 <
// the last audio byte; a copy ending within 200 bytes of the last byte runs to it.
constexpr std::int32_t kEdgeBytes = 300;
constexpr std::int32_t kCopyToEndBytes = 200;

// Whether an edit of sel keeps the audio before it, and the audio after it.
bool KeepsHead(const AudioTimeScale& scale, const Selection& sel) {
    return scale.AudioOffset(sel.SelStart) > kEdgeBytes;
}
bool KeepsTail(const StreamInfo& info, const Selection& sel) {
    return WrapAdd(sel.SelEnd, kEdgeBytes) < info.AudioEndPos;
}

// A range with nothing in it is no failure; any other fault spoils the result.
bool CopyFailed(const CopyOutcome& outcome) {
    return !outcome.Ok() && outcome.Fault != CopyFault::EmptyRange;
}

const char* FailureText(const CopyOutcome& outcome) {
    switch (outcome.Fault) {
        case CopyFault::AnalysisFailed:
        case CopyFault::SourceUnreadable:
        case CopyFault::SourceEnded: return msg::kReadFailed;
        default: return msg::kWriteFailed;
    }
}

bool CreateEmptyFile(const std::string& path) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    return static_cast<bool>(file);
}

}  // namespace

int Document::Copy() {
    CommandScope scope(*this);
    if (scope.Refused() || RequireSelection() != 1) return 0;
    scope.Busy();
    return Trapped(0, [&] {
        const Selection sel = Sel;
        Say(msg::kCopying);
        const std::int32_t last = info_.AudioEndPos;
        const bool toLast = sel.SelEnd >= WrapSub(last, kCopyToEndBytes);
        if (CopyToClip(sel, toLast ? last : sel.SelEnd, toLast ? 0 : 1) != 1) return 0;
        Say(msg::kDone);
        return 1;
    });
}

int Document::Delete() {
    return DeleteOrCut(false);
}
int Document::Cut() {
    return DeleteOrCut(true);
}

int Document::DeleteOrCut(bool cut) {
    CommandScope scope(*this);
    if (scope.Refused() || RequireSelection() != 1) return 0;
    // An edit leaves a one-byte selection where it was made, so a second press
    // of Delete lands here; removing nothing, it must not take the first edit's
    // undo, nor, for a cut, its clip.
    if (!RemovesAFrame(Sel)) {
        Say(msg::kNotSelected);
        return 0;
    }
    scope.Busy();
    return Trapped(0, [&] {
        const Selection sel = Sel;
        ResetGraph();
        if (cut) {
            Say(msg::kCutting);
            if (CopyToClip(sel, sel.SelEnd, 1) != 1) {
                RollBack(blocks_, sel);
                return 0;
            }
        } else {
            Say(msg::kDeleting);
        }
        const BlockList before = blocks_;
        blocks_.SaveBlocks();
        blocks_.ShiftBlocks(ShiftMode::Removed, sel);
        if (BuildVersion({sel, {}, {}}) != 1) {
            RollBack(before, sel);
            return 0;
        }
        Sel.SelEnd = sel.SelStart;
        Sel.SelLength = 1;
        blocks_.AddBlock(sel.SelStart, 0);
        return CommitVersion(before, sel);
    });
}

bool Document::RemovesAFrame(const Selection& sel) const {
    if (info_.AudioLength <= 0) return false;
    // A version that cannot be read is left to the edit, which reports it.
    if (!FileHandle(OpenUnbuffered(curFile_, "rb"))) return true;
    // The removed audio runs from the frame at or after SelStart to the one at
    // or after SelEnd, or to the end of the audio where the edge rule says.
    const std::int32_t from =
        KeepsHead(TimeScale(), sel) ? SnapToFrame(curFile_, sel.SelStart, info_) : info_.FirstFramePos;
    const std::int32_t to =
        KeepsTail(info_, sel) ? SnapToFrame(curFile_, sel.SelEnd, info_) : WrapAdd(info_.AudioEndPos, 1);
    return from < 1 || to < 1 || from < to;
}

int Document::CopyToClip(const Selection& sel, std::int32_t to, int snapTo) {
    // The clip is built in WorkFile (free between edits), so a failed copy keeps
    // the old clipboard.
    RemoveFile(files_.WorkFile);
    FrameOutput clip(files_.WorkFile, OutputKind::Edited);
    const CopyOutcome outcome = Written(clip, clip.Append(curFile_, sel.SelStart, to, 1, snapTo, Bound()));
    if (CopyFailed(outcome)) {
        RemoveFile(files_.WorkFile);
        Say(FailureText(outcome));
        return 0;
    }
    // A clip whose header is left stale is no clip: the old one stays.
    if (outcome.BytesAppended > 0 && clip.Finish(snapTo == 1 && EndOfAudioCutAt(to)) != 1) {
        RemoveFile(files_.WorkFile);
        Say(msg::kWriteFailed);
        return 0;
    }
    std::vector<VersionPiece> pieces;
    if (outcome.BytesAppended == 0 || HoldsOnlyAHeaderFrame(files_.WorkFile)) {
        // Not one whole frame selected: the clipboard is now empty.
        RemoveFile(files_.WorkFile);
        if (RemoveFile(files_.ClipFile) != 1) {
            Say(msg::kWriteFailed);
            return 0;
        }
    } else {
        if (RenameFile(files_.WorkFile, files_.ClipFile, true) != 1) {
            RemoveFile(files_.WorkFile);
            Say(msg::kWriteFailed);
            return 0;
        }
        pieces.push_back({PieceSource::Current, outcome.From - 1, outcome.BytesAppended});
    }
    if (versions_) versions_->ClipChanged(files_.ClipFile, pieces);
    blocks_.CollectClipBlocks(sel);
    return 1;
}

int Document::PasteFrom(const std::string& path, bool fromClip) {
    CommandScope scope(*this);
    if (scope.Refused()) return 0;
    return Trapped(0, [&] {
        if (GetFileSize64(path) <= 0) {
            Say(msg::kNoData);
            return 0;
        }
        if (!IsOpen()) {
            scope.Busy();
            return OpenPath(path);
        }
        EditPlan plan{Sel, path, {}, fromClip ? PieceSource::Clip : PieceSource::File};
        // A tagged file's audio only: its tags are not the document's.
        const AnalysisResult analysis = AnalyzeAudio(path, plan.bodyInfo, Bound());
        if (!analysis.Ok()) {
            Say(AnalysisFailureMessage(analysis));
            return 0;
        }
        // Frames of another format would make a stream no player reads through;
        // an empty document takes any.
        if (info_.AudioLength > 0 && !StreamFormatsMatch(info_, plan.bodyInfo)) {
            Say(msg::kFormatMismatch);
            return 0;
        }
        scope.Busy();
        const Selection& sel = plan.sel;
        ResetGraph();
        const BlockList before = blocks_;
        blocks_.SaveBlocks();
        Say(msg::kPasting);
        if (sel.SelLength != 0) blocks_.ShiftBlocks(ShiftMode::Removed, sel);
        if (BuildVersion(plan) != 1) {
            RollBack(before, sel);
            return 0;
        }
        // The new selection covers the inserted frames as the version holds
        // them: not the source's tags, nor a header frame left out, and past a
        // header frame put in front. The version's audio starts at its first
        // byte, where the document's starts at FirstFramePos.
        const auto size = static_cast<std::int32_t>(builtBody_.Bytes);
        Sel.SelStart =
            builtBody_.At >= 0 ? WrapAdd(info_.FirstFramePos, static_cast<std::int32_t>(builtBody_.At)) : sel.SelStart;
        Sel.SelEnd = WrapAdd(Sel.SelStart, size);
        Sel.SelLength = WrapAdd(size, 1);
        blocks_.ShiftBlocks(ShiftMode::Inserted, Sel);
        blocks_.AddBlock(Sel.SelStart, Sel.SelEnd);
        if (fromClip) blocks_.InsertClipBlocks(Sel.SelStart);
        return CommitVersion(before, sel);
    });
}

int Document::Paste() {
    return PasteFrom(files_.ClipFile, true);
}

int Document::PasteFromFile(const std::string& path) {
    if (path.empty()) return 0;
    return PasteFrom(path, false);
}

int Document::BuildVersion(const EditPlan& plan) {
    const Selection& sel = plan.sel;
    const std::string& work = files_.WorkFile;
    RemoveFile(work);
    FrameOutput version(work, OutputKind::Edited);
    CopyOutcome head, body, tail, written;
    // The head ends before the first frame at or after SelStart: exactly the
    // frames a cut puts on the clipboard go, and an insertion loses none.
    if (KeepsHead(TimeScale(), sel)) head = version.Append(curFile_, info_.FirstFramePos, sel.SelStart, 0, 1, Bound());
    std::size_t bodyIndex = 0;
    if (!CopyFailed(head) && !plan.body.empty()) {
        const StreamInfo& in = plan.bodyInfo;
        bodyIndex = version.RangesTaken();
        body = version.Append(plan.body, in.FirstFramePos, WrapSub(WrapAdd(in.FirstFramePos, in.AudioLength), 1), 0, 0);
    }
    if (!CopyFailed(head) && !CopyFailed(body) && KeepsTail(info_, sel)) {
        tail = version.Append(curFile_, sel.SelEnd, info_.AudioEndPos, 1, 0, Bound());
    }
    if (!CopyFailed(head) && !CopyFailed(body) && !CopyFailed(tail)) written = version.Write();
    for (const CopyOutcome* outcome : {&head, &body, &tail, &written}) {
        if (!CopyFailed(*outcome)) continue;
        RemoveFile(work);
        Say(FailureText(*outcome));
        return 0;
    }
    builtPieces_.clear();
    for (const auto& [outcome, source] : {std::pair{&head, PieceSource::Current}, std::pair{&body, plan.bodySource},
                                          std::pair{&tail, PieceSource::Current}}) {
        if (outcome->BytesAppended > 0) builtPieces_.push_back({source, outcome->From - 1, outcome->BytesAppended});
    }
    // The body ends where the tail starts, or with the written frames. Joins may
    // have rewritten the frames around it at other sizes.
    builtBody_ = {-1, body.BytesAppended};
    if (const std::int64_t at = version.WrittenAt(bodyIndex), end = version.WrittenAt(bodyIndex + 1);
        body.BytesAppended > 0 && at >= 0 && end > at)
        builtBody_ = {at, end - at};
    // A leading Xing/Info frame comes from the document unless the head is gone
    // and the body leads; the new version's end is cut when it is not the last
    // audio of the file that header came from.
    const bool headerFromBody = head.BytesAppended == 0 && body.BytesAppended > 0;
    const bool endOfAudioCut = headerFromBody ? tail.BytesAppended > 0 : tail.BytesAppended == 0;
    // A version whose header could not be brought up to date fails the edit
    // like a failed write: players would take it for its source's length.
    if (FileExists(work) == 1 && version.Finish(endOfAudioCut) != 1) {
        RemoveFile(work);
        Say(msg::kWriteFailed);
        return 0;
    }
    // No audio frame left after the header frame: the version is empty, as when
    // all audio is deleted.
    if (FileExists(work) == 1 && HoldsOnlyAHeaderFrame(work)) {
        RemoveFile(work);
        builtPieces_.clear();
    }
    return 1;
}

int Document::CommitVersion(const BlockList& before, const Selection& sel) {
    const std::string& work = files_.WorkFile;
    if (FileExists(work) != 1 && !CreateEmptyFile(work)) {
        // All audio was deleted: the new version is an empty file.
        Say(msg::kWriteFailed);
        RollBack(before, sel);
        return 0;
    }
    if (FileHand() != 1) {
        Say(msg::kWriteFailed);
        RollBack(before, sel);
        return 0;
    }
    if (versions_) versions_->VersionMade(curFile_, builtPieces_);
    // The new version holds no leading tag: the selection and the marks stay on
    // their audio.
    const std::int32_t moved = LoadVersion(curFile_);
    Sel.Move(moved);
    blocks_.MoveBlocks(moved);
    NotifyLoaded(LoadReason::Edit);
    Say(msg::kDone);
    return 1;
}

void Document::RollBack(const BlockList& before, const Selection& sel) {
    blocks_ = before;
    Sel = sel;
    RemoveFile(files_.WorkFile);
    // The player was let go of the current version; give it back.
    LoadCurrent(curFile_);
    NotifyLoaded(LoadReason::Reload);
}

bool Document::EndOfAudioCutAt(std::int32_t to) const {
    return SnapToFrame(curFile_, to, info_) <= info_.AudioEndPos;
}

int Document::WriteToFile(const std::string& path) {
    CommandScope scope(*this);
    if (scope.Refused() || RequireSelection() != 1 || path.empty()) return 0;
    const std::string name = EnsureExtension(path, fileExt_);
    if (IsOwnFile(name)) {
        Say(msg::kOwnFile);
        return 0;
    }
    scope.Busy();
    return Trapped(0, [&] { return WriteSelection(name); });
}

int Document::WriteSelection(const std::string& name) {
    const Selection sel = Sel;
    Say(msg::kWriting);
    PendingFile file(name);
    if (!file.TargetReplaceable()) {
        Say(msg::kWriteFailed);
        return 0;
    }
    // The selection's whole frames, with the document's tags around them.
    const FileTags tags = OutputTags([&] {
        const std::int32_t to = WrapSub(SnapToFrame(curFile_, sel.SelEnd, info_), 1);
        return FramesDurationMs(curFile_, info_, SnapToFrame(curFile_, sel.SelStart, info_), to);
    });
    if (!AppendTagBlocks(file.Path(), tags.Leading)) {
        Say(msg::kWriteFailed);
        return 0;
    }
    FrameOutput piece(file.Path(), OutputKind::Piece, tags.LeadingSize());
    const CopyOutcome outcome = Written(piece, piece.Append(curFile_, sel.SelStart, sel.SelEnd, 1, 1, Bound()));
    if (CopyFailed(outcome)) {
        Say(FailureText(outcome));
        return 0;
    }
    if (outcome.BytesAppended == 0) {
        Say(msg::kNoData);
        return 0;
    }
    if (piece.Finish(EndOfAudioCutAt(sel.SelEnd)) != 1) {
        Say(msg::kWriteFailed);
        return 0;
    }
    if (HoldsOnlyAHeaderFrame(file.Path())) {
        Say(msg::kNoData);
        return 0;
    }
    if (!AppendTagBlocks(file.Path(), tags.Trailing) || file.Commit() != 1) {
        Say(msg::kWriteFailed);
        return 0;
    }
    Say(msg::kDone);
    return 1;
}

int Document::Undo() {
    CommandScope scope(*this);
    if (scope.Refused()) return 0;
    scope.Busy();
    return Trapped(0, [&] {
        ResetGraph();
        int moved = 1;
        if (FileExists(files_.UndoFile) == 1) {
            moved = files_.SwapTempAndUndo();
            if (moved == 1) curFile_ = files_.TempFile;
        } else {
            // The previous version is the opened file; the edit waits in UndoFile.
            if (FileExists(files_.TempFile) == 1) moved = RenameFile(files_.TempFile, files_.UndoFile, true);
            if (moved == 1) curFile_ = orgFile_;
        }
        // The selection stays on its audio; the marks swap in with their version.
        Sel.Move(LoadVersion(curFile_));
        if (moved != 1) {
            NotifyLoaded(LoadReason::Reload);
            Say(msg::kWriteFailed);
            return 0;
        }
        blocks_.SwapBlocks();
        if (versions_) versions_->VersionsSwapped();
        NotifyLoaded(LoadReason::Undo);
        Say(msg::kUndone);
        return 1;
    });
}

void Document::SelectAll() {
    CommandScope scope(*this);
    if (scope.Refused()) return;
    Sel.SelectAll(TimeScale());
    UpdateSelectionMs();
    if (sink_) sink_->SelectionChanged();
}

}  // namespace kalvor
