#pragma once
// Which language kalvor's windows and kalvor-cli speak. Japanese is the
// language every text is written in; English comes from the catalogue.
#include <optional>
#include <string>

namespace kalvor {

enum class UiLanguage { Japanese, English };

// "ja" or "en": the setting's and the switch's spelling, and the catalogue's suffix.
const char* UiLanguageCode(UiLanguage language);

// The language a code names ("ja", "en", in any case); nothing for any other text.
std::optional<UiLanguage> ParseUiLanguage(const std::string& code);

// The language to speak: the one the setting "UiLanguage" names ("ja", "en"),
// otherwise ("auto", empty, or text it does not know) the system's: Japanese
// when its locale (such as "ja_JP.UTF-8") is Japanese, English otherwise.
UiLanguage ChooseUiLanguage(const std::string& setting, const std::string& systemLocale);

}  // namespace kalvor
