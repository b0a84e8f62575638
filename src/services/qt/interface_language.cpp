#include "services/qt/interface_language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "services/fault_trap.h"

namespace kalvor {

bool ApplyInterfaceLanguage(const std::string& language) {
    return Trapped(false, [&] {
        static QTranslator* installed = nullptr;
        static std::string installedLanguage;
        const QLocale locale(QString::fromStdString(language));
        QLocale::setDefault(locale);
        if (installed && installedLanguage == language) return true;
        if (!QCoreApplication::instance()) return false;
        auto translator = std::make_unique<QTranslator>(QCoreApplication::instance());
        const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
        if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"), folder)) return false;
        if (installed) {
            QCoreApplication::removeTranslator(installed);
            delete installed;
        }
        installed = translator.release();
        installedLanguage = language;
        return QCoreApplication::installTranslator(installed);
    });
}

}  // namespace kalvor
