#include "document/working_files.h"

#include "services/app_folder.h"
#include "services/basic.h"

namespace kalvor {

WorkingFiles WorkingFiles::For(const std::string& folder, const std::string& fileExt) {
    std::string base = folder;
    if (!base.empty() && base.back() != kPathSep) base += kPathSep;
    return {base + "undo" + fileExt, base + "temp" + fileExt, base + "clip" + fileExt, base + "work" + fileExt};
}

bool WorkingFiles::Contains(const std::string& path) const {
    for (const std::string* name : {&UndoFile, &TempFile, &ClipFile, &WorkFile}) {
        if (SamePath(path, *name)) return true;
    }
    return false;
}

void WorkingFiles::RemoveAll() const {
    for (const std::string* name : {&ClipFile, &WorkFile, &TempFile, &UndoFile}) {
        if (!name->empty()) RemoveFile(*name);
    }
}

int WorkingFiles::Rotate() const {
    const bool hadTemp = FileExists(TempFile) == 1;
    if (hadTemp) {
        if (RenameFile(TempFile, UndoFile, true) != 1) return 0;
    } else {
        // The document reads the opened file, and undo must lead back there: an
        // UndoFile left over from an undone edit would come back instead.
        if (RemoveFile(UndoFile) != 1) return 0;
    }
    if (RenameFile(WorkFile, TempFile, true) != 1) {
        if (hadTemp) RenameFile(UndoFile, TempFile, false);
        return 0;
    }
    RemoveFile(WorkFile);
    return 1;
}

int WorkingFiles::SwapTempAndUndo() const {
    const bool hadTemp = FileExists(TempFile) == 1;
    if (hadTemp && RenameFile(TempFile, WorkFile, true) != 1) return 0;
    if (RenameFile(UndoFile, TempFile, true) != 1) {
        if (hadTemp) RenameFile(WorkFile, TempFile, false);
        return 0;
    }
    if (hadTemp && RenameFile(WorkFile, UndoFile, true) != 1) {
        RenameFile(TempFile, UndoFile, false);
        RenameFile(WorkFile, TempFile, false);
        return 0;
    }
    return 1;
}

}  // namespace kalvor
