#pragma once
// The open document of the main window: the file the user opened, the version
// it is read from now, the working files that carry the versions, the analysis
// of the current version, the selection and the block list; and the commands
// that open, edit, undo and save it.
//
// The opened file is never changed while the user edits. Every edit writes a
// complete new version into WorkFile from up to three ranges (before the
// selection, the inserted audio, after the selection) and then rotates the
// working files; undo is one level deep and toggles. Saving copies the current
// version over a chosen file.
//
// With a tag rewriter set, the document keeps the opened file's tags: its audio
// ends before the trailing tag blocks, and every file written for the user (a
// saved version, a written selection) gets the tags back around its audio. The
// working files, the clipboard and undo stay audio only. Without one, no tag is
// looked at and every file is written as audio only.
//
// Commands report progress and results as message texts (messages.h) to the
// sink. A command that cannot run (nothing selected, no data, a bad source or
// target, a write that failed) says why and changes nothing: neither the
// document nor any file of the user's. One command runs at a time: copies let
// window events run between chunks, and a command started from such an event
// is refused.
#include <cstdint>
#include <functional>
#include <string>

#include "document/block_list.h"
#include "document/document_sink.h"
#include "document/player.h"
#include "document/selection.h"
#include "document/version_listener.h"
#include "document/working_files.h"
#include "mpeg/audio_bound.h"
#include "mpeg/audio_time_scale.h"
#include "mpeg/file_tags.h"
#include "mpeg/stream_info.h"
#include "mpeg/tag_rewriter.h"

namespace kalvor {

class Document {
   public:
    // workFolder holds the working files (the program folder, or the per-user
    // data folder when that is not writable).
    explicit Document(std::string workFolder, DocumentSink* sink = nullptr, Player* player = nullptr);
    ~Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    void SetSink(DocumentSink* sink) { sink_ = sink; }
    void SetPlayer(Player* player) { player_ = player; }
    // Told what each version is made of (the audio levels follow the edits).
    void SetVersionListener(VersionListener* listener) { versions_ = listener; }
    // Keeps tags (through rewriter, which outlives the document) or, with
    // nullptr, not; takes effect from the next open.
    void SetTagRewriter(const TagRewriter* rewriter) { tagRewriter_ = rewriter; }

    // ---- Lifecycle (document.cpp) ----

    // Closes the document: deletes the working files, clears the state, the
    // selection and the block list.
    int InitAll();
    // Closes the current document and opens path. 1 when path is an MPEG audio
    // file now open; 0 otherwise (a path that is no file leaves the document
    // closed; a file that is not MPEG audio stays open with nothing to show).
    int OpenFile(const std::string& path);
    // Analyses path anew as the current version and hands it to the player.
    // A failed analysis keeps the previous StreamInfo, except that an empty file
    // (all audio deleted) is an empty document. 1 when the analysis succeeded.
    int LoadFile(const std::string& path);
    // Drops and recreates the playback object so that no working file is held.
    void ResetGraph();
    // Rotates the working files after an edit has built WorkFile; CurFile
    // becomes TempFile. 1 when done.
    int FileHand();
    // Copies the current version to path and makes it the document's file.
    // Nothing happens when path already is the current version; a working file is
    // refused. An existing file at path is replaced only once the copy is whole.
    // Undo still leads back to the version before the last edit afterwards.
    // When tags are kept and the current version is a working file, path gets
    // the tags around it and becomes OrgFile, while CurFile stays the working
    // file: its positions are the ones the selection and marks were made in.
    int SaveToFile(const std::string& path);
    // Save as: path gets the document's extension when it lacks it; the working
    // files are refused. Onto the opened file it copies as Overwrite does.
    int SaveAs(const std::string& path);
    // Overwrite: the current version replaces the opened file.
    int Overwrite();

    // ---- Edit commands (edit_commands.cpp) ----

    // The selected frames become the clipboard (with the block marks inside
    // the selection); the document does not change.
    int Copy();
    // A new version without the selected frames; the selection becomes a
    // one-byte point at the edit, which gets a point record.
    int Delete();
    // Copy, then delete.
    int Cut();
    // Puts the audio of path in place of the selection (or at SelStart when the
    // selection is empty). fromClip brings the clip marks along. With no
    // document open, path is opened instead.
    int PasteFrom(const std::string& path, bool fromClip);
    int Paste();                                 // from ClipFile
    int PasteFromFile(const std::string& path);  // "" = the dialog was cancelled
    // Writes the selected frames to path (the document's extension is added
    // when missing). "" = cancelled. The window calls RequireSelection before
    // asking for the name.
    int WriteToFile(const std::string& path);
    // The current and the previous version change places (one level, toggling);
    // the selection stays on its audio.
    int Undo();
    void SelectAll();

