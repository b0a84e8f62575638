#include "services/qt/interface_language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>

#include "services/fault_trap.h"

namespace kalvor {

bool ApplyInterfaceLanguage(const std::string& language) {
    return Trapped(false, [&] {
        static std::unique_ptr<QTranslator> installed;
        static std::string installedLanguage;
        const QLocale locale(QString::fromStdString(language));
        QLocale::setDefault(locale);
        if (installed && installedLanguage == language) return true;
        if (!QCoreApplication::instance()) return false;
        // The catalogue of the language before goes even when this one is
        // missing: its texts would be in a language nobody chose.
        if (installed) QCoreApplication::removeTranslator(installed.get());
        installed.reset();
        installedLanguage.clear();
        auto translator = std::make_unique<QTranslator>();
        const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
        if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"), folder)) return false;
        installed = std::move(translator);
        installedLanguage = language;
        return QCoreApplication::installTranslator(installed.get());
    });
}

}  // namespace kalvor
