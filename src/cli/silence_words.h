#pragma once
// What the silences and split commands share: the words that say what a
// silence is, and the silences of a source file found from its levels.
#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "listwin/list_output.h"
#include "listwin/silences.h"

namespace kalvor::cli {

// Takes "--threshold DB" and "--min SECONDS" out of args (the other words stay,
// in order) and gives the rule they make, the defaults for what is not given.
// Bad usage when a value is missing or out of range.
SilenceRule TakeSilenceWords(Args& args);

// Takes the word flag out of args; true when it was there.
bool TakeFlag(Args& args, const std::string& flag);

// Decodes the levels of the document's file and finds its silences. False
// after printing the reason (no frame could be decoded, or the levels are not
// built into this program).
bool SourceSilences(const ListDocument& document, const SilenceRule& rule, std::vector<Silence>& silences);

}  // namespace kalvor::cli
