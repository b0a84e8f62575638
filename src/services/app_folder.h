#pragma once
// The two folders kalvor uses. The program folder holds what a user or an
// installer puts beside the program: "kalvor.ini", "ec.txt", the companion
// program and the mixer. The work folder takes what kalvor writes on its own,
// the working files and the log: the program folder itself, or the per-user
// data folder when the program folder takes no files (an installed copy).
// The application sets both once at start; the core only reads them.
#include <string>

namespace kalvor {

// The application title: names the profile file, the log and the settings key.
inline constexpr const char* kAppTitle = "kalvor";

// The platform's path separator ('/' here, '\\' on Windows).
#ifdef _WIN32
inline constexpr char kPathSep = '\\';
#else
inline constexpr char kPathSep = '/';
#endif

// The program folder, always ending in the separator. Empty until set.
std::string AppFolder();
// Sets the program folder (a missing trailing separator is added) and makes
// it the work folder as well.
void SetAppFolder(const std::string& folder);

// Where one of the files beside the program is looked for: the program
// folder followed by name. Every such lookup goes through here.
std::string ProgramFilePath(const std::string& name);

// The work folder, always ending in the separator. Empty until set.
std::string WorkFolder();
// Moves the working files and the log to folder; call after SetAppFolder.
void SetWorkFolder(const std::string& folder);

}  // namespace kalvor
