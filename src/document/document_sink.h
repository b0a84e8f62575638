#pragma once
// What the document tells the window. Every method has an empty default, so a
// front end listens only to what it shows.
#include <string>

namespace kalvor {

// Why the document's current file was (re)loaded.
enum class LoadReason {
    Open,    // a new document: show the whole file
    Edit,    // an edit made a new version: keep the view, redraw
    Undo,    // undo swapped versions: keep the view and the selection, redraw
    Reload,  // LoadFile called from outside
};

class DocumentSink {
   public:
    virtual ~DocumentSink() = default;

    // A progress or result text for the message panel, replacing what was there.
    virtual void Message(const std::string& /*text*/) {}

    // The hourglass pointer on (a command started) or off (it ended).
    virtual void Busy(bool /*on*/) {}

    // The document was closed: clear the view, the selection handles, the
    // message panel and the play buttons, show zero times, clear the time line.
    virtual void DocumentReset() {}

    // The current file was analysed anew: show the times and redraw.
    virtual void DocumentLoaded(LoadReason /*reason*/) {}

    // The selection was changed by the document (select all): show and redraw.
    virtual void SelectionChanged() {}
};

}  // namespace kalvor
