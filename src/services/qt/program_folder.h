#pragma once
// The folder kalvor keeps its working files, settings file, switches and log in.
#include <string>

namespace kalvor {

// The program's own folder when files can be made in it, otherwise the per-user
// data folder (created when missing), for SetAppFolder at start. Ends in the
// separator; empty when neither is usable.
std::string ChooseProgramFolder();

// true when a file can be created in folder (tried, not guessed from permissions).
bool FolderIsWritable(const std::string& folder);

}  // namespace kalvor
