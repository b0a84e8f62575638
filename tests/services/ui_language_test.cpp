// The interface's language: the setting over the system's locale, and the
// core's texts through the lookup a front end installs.
#include <gtest/gtest.h>

#include "services/ui_language.h"
#include "services/ui_text.h"

namespace kalvor {
namespace {

struct ChoiceCase {
    const char* name;
    const char* setting;
    const char* systemLocale;
    UiLanguage expected;
};

class ChooseUiLanguageTest : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(ChooseUiLanguageTest, TheSettingOverTheSystem) {
    EXPECT_EQ(ChooseUiLanguage(GetParam().setting, GetParam().systemLocale), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ChooseUiLanguageTest,
                         ::testing::Values(ChoiceCase{"AutoOnJapanese", "auto", "ja_JP.UTF-8", UiLanguage::Japanese},
                                           ChoiceCase{"AutoOnEnglish", "auto", "en_US.UTF-8", UiLanguage::English},
                                           ChoiceCase{"AutoOnC", "auto", "C.UTF-8", UiLanguage::English},
                                           ChoiceCase{"EmptyIsAuto", "", "ja", UiLanguage::Japanese},
                                           ChoiceCase{"UnknownIsAuto", "fr", "ja-JP", UiLanguage::Japanese},
                                           ChoiceCase{"NoSystemLocale", "auto", "", UiLanguage::English},
                                           ChoiceCase{"JapaneseAsked", "ja", "en_GB.UTF-8", UiLanguage::Japanese},
                                           ChoiceCase{"EnglishAsked", " EN ", "ja_JP.eucJP", UiLanguage::English},
                                           ChoiceCase{"JapaneseLookalike", "auto", "jam_JM", UiLanguage::English}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(UiText, TheLookupGivesTheTextOrLeavesItAsWritten) {
    EXPECT_EQ(UiText("Messages", "処理完了"), "処理完了");
    SetTextLookup([](const char* context, const std::string& text) {
        return std::string(context) == "Messages" && text == "処理完了" ? std::string("Done") : std::string();
    });
    EXPECT_EQ(UiText("Messages", "処理完了"), "Done");
    EXPECT_EQ(UiText("Messages", "元に戻しました"), "元に戻しました");
    EXPECT_EQ(UiText("Transport", "処理完了"), "処理完了");
    SetTextLookup({});
    EXPECT_EQ(UiText("Messages", "処理完了"), "処理完了");
}

}  // namespace
}  // namespace kalvor
