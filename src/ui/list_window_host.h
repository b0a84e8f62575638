#pragma once
// What the split and build list window needs of the window that owns it. The
// main window implements it; the list window's tests implement it over a
// document of their own. Several names are those the main window already has
// (DrawPicture, DispMes, SetEditMenusEnabled, PlaySelected, OnKeyReleased), so
// there they simply become overrides.
#include <cstdint>
#include <string>
#include <vector>

#include "listwin/list_output.h"

class QWidget;

namespace kalvor {

class Document;
class ListRows;

class ListWindowHost {
   public:
    virtual ~ListWindowHost() = default;

    // The owner: the list window is its modeless child, opens just right of it
    // and takes its icon.
    virtual QWidget* OwnerWindow() = 0;

    // The main window's selection in milliseconds.
    virtual std::int32_t SelStartMs() const = 0;
    virtual std::int32_t SelEndMs() const = 0;
    // The document's duration, for the length of the last split piece.
    virtual std::int32_t DurationMs() const = 0;
    // The document's extension with its dot (".mp3"), given to an output name
    // that lacks it.
    virtual std::string FileExt() const = 0;
    // The open document as the output and the double click read it: CurFile
    // and its analysis, the files no output may overwrite, the duration.
    virtual ListDocument DocumentForList() const = 0;

    // Split points in the middle of the document's silences, in milliseconds,
    // once its levels are all decoded (waiting for them with the input held);
    // none when there are no levels or no silences, which the host says in its
    // message panel.
    virtual std::vector<std::int32_t> SilenceSplitPoints() { return {}; }

    // Redraws the time line (the split marks follow the rows).
    virtual void DrawPicture() = 0;
    // Sets the selection to the byte positions pIn..pOut (length pOut - pIn).
    virtual void DispSelected(std::int32_t pIn, std::int32_t pOut) = 0;
    // The play command in play mode 0..6.
    virtual void PlaySelected(int mode) = 0;
    // A key released in the list window; true when the main window used it
    // (then it goes no further).
    virtual bool OnKeyReleased(int key) = 0;

    // Delete, cut, paste, paste from file, undo and the file menu: off while
    // the list window is open, so the document is neither edited, replaced nor
    // closed under its rows.
    virtual void SetEditMenusEnabled(bool enabled) = 0;
    // The rows the time line draws split marks from: the open window's rows,
    // or null once it closes (before the last DrawPicture).
    virtual void SetListRows(const ListRows* rows) = 0;
    // One line in the main window's message panel.
    virtual void DispMes(const std::string& text) = 0;
    // Keeps the user's input away from every window while an output runs
    // (the windows keep painting); the calls nest and always come in pairs.
    virtual void HoldInput() = 0;
    virtual void ReleaseInput() = 0;
};

// The document as the list's output reads it: the current version, the opened
// file and the working files (none of which an output may replace), the
// analysis of the current version and the duration.
ListDocument ListDocumentOf(const Document& document);

}  // namespace kalvor
