// kalvor-cli silences FILE [--threshold DB] [--min SECONDS]: the silences the
// split at silences finds, one a line: start, end and length as time texts.
#include <cstdio>

#include "cli/list_output_cli.h"
#include "cli/silence_words.h"
#include "services/time_text.h"

namespace kalvor::cli {
namespace {

int RunSilences(const Args& words) {
    Args args = words;
    const SilenceRule rule = TakeSilenceWords(args);
    if (args.size() != 1) throw UsageError{"silences takes FILE [--threshold DB] [--min SECONDS]"};
    ListDocument document;
    std::vector<Silence> silences;
    if (!SourceDocument(args[0], document) || !SourceSilences(document, rule, silences)) return 1;
    for (const Silence& silence : silences) {
        std::printf("%s\t%s\t%s\n", MsToTimeText(silence.FromMs).c_str(), MsToTimeText(silence.ToMs).c_str(),
                    MsToTimeText(silence.LengthMs()).c_str());
    }
    return 0;
}

}  // namespace

KALVOR_CLI_COMMAND("silences",
                   "silences FILE [--threshold DB] [--min SECONDS]\n"
                   "prints every stretch where each channel stays below DB dBFS (default -50) for at\n"
                   "least SECONDS (default 2.0): start, end and length, tab-separated",
                   RunSilences);

}  // namespace kalvor::cli
