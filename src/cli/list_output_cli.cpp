#include "cli/list_output_cli.h"

#include <cstdio>

#include "cli/cli_command.h"
#include "cli/output_choice.h"
#include "mpeg/FCT_mpeg.h"
#include "services/basic.h"

namespace kalvor::cli {

std::int32_t TimeWord(const std::string& word, const char* what) {
    std::int32_t success = 0;
    const std::int32_t ms = TimeTextToMs(word, true, &success);
    if (success != 1) throw UsageError{std::string(what) + " is not a time: " + word};
    if (ms < 0) throw UsageError{std::string(what) + " must not be negative: " + word};
    return ms;
}

bool SourceDocument(const std::string& path, ListDocument& document) {
    document.CurFile = document.OrgFile = path;
    document.Rewriter = OutputTagRewriter();
    const AnalysisResult analysis = AnalyzeAudio(path, document.Info, document.Bound());
    if (!analysis.Ok()) {
        Fail(path + ": " + AnalysisFaultText(analysis));
        return false;
    }
    if (document.Rewriter) document.Tags = ReadFileTags(path, document.Info);
    document.DurationMs = document.Info.DurationMs;
    return true;
}

bool WithinDocument(std::int32_t ms, const std::string& word, const ListDocument& document) {
    if (ms <= document.DurationMs) return true;
    Fail(word + " lies beyond the end of " + document.CurFile + " (" + MsToTimeText(document.DurationMs) + ")");
    return false;
}

int WriteRows(const ListRows& rows, const ListDocument& document, const std::string& outputName) {
    const ListOutputResult result = WriteListOutput(rows, document, outputName);
    for (const auto& written : result.Written) std::printf("%s\n", written.c_str());
    std::fflush(stdout);
    return result.Ok() ? 0 : Fail(ListOutputFaultText(result));
}

}  // namespace kalvor::cli
