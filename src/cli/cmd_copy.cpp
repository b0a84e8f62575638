// kalvor-cli copy SRC DST FROM TO [--snap-from] [--snap-to]: appends bytes
// FROM..TO (1-based, inclusive) of SRC to DST, either end optionally moved onto
// a frame boundary.
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <string>

#include "cli/cli_command.h"
#include "mpeg/FCTs.h"

namespace kalvor::cli {
namespace {

std::int32_t Position(const std::string& word, const char* what) {
    std::int32_t value = 0;
    const char* end = word.data() + word.size();
    const auto [ptr, ec] = std::from_chars(word.data(), end, value);
    if (word.empty() || ec != std::errc() || ptr != end)
        throw UsageError{std::string(what) + " must be a whole byte position: " + word};
    return value;
}

int RunCopy(const Args& args) {
    Args words;
    int snapFrom = 0, snapTo = 0;
    for (const std::string& arg : args) {
        if (arg == "--snap-from")
            snapFrom = 1;
        else if (arg == "--snap-to")
            snapTo = 1;
        else if (arg.size() > 1 && arg.rfind("--", 0) == 0)
            throw UsageError{"unknown option: " + arg};
        else
            words.push_back(arg);
    }
    if (words.size() != 4) throw UsageError{"copy takes SRC DST FROM TO"};
    const std::int32_t from = Position(words[2], "FROM"), to = Position(words[3], "TO");
    const CopyOutcome outcome = CopyFrames(words[0], words[1], from, to, snapFrom, snapTo);
    if (outcome.Fault == CopyFault::EmptyRange) {
        std::fprintf(stderr, "kalvor-cli: nothing copied: %s\n", CopyFaultText(outcome).c_str());
        return 0;
    }
    if (!outcome.Ok()) {
        std::string why = CopyFaultText(outcome);
        if (outcome.BytesAppended > 0) why += " (after " + std::to_string(outcome.BytesAppended) + " bytes)";
        return Fail("copy " + words[0] + " to " + words[1] + ": " + why);
    }
    return 0;
}

}  // namespace

KALVOR_CLI_COMMAND("copy",
                   "copy SRC DST FROM TO [--snap-from] [--snap-to]\n"
                   "appends bytes FROM..TO (1-based, inclusive) of SRC to DST; --snap-from and --snap-to\n"
                   "move that end onto the frame header at or after it",
                   RunCopy);

}  // namespace kalvor::cli
