#include "services/qt/language_choice.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

#include <memory>

#include "i18n/catalogue.h"
#include "services/fault_trap.h"
#include "services/qt/interface_language.h"
#include "services/qt/settings_store.h"
#include "services/ui_text.h"

namespace kalvor {
namespace {

UiLanguage g_spoken = UiLanguage::Japanese;

// kalvor's catalogue for the language spoken now; replaced on a change.
std::unique_ptr<QTranslator>& OwnCatalogue() {
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

void Replace(std::unique_ptr<QTranslator>& slot, std::unique_ptr<QTranslator> next) {
    if (slot) QCoreApplication::removeTranslator(slot.get());
    slot = std::move(next);
    if (slot) QCoreApplication::installTranslator(slot.get());
}

}  // namespace

UiLanguage ChosenUiLanguage() {
    return Trapped(UiLanguage::Japanese, [] {
        return ChooseUiLanguage(ReadSetting("UiLanguage", "auto"), QLocale::system().name().toStdString());
    });
}

bool SpeakUiLanguage(UiLanguage language) {
    return Trapped(false, [&] {
        if (!QCoreApplication::instance()) return false;
        auto own = std::make_unique<QTranslator>();
        // Japanese is what the texts are written in: it needs no catalogue of kalvor's.
        const bool ownFound = language == UiLanguage::Japanese || LoadCatalogue(*own, language);
        Replace(OwnCatalogue(), own->isEmpty() ? nullptr : std::move(own));
        const bool qtFound = ApplyInterfaceLanguage(UiLanguageCode(language));

        SetTextLookup([](const char* context, const std::string& text) {
            return QCoreApplication::translate(context, text.c_str()).toStdString();
        });
        g_spoken = language;
        return ownFound && qtFound;
    });
}

UiLanguage SpokenUiLanguage() {
    return g_spoken;
}

}  // namespace kalvor
