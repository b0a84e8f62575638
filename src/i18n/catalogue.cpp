#include "i18n/catalogue.h"

// A resource of a static library is registered by hand before its first use.
static void RegisterCatalogueResource() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(kalvor_catalogue);
        return true;
    }();
    (void)registered;
}

namespace kalvor {

bool LoadCatalogue(QTranslator& translator, UiLanguage language) {
    if (language == UiLanguage::Japanese) return false;
    RegisterCatalogueResource();
    return translator.load(QStringLiteral(":/i18n/kalvor_%1.qm").arg(QLatin1String(UiLanguageCode(language))));
}

TextLookup LookupThrough(const QTranslator& translator) {
    return [&translator](const char* context, const std::string& text) {
        return translator.translate(context, text.c_str()).toStdString();
    };
}

}  // namespace kalvor
