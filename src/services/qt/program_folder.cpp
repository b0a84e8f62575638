#include "services/qt/program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryFile>

#include "services/fault_trap.h"
#include "services/path_text.h"
#include "services/qt/identity.h"

namespace kalvor {

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

std::string UserDataFolder() {
    return Trapped(std::string(), [] {
        const QString org = QString::fromStdString(OrganisationName());
        const QString data = QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
                                 .filePath(org + QLatin1Char('/') + QLatin1String("kalvor"));
        if (!QDir().mkpath(data)) return std::string();
        return SetTrailingSep(QDir::toNativeSeparators(data).toStdString(), false);
    });
}

}  // namespace kalvor
