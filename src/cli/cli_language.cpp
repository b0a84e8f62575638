#include "cli/cli_language.h"

#include <cstdlib>

#include "cli/cli_command.h"
#ifdef KALVOR_HAVE_CATALOGUE
#include "i18n/catalogue.h"
#endif

namespace kalvor::cli {

std::optional<UiLanguage> TakeLanguageSwitch(std::vector<std::string>& words) {
    std::optional<UiLanguage> language;
    for (std::size_t i = 0; i < words.size();) {
        if (words[i] != "--lang") {
            ++i;
            continue;
        }
        if (i + 1 >= words.size()) throw UsageError{"--lang needs ja or en"};
        language = ParseUiLanguage(words[i + 1]);
        if (!language) throw UsageError{"--lang takes ja or en, not " + words[i + 1]};
        words.erase(words.begin() + static_cast<std::ptrdiff_t>(i), words.begin() + static_cast<std::ptrdiff_t>(i) + 2);
    }
    return language;
}

std::string SystemMessagesLocale() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') return value;
    }
    return {};
}

bool SpeakLanguage(UiLanguage language) {
    if (language == UiLanguage::Japanese) return true;
#ifdef KALVOR_HAVE_CATALOGUE
    // Lives as long as the program: the lookup reads it until the end.
    static QTranslator translator;
    if (!LoadCatalogue(translator, language)) return false;
    SetTextLookup(LookupThrough(translator));
    return true;
#else
    return false;
#endif
}

}  // namespace kalvor::cli
