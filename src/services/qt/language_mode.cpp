#include "services/qt/language_mode.h"

#include <QFontDatabase>
#include <QLocale>

#include "services/fault_trap.h"
#include "services/qt/settings_store.h"

namespace kalvor {
namespace {
bool g_useOwnUiFont = false;
bool g_decided = false;
}  // namespace

bool DecideUseOwnUiFont(bool japaneseSystem, const std::function<std::string()>& readLangMode,
                        bool japaneseFontsInstalled) {
    if (!japaneseSystem) return false;
    if (ParseSettingInt32(readLangMode()).value_or(0) != 0) return false;
    return !japaneseFontsInstalled;
}

void DecideLanguageMode() {
    if (g_decided) return;
    g_decided = true;
    TrappedRun([] {
        g_useOwnUiFont = DecideUseOwnUiFont(
            IsJapaneseSystem(), [] { return ReadSetting("LangMode", std::int32_t{0}); }, JapaneseFontsInstalled());
    });
}

bool UseOwnUiFont() {
    return g_useOwnUiFont;
}

bool IsJapaneseSystem() {
    return QLocale::system().language() == QLocale::Japanese;
}

bool JapaneseFontsInstalled() {
    return !QFontDatabase::families(QFontDatabase::Japanese).isEmpty();
}

}  // namespace kalvor
