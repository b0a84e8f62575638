// kalvor-cli split SRC OUTNAME TIME...: cuts SRC at every TIME into pieces named
// after OUTNAME ("OUT - 01.mp3", "OUT - 02.mp3", …), as the list window's split does.
#include <cstdint>
#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "cli/list_output_cli.h"
#include "cli/silence_words.h"

namespace kalvor::cli {
namespace {

int RunSplit(const Args& words) {
    Args args = words;
    const bool atSilences = TakeFlag(args, "--at-silences");
    const SilenceRule rule = TakeSilenceWords(args);
    if (args.size() < 2 || (args.size() < 3 && !atSilences)) {
        throw UsageError{"split takes SRC OUTNAME TIME... or SRC OUTNAME --at-silences"};
    }
    std::vector<std::int32_t> points;
    for (std::size_t i = 2; i < args.size(); ++i) points.push_back(TimeWord(args[i], "TIME"));
    ListDocument document;
    if (!SourceDocument(args[0], document)) return 1;
    ListRows rows(ListMode::Split);
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (!WithinDocument(points[i], args[i + 2], document)) return 1;
        rows.Add(points[i], points[i], document.DurationMs);
    }
    if (atSilences) {
        std::vector<Silence> silences;
        if (!SourceSilences(document, rule, silences)) return 1;
        AddSplitPoints(rows, SilenceSplitPoints(silences), document.DurationMs);
    }
    return WriteRows(rows, document, args[1]);
}

}  // namespace

KALVOR_CLI_COMMAND("split",
                   "split SRC OUTNAME TIME... [--at-silences [--threshold DB] [--min SECONDS]]\n"
                   "cuts SRC at every TIME into N + 1 pieces of whole frames named \"OUTNAME - 01.ext\",\n"
                   "\"OUTNAME - 02.ext\"…; existing pieces are replaced; prints the pieces written.\n"
                   "--at-silences also cuts in the middle of every silence between audio (see silences)",
                   RunSplit);

}  // namespace kalvor::cli
