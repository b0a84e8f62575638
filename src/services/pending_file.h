#pragma once
// A file written beside its target and moved into place only once complete, so
// a failure or a crash half-way never leaves the user's file truncated or gone.
#include <string>

namespace kalvor {

class PendingFile {
   public:
    // Starts with no file at Path() (a leftover of an earlier attempt is removed).
    explicit PendingFile(std::string target);
    // Removes the part file unless it was committed.
    ~PendingFile();
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    // False when the target is there but may not be replaced: a folder, a
    // device, or a file that cannot be opened for writing (read-only).
    bool TargetReplaceable() const;

    // Where to write: beside the target, in the same folder.
    const std::string& Path() const { return part_; }

    // Moves the part file over the target in one step (an existing target is
    // replaced, never deleted first). 1 when the target now holds the new file.
    int Commit();

   private:
    std::string target_;
    std::string part_;
    bool committed_ = false;
};

}  // namespace kalvor
