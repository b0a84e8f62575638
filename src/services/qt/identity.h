#pragma once
// Who kalvor says it is: the maker's name (the version box and the per-user
// settings key), the companion program of the register command and the version.
// Each is spelled here once.
#include <string>

namespace kalvor {

// The maker's name as the version box shows it.
inline constexpr const char* kCompanyName = "KalvorProject";

// The companion program that the register command hands the edited file to,
// looked for in the program folder when "RegApp" names none.
#ifdef _WIN32
inline constexpr const char* kCompanionExecutable = "kalvor-register.exe";
#else
inline constexpr const char* kCompanionExecutable = "kalvor-register";
#endif

// The organisation part of the per-user settings key: the maker's name in lower case.
std::string OrganisationName();

// The program's version as built: major, minor and revision.
struct ProgramVersion {
    int Major = 0;
    int Minor = 0;
    int Revision = 0;
};
ProgramVersion BuiltVersion();

}  // namespace kalvor
