#include "services/qt/version_info.h"

#include <QCoreApplication>
#include <QSysInfo>

#include <cstdio>

#include "services/app_folder.h"
#include "services/basic.h"
#include "services/fault_trap.h"
#include "services/qt/message_box.h"

namespace kalvor {
namespace {
constexpr const char* kLineBreak = "\r\n";
}

std::string VersionNumberText(const ProgramVersion& version) {
    char text[64];
    std::snprintf(text, sizeof text, "%d.%02d.%04d", version.Major, version.Minor, version.Revision);
    return text;
}

std::string VersionInfoText(const std::string& leading, const std::string& company, const ProgramVersion& version,
                            const std::string& executableTime, const std::string& computerName) {
    std::string text;
    if (!leading.empty()) text += leading + kLineBreak;
    text += company + " " + kAppTitle + kLineBreak;
    text += kLineBreak;
    text += "version: " + VersionNumberText(version) + kLineBreak;
    text += executableTime + QCoreApplication::translate("VersionInfo", "更新版").toStdString() + kLineBreak;
    text += kLineBreak;
    text += "computer name: " + computerName;
    return text;
}

void ShowVersionInfo(QWidget* owner, const std::string& leading) {
    TrappedRun([&] {
        const std::string executable =
            QCoreApplication::instance() ? QCoreApplication::applicationFilePath().toStdString() : std::string();
        // Last write time, date and time, "YYYY/MM/DD HH:MM:SS".
        const std::string time = FileTimeText(executable, 2, 3, 1);
        CenteredMessageBox(VersionInfoText(leading, kCompanyName, BuiltVersion(), time, ComputerName()),
                           kStyleInformation,
                           QCoreApplication::translate("VersionInfo", "バージョン情報").toStdString(), owner);
    });
}

std::string ComputerName() {
    return Trapped(std::string(), [] { return QSysInfo::machineHostName().toStdString(); });
}

}  // namespace kalvor
