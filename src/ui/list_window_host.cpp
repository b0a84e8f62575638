#include "ui/list_window_host.h"

#include "document/document.h"

namespace kalvor {

ListDocument ListDocumentOf(const Document& document) {
    ListDocument doc;
    doc.CurFile = document.CurFile();
    doc.OrgFile = document.OrgFile();
    const WorkingFiles& files = document.Working();
    doc.WorkingFiles = {files.UndoFile, files.TempFile, files.ClipFile, files.WorkFile};
    doc.Info = document.Info();
    doc.DurationMs = document.DurationMs();
    doc.Rewriter = document.Rewriter();
    doc.Tags = document.Tags();
    return doc;
}

}  // namespace kalvor
