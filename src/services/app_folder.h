#pragma once
// Where kalvor keeps its working files, "kalvor.ini", "ec.txt" and "log".
// The application sets it once at start (the program folder, or the per-user
// data folder when the program folder is not writable); the core only reads it.
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
// Sets the program folder; a missing trailing separator is added.
void SetAppFolder(const std::string& folder);

}  // namespace kalvor
