#pragma once
// How a split or build output ended: the files it wrote and, when it stopped,
// why, in English for the command line and in the window's Japanese
// (document/messages.h).
#include <string>
#include <vector>

#include "mpeg/frame_copy.h"

namespace kalvor {

// Why an output stopped. Files finished before the fault stay written.
enum class ListOutputFault {
    None,
    EmptyList,          // the list has no rows
    NoName,             // no output name was given
    OwnFile,            // File is the document's own file
    WorkingFile,        // File is one of the document's working files
    CannotReplace,      // File exists and cannot be replaced
    CopyFailed,         // a copy into File failed: see Copy
    HeaderNotUpdated,   // File's leading "Xing"/"Info" header could not be brought up to date
    TagsNotWritten,     // the source's tags could not be written into File
    NotMovedIntoPlace,  // File was written whole but could not take its name
    NothingWritten,     // every range is empty
    Unexpected,         // a run-time fault, trapped
};

struct ListOutputResult {
    ListOutputFault Fault = ListOutputFault::None;
    std::string File;                  // the file the fault concerns, where there is one
    CopyOutcome Copy;                  // the copy that failed, for CopyFailed
    std::vector<std::string> Written;  // the files written, in order
    bool Ok() const { return Fault == ListOutputFault::None; }
};

// The reason in plain words, naming the file by its path:
// "/audio/live - 02.mp3 exists and cannot be replaced".
std::string ListOutputFaultText(const ListOutputResult& result);

// The message panel's line after an output, in the window's language:
// msg::kDone, or msg::kWriteFailed and the reason, naming the file by its name
// ("書き込みに失敗しました: 「live - 02.mp3」は既にあり、置き換えられません").
std::string ListOutputMessage(const ListOutputResult& result);

}  // namespace kalvor
