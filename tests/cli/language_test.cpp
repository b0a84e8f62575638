// kalvor-cli speaks the system's language, or the one --lang names.
#include <gtest/gtest.h>

#include "support/test_support.h"

namespace kalvor {
namespace {

using test::ShellQuote;

struct LanguageCase {
    const char* name;
    const char* lang;  // LANG for the run
    const char* words;
    int exitCode;
    const char* out;
};

class CliLanguageTest : public ::testing::TestWithParam<LanguageCase> {};

// A build of the core alone has no catalogue and says so when English is asked for.
bool HasCatalogue() {
    static const bool has =
        test::Run(ShellQuote(test::CliPath()) + " --lang en --help").err.find("no English") == std::string::npos;
    return has;
}

TEST_P(CliLanguageTest, MessagesInTheChosenLanguage) {
    const test::TempDir dir;
    const LanguageCase& c = GetParam();
    if (!HasCatalogue() && std::string(c.out).find("Done") != std::string::npos) GTEST_SKIP() << "no catalogue";
    const std::string command = "env LC_ALL= LC_MESSAGES= LANG=" + std::string(c.lang) + " " +
                                ShellQuote(test::CliPath()) + " " + c.words + " edit " +
                                ShellQuote(test::TestAudio("cbr128_plain.mp3")) + " " +
                                ShellQuote(dir.file("out.mp3")) + " select 1 2 delete";
    const auto r = test::Run(command);
    EXPECT_EQ(r.exitCode, c.exitCode) << r.err;
    EXPECT_EQ(r.out, c.out);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CliLanguageTest,
    ::testing::Values(LanguageCase{"JapaneseSystem", "ja_JP.UTF-8", "", 0, "削除処理中…\n処理完了\n"},
                      LanguageCase{"EnglishSystem", "en_US.UTF-8", "", 0, "Deleting…\nDone\n"},
                      LanguageCase{"OtherSystem", "C.UTF-8", "", 0, "Deleting…\nDone\n"},
                      LanguageCase{"EnglishAsked", "ja_JP.UTF-8", "--lang en", 0, "Deleting…\nDone\n"},
                      LanguageCase{"JapaneseAsked", "en_US.UTF-8", "--lang ja", 0, "削除処理中…\n処理完了\n"},
                      LanguageCase{"UnknownLanguage", "ja_JP.UTF-8", "--lang fr", 2, ""},
                      LanguageCase{"NoLanguage", "ja_JP.UTF-8", "--lang", 2, ""}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kalvor
