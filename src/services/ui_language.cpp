#include "services/ui_language.h"

#include "services/path_text.h"

namespace kalvor {

const char* UiLanguageCode(UiLanguage language) {
    return language == UiLanguage::Japanese ? "ja" : "en";
}

std::optional<UiLanguage> ParseUiLanguage(const std::string& code) {
    const std::string lower = AsciiLower(TrimSpaces(code));
    if (lower == "ja") return UiLanguage::Japanese;
    if (lower == "en") return UiLanguage::English;
    return std::nullopt;
}

UiLanguage ChooseUiLanguage(const std::string& setting, const std::string& systemLocale) {
    if (const auto chosen = ParseUiLanguage(setting)) return *chosen;
    // "ja", "ja_JP", "ja_JP.UTF-8", "ja-JP": the language is what comes before the region.
    const std::string language = AsciiLower(systemLocale.substr(0, systemLocale.find_first_of("_-.@")));
    return language == "ja" ? UiLanguage::Japanese : UiLanguage::English;
}

}  // namespace kalvor