    // 1 when something is selected; otherwise says so and gives 0.
    int RequireSelection();

    // ---- State ----

    bool IsOpen() const { return !orgFile_.empty(); }
    // True while a command runs (the window also blocks its input then).
    bool Running() const { return running_; }
    // True when path names the opened file, the current version or a working
    // file: such a path is no place to write a copy to.
    bool IsOwnFile(const std::string& path) const;

    const std::string& OrgFile() const { return orgFile_; }
    const std::string& CurFile() const { return curFile_; }
    const std::string& FileExt() const { return fileExt_; }
    const WorkingFiles& Working() const { return files_; }
    const std::string& WorkFolder() const { return workFolder_; }
    const StreamInfo& Info() const { return info_; }
    std::int32_t AudioLength() const { return info_.AudioLength; }
    std::int32_t DurationMs() const { return durationMs_; }
    // How times map onto byte positions of the current version.
    AudioTimeScale TimeScale() const { return AudioTimeScale::Of(info_, durationMs_); }
    const BlockList& Blocks() const { return blocks_; }
    // The opened file's tags, when tags are kept.
    const FileTags& Tags() const { return tags_; }
    const TagRewriter* Rewriter() const { return tagRewriter_; }
    // Where the audio of the document's files ends.
    AudioBound Bound() const { return tagRewriter_ ? AudioBound::BeforeTags : AudioBound::AtAnalysis; }

    // The selection: the view reads and writes it, then calls UpdateSelectionMs.
    Selection Sel;
    void UpdateSelectionMs() { Sel.UpdateMs(TimeScale()); }

   private:
    class CommandScope;
    // An edit's new version: the audio before the selection, the whole audio of
    // body (when given), the audio after the selection.
    struct EditPlan {
        Selection sel;  // as the command found it
        std::string body;
        StreamInfo bodyInfo;
        PieceSource bodySource = PieceSource::File;
    };

    // Bodies of the commands, run inside a CommandScope.
    void ResetState();
    int OpenPath(const std::string& path);
    int LoadCurrent(const std::string& path);
    // LoadCurrent for another version of the document: how many bytes later
    // its first frame lies than the previous version's (a tag dropped by the
    // first edit, or brought back by undo).
    std::int32_t LoadVersion(const std::string& path);
    int KeepUndoReachable();
    int SaveCopy(const std::string& path);
    int SaveTaggedCopy(const std::string& path);
    FileTags OutputTags(const std::function<std::int32_t()>& lengthMs) const;
    int DeleteOrCut(bool cut);
    // Whether deleting sel would remove any audio (true when that is unknown).
    bool RemovesAFrame(const Selection& sel) const;
    int CopyToClip(const Selection& sel, std::int32_t to, int snapTo);
    int BuildVersion(const EditPlan& plan);
    int CommitVersion(const BlockList& before, const Selection& sel);
    void RollBack(const BlockList& before, const Selection& sel);
    int WriteSelection(const std::string& name);
    bool EndOfAudioCutAt(std::int32_t to) const;

    void Say(const std::string& text);
    void NotifyLoaded(LoadReason reason);

    std::string workFolder_;
    DocumentSink* sink_;
    Player* player_;
    VersionListener* versions_ = nullptr;

    std::string orgFile_;
    std::string curFile_;
    std::string fileExt_ = ".mp3";
    WorkingFiles files_;
    StreamInfo info_;
    std::int32_t durationMs_ = 0;
    BlockList blocks_;
    // What BuildVersion put into WorkFile, for the listener once it is the current version.
    std::vector<VersionPiece> builtPieces_;
    // Where BuildVersion put the body's frames in WorkFile: the first byte
    // (0-based; -1 when not known) and how many bytes they take.
    struct BuiltBody {
        std::int64_t At = -1;
        std::int64_t Bytes = 0;
    } builtBody_;
    bool running_ = false;
    const TagRewriter* tagRewriter_ = nullptr;
    FileTags tags_;
};

}  // namespace kalvor
