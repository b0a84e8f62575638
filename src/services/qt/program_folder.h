#pragma once
// Where kalvor's folders are on this machine: the program folder beside the
// executable, and the per-user data folder that takes the working files and
// the log when the program folder takes no files.
#include <string>

namespace kalvor {

// The folder of the executable, ending in the separator, for SetAppFolder at
// start; empty before the application exists.
std::string ExecutableFolder();

// The per-user data folder, named after the maker and the program (created
// when missing), for SetWorkFolder; ends in the separator; empty when it
// cannot be made.
std::string UserDataFolder();

// true when a file can be created in folder (tried, not guessed from permissions).
bool FolderIsWritable(const std::string& folder);

}  // namespace kalvor
