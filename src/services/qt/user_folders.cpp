#include "services/qt/user_folders.h"

#include <QDir>
#include <QStandardPaths>

#include "services/app_folder.h"
#include "services/fault_trap.h"
#include "services/path_text.h"

namespace kalvor {
namespace {

std::string OwnFolderIn(QStandardPaths::StandardLocation location) {
    return Trapped(std::string(), [&] {
        const QString folder = QDir(QStandardPaths::writableLocation(location)).filePath(QLatin1String(kAppTitle));
        if (!QDir().mkpath(folder)) return std::string();
        return SetTrailingSep(QDir::toNativeSeparators(folder).toStdString(), false);
    });
}

}  // namespace

std::string UserDataFolder() {
    return OwnFolderIn(QStandardPaths::GenericDataLocation);
}

std::string UserConfigFolder() {
    return OwnFolderIn(QStandardPaths::GenericConfigLocation);
}

}  // namespace kalvor
