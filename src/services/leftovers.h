#pragma once
// Temporary files that outlive a program killed half-way: the part of a file
// written beside its target before it is moved into place, the working files
// of a document, the working folder of a command. Each is noted in a journal
// as it is made; the next start of the same program removes what its journal
// lists and starts a fresh one. A file that was moved into place is no longer
// under its temporary name, so what the journal lists is only ever a leftover.
#include <string>

namespace kalvor {

// The journal this process notes its temporary files in from now on:
// <folder>/leftovers-<owner>.txt. Until this is called nothing is noted.
void StartLeftoverJournal(const std::string& folder, const std::string& owner);

// Notes a temporary file about to be made.
void NoteTemporaryFile(const std::string& path);
// Notes a working folder of a command (its name starts with "kalvor-edit-").
void NoteWorkingFolder(const std::string& path);

// Removes what <folder>/leftovers-<owner>.txt lists, then the journal: the
// files that are still regular files, and the folders whose name starts with
// "kalvor-edit-". The number of entries removed.
int CleanLeftovers(const std::string& folder, const std::string& owner);

// The suffixes of the parts written beside a target.
inline constexpr const char* kPartSuffix = ".kalvor-part";
inline constexpr const char* kCopySuffix = ".kalvor-copy";

}  // namespace kalvor
