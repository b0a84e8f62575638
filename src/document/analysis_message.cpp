#include "document/analysis_message.h"

#include "document/messages.h"

namespace kalvor {

const char* AnalysisFailureMessage(const AnalysisResult& result) {
    switch (result.Fault) {
        case AnalysisFault::Missing:
        case AnalysisFault::NotAFile:
        case AnalysisFault::Unreadable:
        case AnalysisFault::TooLarge:
        case AnalysisFault::Unexpected: return msg::kReadFailed;
        case AnalysisFault::Mpeg25: return msg::kMpeg25;
        default: return msg::kNotMpeg;
    }
}

}  // namespace kalvor
