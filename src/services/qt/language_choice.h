#pragma once
// The language the windows speak, and speaking it: kalvor's own catalogue, Qt's
// texts in its dialogs and standard buttons (its "qtbase" catalogue), and the
// core's texts handed up through UiText.
#include <string>

#include "services/ui_language.h"

namespace kalvor {

// The setting "UiLanguage" ("auto", "ja", "en"; read after ChooseSettingsStore)
// over the system's language (Japanese when its locale is, English otherwise).
UiLanguage ChosenUiLanguage();

// Speaks language from now on: installs kalvor's catalogue for it and Qt's
// own from Qt's translations folder in the application (every widget hears a
// LanguageChange), makes it Qt's default locale, and fills the core's text
// lookup. true when every catalogue the language needs was found.
bool SpeakUiLanguage(UiLanguage language);

// The language SpeakUiLanguage last made the windows speak (Japanese before).
UiLanguage SpokenUiLanguage();

}  // namespace kalvor
