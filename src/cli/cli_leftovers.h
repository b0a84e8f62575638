#pragma once
// The journal of temporary files for kalvor-cli. Several commands may run at
// once, so each process keeps its own journal, in a folder of this user's in
// the temporary folder; a start cleans up after the processes that ended
// without doing so themselves (killed half-way through a save or a split).
#include <string>

namespace kalvor::cli {

// Cleans up after ended processes and keeps this one's journal while it lives;
// at the end of a command that ran to its end the journal goes too.
class CliJournal {
   public:
    CliJournal();
    ~CliJournal();
    CliJournal(const CliJournal&) = delete;
    CliJournal& operator=(const CliJournal&) = delete;

   private:
    std::string folder_;
};

}  // namespace kalvor::cli
