#pragma once
// Where kalvor's folders are on this machine: the program folder beside the
// executable, and, for an installed copy, the user's own folders that take
// what it cannot keep beside itself.
#include <string>

namespace kalvor {

// The folder of the executable, ending in the separator, for SetAppFolder at
// start; empty before the application exists.
std::string ExecutableFolder();

// true when a file can be created in folder (tried, not guessed from permissions).
bool FolderIsWritable(const std::string& folder);

// true for a copy whose program folder takes no files of its own: one that
// cannot be written, or one under /usr, which is the system's even where an
// administrator could write.
bool IsInstalledCopy(const std::string& programFolder);

// Moves what an installed copy writes on its own to the user's folders, after
// SetAppFolder: the working files and the log to the per-user data folder (a
// folder of the user's in the temporary folder when even that cannot be made),
// and the settings to "kalvor.ini" in the per-user config folder unless one
// lies beside the program. Call before ChooseSettingsStore.
void UseUserFolders();

}  // namespace kalvor
