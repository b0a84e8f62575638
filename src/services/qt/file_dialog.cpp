#include "services/qt/file_dialog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

#include <utility>

#include "services/fault_trap.h"
#include "services/path_text.h"

namespace kalvor {
namespace {

FileDialogHook& Hook() {
    static FileDialogHook hook;
    return hook;
}

std::string& LastFolder() {
    static std::string folder;
    return folder;
}

std::string FolderOf(const std::string& path) {
    return QDir::toNativeSeparators(QFileInfo(QString::fromStdString(path)).absolutePath()).toStdString();
}

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

std::string ShowDialog(QWidget* owner, const FileDialogRequest& request) {
    QFileDialog dialog(owner);
    dialog.setAcceptMode(request.Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(!request.Save && (request.Flags & kOfnFileMustExist) ? QFileDialog::ExistingFile
                                                                            : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !(request.Flags & kOfnOverwritePrompt));
    QStringList filters;
    for (const std::string& filter : QtNameFilters(request.Filter)) filters << Q(filter);
    if (!filters.isEmpty()) dialog.setNameFilters(filters);
    if (!request.InitialFolder.empty()) dialog.setDirectory(Q(request.InitialFolder));
    if (!request.InitialName.empty()) dialog.selectFile(Q(request.InitialName));
    if (dialog.exec() != QDialog::Accepted) return {};
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? std::string() : chosen.front().toStdString();
}

}  // namespace

void SetFileDialogHook(FileDialogHook hook) {
    Hook() = std::move(hook);
}

std::int32_t ResolveDialogFlags(bool save, std::int32_t flags) {
    if (flags != kDialogDefaultFlags) return flags;
    return save ? kSaveDialogFlags : kOpenDialogFlags;
}

std::vector<std::string> QtNameFilters(const std::string& filter) {
    const QStringList parts = Q(filter).split(QLatin1Char('|'));
    std::vector<std::string> filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& pattern : patterns) pattern = pattern.trimmed();
        patterns.removeAll(QString());
        if (patterns.isEmpty()) continue;
        filters.push_back(
            (parts[i].trimmed() + QLatin1String(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')'))
                .toStdString());
    }
    return filters;
}

std::string DialogResult(const std::string& chosen) {
    std::string path = CutAtNul(chosen);
    // The platform's dialog hands back at most this many characters and fails
    // on a longer path; it never returns a shortened one.
    if (static_cast<std::size_t>(Q(path).toUcs4().size()) > kFileDialogPathLimit) return {};
    return path;
}

std::string DialogStartFolder(const std::string& documentFile) {
    return Trapped(std::string(), [&] {
        if (!documentFile.empty()) return FolderOf(documentFile);
        if (!LastFolder().empty()) return LastFolder();
        return QDir::toNativeSeparators(QDir::homePath()).toStdString();
    });
}

std::string FileDialog(QWidget* owner, bool save, const std::string& filter, const std::string& initialFolder,
                       const std::string& initialName, std::int32_t flags) {
    return Trapped(std::string(), [&] {
        const FileDialogRequest request{save, filter, SetTrailingSep(initialFolder, true), initialName,
                                        ResolveDialogFlags(save, flags)};
        const std::string chosen = Hook() ? Hook()(request) : ShowDialog(owner, request);
        // The owner repaints where the dialog was before the caller starts a long command.
        for (int i = 0; i < 2; ++i) QCoreApplication::processEvents();
        const std::string result = DialogResult(chosen);
        if (!result.empty()) LastFolder() = FolderOf(result);
        return result;
    });
}

}  // namespace kalvor
