#include "services/qt/program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryFile>

#include "services/app_folder.h"
#include "services/fault_trap.h"
#include "services/path_text.h"
#include "services/qt/settings_store.h"
#include "services/qt/user_folders.h"

namespace kalvor {
namespace {

bool SystemFolder(const std::string& folder) {
#ifdef _WIN32
    (void)folder;
    return false;
#else
    return folder.rfind("/usr/", 0) == 0;
#endif
}

// Not even the user's data folder takes files: a folder of this user's in the
// temporary folder does.
std::string TemporaryWorkFolder() {
    const QString folder =
        QDir(QDir::tempPath())
            .filePath(QStringLiteral("kalvor-%1").arg(qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"))));
    QDir().mkpath(folder);
    return QDir::toNativeSeparators(folder).toStdString();
}

}  // namespace

bool FolderIsWritable(const std::string& folder) {
    return Trapped(false, [&] {
        if (folder.empty()) return false;
        QTemporaryFile probe(QDir(QString::fromStdString(folder)).filePath("kalvor-probe-XXXXXX"));
        return probe.open();
    });
}

std::string ExecutableFolder() {
    return Trapped(std::string(), [] {
        if (!QCoreApplication::instance()) return std::string();
        return SetTrailingSep(QDir::toNativeSeparators(QCoreApplication::applicationDirPath()).toStdString(), false);
    });
}

bool IsInstalledCopy(const std::string& programFolder) {
    return SystemFolder(programFolder) || !FolderIsWritable(programFolder);
}

void UseUserFolders() {
    TrappedRun([] {
        const std::string data = UserDataFolder();
        SetWorkFolder(data.empty() ? TemporaryWorkFolder() : data);
        // A "kalvor.ini" that an administrator put beside the program still holds.
        if (QFile::exists(QString::fromStdString(ProfileFilePath()))) return;
        const std::string config = UserConfigFolder();
        if (!config.empty()) UseUserProfileFile(config + kAppTitle + ".ini");
    });
}

}  // namespace kalvor
