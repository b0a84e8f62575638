// What a stopped output says: English on the command line, the window's
// Japanese in the message panel.
#include "listwin/list_output_result.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>

#include "document/messages.h"
#include "services/ui_text.h"

namespace kalvor {
namespace {

struct FaultCase {
    ListOutputFault Fault;
    CopyFault Copy;
};

void PrintTo(const FaultCase& c, std::ostream* os) {
    *os << "fault " << static_cast<int>(c.Fault) << " copy " << static_cast<int>(c.Copy);
}

class ListOutputMessages : public ::testing::TestWithParam<FaultCase> {};

// The panel names the file by its name and says the rest in Japanese: no
// English reason reaches the window.
TEST_P(ListOutputMessages, ThePanelSaysWhyInJapanese) {
    ListOutputResult r;
    r.Fault = GetParam().Fault;
    r.Copy.Fault = GetParam().Copy;
    r.File = "/music/Live Take - 02.mp3";
    std::string line = ListOutputMessage(r);
    ASSERT_EQ(line.rfind(std::string(msg::kWriteFailed) + ": ", 0), 0u) << line;
    if (const auto at = line.find("「Live Take - 02.mp3」"); at != std::string::npos) line.erase(at);
    EXPECT_TRUE(std::none_of(line.begin(), line.end(), [](char c) {
        return std::isalpha(static_cast<unsigned char>(c));
    })) << line;
    EXPECT_FALSE(ListOutputFaultText(r).empty());
}

INSTANTIATE_TEST_SUITE_P(EveryFault, ListOutputMessages,
                         ::testing::Values(FaultCase{ListOutputFault::EmptyList, CopyFault::None},
                                           FaultCase{ListOutputFault::NoName, CopyFault::None},
                                           FaultCase{ListOutputFault::OwnFile, CopyFault::None},
                                           FaultCase{ListOutputFault::WorkingFile, CopyFault::None},
                                           FaultCase{ListOutputFault::CannotReplace, CopyFault::None},
                                           FaultCase{ListOutputFault::CopyFailed, CopyFault::AnalysisFailed},
                                           FaultCase{ListOutputFault::CopyFailed, CopyFault::SourceUnreadable},
                                           FaultCase{ListOutputFault::CopyFailed, CopyFault::SourceEnded},
                                           FaultCase{ListOutputFault::CopyFailed, CopyFault::DestinationUnwritable},
                                           FaultCase{ListOutputFault::CopyFailed, CopyFault::Unexpected},
                                           FaultCase{ListOutputFault::HeaderNotUpdated, CopyFault::None},
                                           FaultCase{ListOutputFault::TagsNotWritten, CopyFault::None},
                                           FaultCase{ListOutputFault::NotMovedIntoPlace, CopyFault::None},
                                           FaultCase{ListOutputFault::NothingWritten, CopyFault::None},
                                           FaultCase{ListOutputFault::Unexpected, CopyFault::None}));

TEST(ListOutputMessage, NamesTheFileAndSaysDoneOnSuccess) {
    ListOutputResult r;
    EXPECT_EQ(ListOutputMessage(r), msg::kDone);
    r.Fault = ListOutputFault::CannotReplace;
    r.File = "/music/live - 02.mp3";
    EXPECT_EQ(ListOutputMessage(r), "書き込みに失敗しました: 「live - 02.mp3」は既にあり、置き換えられません");
    EXPECT_EQ(ListOutputFaultText(r), "/music/live - 02.mp3 exists and cannot be replaced");
}

// The window's texts come through the interface's catalogue; the file's name
// goes where the translation puts it, between the translation's own quotes.
TEST(ListOutputMessage, SpeaksTheInterfacesLanguage) {
    SetTextLookup([](const char*, const std::string& text) -> std::string {
        if (text == msg::kWriteFailed) return "Writing failed";
        if (text == msg::kCannotReplace) return "\"{}\" already exists and cannot be replaced";
        return {};
    });
    ListOutputResult r;
    r.Fault = ListOutputFault::CannotReplace;
    r.File = "/music/live - 02.mp3";
    EXPECT_EQ(ListOutputMessage(r), "Writing failed: \"live - 02.mp3\" already exists and cannot be replaced");
    SetTextLookup({});
}

}  // namespace
}  // namespace kalvor
