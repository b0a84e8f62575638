#pragma once
// kalvor's translation catalogue, built into the program: the English of every
// Japanese text of the windows and of the core.
#include <QTranslator>

#include "services/ui_language.h"
#include "services/ui_text.h"

namespace kalvor {

// Loads kalvor's catalogue for language into translator. Japanese, the
// language the texts are written in, has none: false, as when loading fails.
bool LoadCatalogue(QTranslator& translator, UiLanguage language);

// The core's text lookup (SetTextLookup) through translator, which must outlive it.
TextLookup LookupThrough(const QTranslator& translator);

}  // namespace kalvor
