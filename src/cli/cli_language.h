#pragma once
// The language of the document's messages that kalvor-cli prints: the system's
// (Japanese when its locale is, English otherwise), or the one "--lang ja|en" names.
#include <optional>
#include <string>
#include <vector>

#include "services/ui_language.h"

namespace kalvor::cli {

// Takes "--lang CODE" out of words, wherever it stands, and returns the language
// CODE names; nothing when there is no such switch. A CODE other than ja or en
// is a UsageError.
std::optional<UiLanguage> TakeLanguageSwitch(std::vector<std::string>& words);

// The locale the system gives messages: LC_ALL, LC_MESSAGES or LANG, the first set.
std::string SystemMessagesLocale();

// Makes the core's texts speak language from now on. false when English is
// asked for and this build has no catalogue (the texts stay Japanese).
bool SpeakLanguage(UiLanguage language);

}  // namespace kalvor::cli
