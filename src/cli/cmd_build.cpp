// kalvor-cli build SRC OUT FROM TO [FROM TO]...: one file of the ranges of SRC
// in the order given, as the list window's build does.
#include <cstdint>
#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "cli/list_output_cli.h"

namespace kalvor::cli {
namespace {

int RunBuild(const Args& args) {
    if (args.size() < 4 || args.size() % 2 != 0) throw UsageError{"build takes SRC OUT and pairs of FROM TO"};
    std::vector<std::int32_t> times;
    for (std::size_t i = 2; i < args.size(); i += 2) {
        times.push_back(TimeWord(args[i], "FROM"));
        times.push_back(TimeWord(args[i + 1], "TO"));
        if (times.back() <= times[times.size() - 2])
            throw UsageError{"TO must be after FROM: " + args[i] + " " + args[i + 1]};
    }
    ListDocument document;
    if (!SourceDocument(args[0], document)) return 1;
    ListRows rows(ListMode::Build);
    for (std::size_t i = 0; i < times.size(); i += 2) {
        if (!WithinDocument(times[i], args[i + 2], document) || !WithinDocument(times[i + 1], args[i + 3], document))
            return 1;
        rows.Add(times[i], times[i + 1], document.DurationMs);
    }
    return WriteRows(rows, document, args[1]);
}

}  // namespace

KALVOR_CLI_COMMAND("build",
                   "build SRC OUT FROM TO [FROM TO]...\n"
                   "writes OUT (replacing it) from the ranges FROM..TO of SRC, whole frames, in the order given",
                   RunBuild);

}  // namespace kalvor::cli
