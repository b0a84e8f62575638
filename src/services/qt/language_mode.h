#pragma once
// Whether kalvor gives its windows a Japanese interface face of its own. On a
// Japanese system whose fonts cannot show the Japanese interface texts, the
// windows use the face chosen by ChooseUiFont (ui_fonts.h) instead of the
// platform's; every interface text is Japanese in either case.
#include <functional>
#include <string>

namespace kalvor {

// Decides UseOwnUiFont once, before any window gets its fonts; later calls do nothing.
void DecideLanguageMode();

// The decision: on (true) only on a Japanese system whose setting "LangMode"
// (read only there, through readLangMode) is 0 or not a number and which has no
// Japanese interface fonts.
bool DecideUseOwnUiFont(bool japaneseSystem, const std::function<std::string()>& readLangMode,
                        bool japaneseFontsInstalled);

// The flag set by DecideLanguageMode; off until then.
bool UseOwnUiFont();

// true when the system's locale is Japanese.
bool IsJapaneseSystem();

// true when an installed font family can show Japanese text.
bool JapaneseFontsInstalled();

}  // namespace kalvor
