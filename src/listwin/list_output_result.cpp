#include "listwin/list_output_result.h"

#include "document/messages.h"
#include "services/path_text.h"

namespace kalvor {
namespace {

// The copy's fault as the windows say it.
const char* CopyFaultMessage(CopyFault fault) {
    switch (fault) {
        case CopyFault::AnalysisFailed: return msg::kSourceNotAnalysed;
        case CopyFault::SourceUnreadable: return msg::kSourceUnreadable;
        case CopyFault::SourceEnded: return msg::kSourceEnded;
        case CopyFault::DestinationUnwritable: return msg::kCannotWriteTo;
        default: return msg::kCopyStopped;
    }
}

const char* FaultMessage(const ListOutputResult& result) {
    switch (result.Fault) {
        case ListOutputFault::EmptyList: return msg::kListEmpty;
        case ListOutputFault::NoName: return msg::kNoOutputName;
        case ListOutputFault::OwnFile: return msg::kOutputIsOwnFile;
        case ListOutputFault::WorkingFile: return msg::kOutputIsWorkingFile;
        case ListOutputFault::CannotReplace: return msg::kCannotReplace;
        case ListOutputFault::CopyFailed: return CopyFaultMessage(result.Copy.Fault);
        case ListOutputFault::HeaderNotUpdated: return msg::kLengthNotUpdated;
        case ListOutputFault::TagsNotWritten: return msg::kTagsNotWritten;
        case ListOutputFault::NotMovedIntoPlace: return msg::kNotMovedIntoPlace;
        case ListOutputFault::NothingWritten: return msg::kAllRangesEmpty;
        case ListOutputFault::None:
        case ListOutputFault::Unexpected: break;
    }
    return msg::kOutputStopped;
}

}  // namespace

std::string ListOutputFaultText(const ListOutputResult& result) {
    const std::string& file = result.File;
    switch (result.Fault) {
        case ListOutputFault::None: return "every file was written";
        case ListOutputFault::EmptyList: return "the list is empty";
        case ListOutputFault::NoName: return "no output name was given";
        case ListOutputFault::OwnFile: return file + " is the document's own file";
        case ListOutputFault::WorkingFile: return file + " is one of the document's working files";
        case ListOutputFault::CannotReplace: return file + " exists and cannot be replaced";
        case ListOutputFault::CopyFailed: return file + ": " + CopyFaultText(result.Copy);
        case ListOutputFault::HeaderNotUpdated: return file + ": its Xing/Info header could not be brought up to date";
        case ListOutputFault::TagsNotWritten: return file + ": its tags could not be written";
        case ListOutputFault::NotMovedIntoPlace: return file + ": the written file could not be moved into place";
        case ListOutputFault::NothingWritten: return "every range is empty: nothing was written";
        case ListOutputFault::Unexpected: break;
    }
    return "an unexpected error ended the output";
}

std::string ListOutputMessage(const ListOutputResult& result) {
    if (result.Ok()) return UiText(msg::kContext, msg::kDone);
    std::string reason = UiText(msg::kContext, FaultMessage(result));
    if (const auto at = reason.find("{}"); at != std::string::npos) reason.replace(at, 2, FileNameOf(result.File));
    return UiText(msg::kContext, msg::kWriteFailed) + ": " + reason;
}

}  // namespace kalvor
