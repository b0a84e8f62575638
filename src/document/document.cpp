#include "document/document.h"

#include <utility>

#include "document/analysis_message.h"
#include "document/command_scope.h"
#include "document/messages.h"
#include "document/tagged_copy.h"
#include "mpeg/FCT_mpeg.h"
#include "mpeg/frames_duration.h"
#include "services/arith.h"
#include "services/basic.h"
#include "services/fault_trap.h"
#include "services/leftovers.h"

namespace kalvor {
namespace {

// The playback object may hold a file a moment after it was released.
constexpr std::int32_t kReleaseWaitMs = 150;
constexpr std::int32_t kReleaseSliceMs = 10;

bool IsEmptyFile(const std::string& path) {
    std::int64_t size = -1;
    GetFileSize64(path, &size);
    return size == 0;
}

}  // namespace

Document::Document(std::string workFolder, DocumentSink* sink, Player* player)
    : workFolder_(std::move(workFolder)), sink_(sink), player_(player) {}

Document::~Document() {
    TrappedRun([&] { files_.RemoveAll(); });
}

void Document::Say(const std::string& text) {
    if (sink_) sink_->Message(UiText(msg::kContext, text));
}

void Document::NotifyLoaded(LoadReason reason) {
    UpdateSelectionMs();
    if (sink_) sink_->DocumentLoaded(reason);
}

bool Document::IsOwnFile(const std::string& path) const {
    return SamePath(path, curFile_) || SamePath(path, orgFile_) || files_.Contains(path);
}

int Document::RequireSelection() {
    if (Sel.SelLength > 0) return 1;
    Say(msg::kNotSelected);
    return 0;
}

void Document::ResetGraph() {
    if (!player_) return;
    player_->DropGraph();
    WaitWithEvents(kReleaseWaitMs, kReleaseSliceMs);
    player_->CreateGraph();
}

int Document::InitAll() {
    CommandScope scope(*this);
    if (scope.Refused()) return 0;
    return Trapped(0, [&] {
        ResetState();
        return 1;
    });
}

void Document::ResetState() {
    // The player lets go of the current version first, or it could not be deleted.
    ResetGraph();
    files_.RemoveAll();
    fileExt_ = ".mp3";
    curFile_.clear();
    orgFile_.clear();
    info_ = StreamInfo{};
    durationMs_ = 0;
    tags_ = FileTags{};
    Sel.Clear();
    blocks_.ResetBlocks();
    if (versions_) versions_->Closed();
    if (sink_) sink_->DocumentReset();
}

int Document::OpenFile(const std::string& path) {
    CommandScope scope(*this);
    if (scope.Refused()) return 0;
    scope.Busy();
    return Trapped(0, [&] { return OpenPath(path); });
}

int Document::OpenPath(const std::string& path) {
    const std::string ext = ExtensionWithDot(path);
    const WorkingFiles next = WorkingFiles::For(workFolder_, ext);
    // Editing would delete or overwrite the very file that was opened.
    if (FileExists(path) == 1 && next.Contains(path)) {
        Say(msg::kWorkingName);
        return 0;
    }
    ResetState();
    if (FileExists(path) != 1) return 0;
    fileExt_ = ext;
    orgFile_ = curFile_ = path;
    const int loaded = LoadCurrent(curFile_);
    if (loaded == 1 && tagRewriter_) tags_ = ReadFileTags(path, info_);
    files_ = next;
    for (const std::string* name : {&files_.UndoFile, &files_.TempFile, &files_.ClipFile, &files_.WorkFile})
        NoteTemporaryFile(*name);
    if (versions_ && loaded == 1) versions_->Opened(curFile_, info_);
    NotifyLoaded(LoadReason::Open);
    if (loaded != 1) {
        // Said as the analysis found it: a file too large to open is not "no MPEG audio".
        StreamInfo probe;
        Say(AnalysisFailureMessage(AnalyzeStreamWhy(curFile_, probe)));
    }
    return loaded;
}

int Document::LoadFile(const std::string& path) {
    CommandScope scope(*this);
    if (scope.Refused()) return 0;
    return Trapped(0, [&] {
        const int loaded = LoadCurrent(path);
        NotifyLoaded(LoadReason::Reload);
        return loaded;
    });
}

int Document::LoadCurrent(const std::string& path) {
    ResetGraph();
    if (FileExists(path) != 1) return 0;
    StreamInfo fresh;
    const int analysed = AnalyzeAudio(path, fresh, Bound()).Ok() ? 1 : 0;
    if (analysed == 1) {
        info_ = fresh;
    } else if (IsEmptyFile(path)) {
        // Everything was deleted: an empty document, not the last one's figures.
        info_ = StreamInfo{};
    }
    durationMs_ = info_.DurationMs;
    if (player_) {
        player_->SetFileName(path);
        const std::int32_t length = player_->Length();
        if (length > 0) durationMs_ = length;
    }
    return analysed;
}

int Document::FileHand() {
    return Trapped(0, [&] {
        if (files_.Rotate() != 1) return 0;
        curFile_ = files_.TempFile;
        return 1;
    });
}

int Document::SaveToFile(const std::string& path) {
    CommandScope scope(*this);
    if (scope.Refused()) return 0;
    scope.Busy();
    return Trapped(0, [&] { return SaveCopy(path); });
}

int Document::SaveAs(const std::string& path) {
    CommandScope scope(*this);
    if (scope.Refused() || path.empty() || !IsOpen()) return 0;
    const std::string name = EnsureExtension(path, fileExt_);
    // The opened file is a fine target (the copy Overwrite makes); a working
    // file is not, even when it is the current version.
    if (files_.Contains(name)) {
        Say(msg::kOwnFile);
        return 0;
    }
    scope.Busy();
    return Trapped(0, [&] { return SaveCopy(name); });
}

int Document::Overwrite() {
    CommandScope scope(*this);
    if (scope.Refused() || !IsOpen()) return 0;
    scope.Busy();
    return Trapped(0, [&] { return SaveCopy(orgFile_); });
}

int Document::SaveCopy(const std::string& path) {
    if (path.empty() || curFile_.empty()) return 0;
    // Already the current version: nothing to copy.
    if (SamePath(path, curFile_)) return 1;
    if (files_.Contains(path)) {
        Say(msg::kOwnFile);
        return 0;
    }
    if (KeepUndoReachable() != 1) {
        Say(msg::kWriteFailed);
        return 0;
    }
    // A working file holds audio only; the opened file (or one saved before)
    // already holds its tags and is copied as it is.
    if (tagRewriter_ && !tags_.Empty() && files_.Contains(curFile_)) return SaveTaggedCopy(path);
    // CopyFileTo writes beside the target and renames into place, so an
    // existing file is replaced only by a whole copy.
    if (CopyFileTo(curFile_, path, false) != 1) {
        Say(msg::kWriteFailed);
        return 0;
    }
    curFile_ = orgFile_ = path;
    return 1;
}

// After the first edit the version before it is the opened file itself, and undo
// goes back by name. A save makes the saved file the opened one (and may be
// written over the old one), so that version is kept in UndoFile first, where
// undo finds it as it finds the version before any later edit.
int Document::KeepUndoReachable() {
    const bool previousIsOpened = FileExists(files_.TempFile) == 1 && FileExists(files_.UndoFile) != 1;
    if (!previousIsOpened || FileExists(orgFile_) != 1) return 1;
    return CopyFileTo(orgFile_, files_.UndoFile, true);
}

std::int32_t Document::LoadVersion(const std::string& path) {
    const std::int32_t before = info_.FirstFramePos;
    LoadCurrent(path);
    return WrapSub(info_.FirstFramePos, before);
}

int Document::SaveTaggedCopy(const std::string& path) {
    const FileTags tags =
        OutputTags([&] { return FramesDurationMs(curFile_, info_, info_.FirstFramePos, info_.AudioEndPos); });
    if (CopyWithTags(curFile_, info_, path, tags) != 1) {
        Say(msg::kWriteFailed);
        return 0;
    }
    // The saved file is the tags around the current version's audio. The
    // document goes on reading that audio from the working file, where its
    // positions are the ones the selection and the marks were made in.
    orgFile_ = path;
    return 1;
}

FileTags Document::OutputTags(const std::function<std::int32_t()>& lengthMs) const {
    if (!tagRewriter_ || tags_.Empty()) return {};
    return tagRewriter_->ForOutput(tags_, OutputFacts{lengthMs});
}

}  // namespace kalvor
