#pragma once
// The version information box and the facts it shows.
#include <string>

#include "services/qt/identity.h"

class QWidget;

namespace kalvor {

// "major.minor.revision" with the minor at least two and the revision at least
// four digits (2.05.0000 for 2, 5, 0).
std::string VersionNumberText(const ProgramVersion& version);

// The box's text, lines separated by CR LF: the leading text and a line break
// when leading is not empty, then company and "kalvor", an empty line, "version: "
// and the number, the executable's time followed by "更新版", an empty line and
// "computer name: " with the machine's name.
std::string VersionInfoText(const std::string& leading, const std::string& company, const ProgramVersion& version,
                            const std::string& executableTime, const std::string& computerName);

// Shows the version box (caption "バージョン情報", information icon) centred on owner.
void ShowVersionInfo(QWidget* owner, const std::string& leading = "");

// The machine's name, or empty text when the platform cannot tell it.
std::string ComputerName();

}  // namespace kalvor
