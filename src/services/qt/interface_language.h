#pragma once
// The language of the windows, for what Qt itself shows in them: the texts of
// its file dialogs, standard buttons and the context menus of text fields (its
// "qtbase" catalogue), and the descriptions of file types and the dates and
// sizes its dialogs show (the default locale).
#include <string>

namespace kalvor {

// Makes language ("ja", "en") Qt's default locale and installs Qt's own
// catalogue for it from Qt's translations folder in place of the one of the
// language before. true when the catalogue was found and installed (or already was).
bool ApplyInterfaceLanguage(const std::string& language);

}  // namespace kalvor
