#pragma once
// The four working files of an open document, in the working folder, named by a
// fixed stem and the document's extension ("undo.mp3", "temp.mp3", "clip.mp3",
// "work.mp3"). Versions rotate through them: an edit builds WorkFile, which then
// becomes TempFile (the current version) while the previous one becomes UndoFile.
#include <string>

namespace kalvor {

struct WorkingFiles {
    std::string UndoFile;  // the previous version, for undo
    std::string TempFile;  // the current version once the document has been edited
    std::string ClipFile;  // the clipboard: frames copied or cut
    std::string WorkFile;  // the new version while an edit builds it

    // The names in folder for a document whose extension (with its dot, as
    // written, possibly empty) is fileExt.
    static WorkingFiles For(const std::string& folder, const std::string& fileExt);

    // True when path names one of the four files (normalised comparison).
    bool Contains(const std::string& path) const;

    // Deletes all four; a missing file counts as deleted.
    void RemoveAll() const;

    // After an edit has written WorkFile: TempFile becomes UndoFile and WorkFile
    // becomes TempFile. 1 when TempFile holds the new version; on 0 the files
    // are as they were, as far as the moves can be undone.
    int Rotate() const;

    // Undo with an UndoFile present: TempFile and UndoFile change places (a
    // missing TempFile leaves UndoFile absent afterwards). 1 when done; on 0 the
    // files are as they were, as far as the moves can be undone.
    int SwapTempAndUndo() const;
};

}  // namespace kalvor
