#include "services/log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>

#include "services/app_folder.h"
#include "support/test_support.h"

namespace kalvor {
namespace {
namespace fs = std::filesystem;
using test::Bytes;
using test::ReadFile;
using test::WriteFile;

class Log : public testing::Test {
protected:
    void SetUp() override { SetAppFolder(dir.path().string()); }
    void TearDown() override {
        SetAppFolder("");
        SetLogAll(0);
    }
    std::string LogFile(const std::string& ext = ".log") const { return dir.file("log/kalvor" + ext); }
    std::string Text(const std::string& path) const {
        const Bytes bytes = ReadFile(path);
        return std::string(bytes.begin(), bytes.end());
    }
    test::TempDir dir;
};

const std::regex kLine(R"(\d{4}/\d{2}/\d{2} \d{2}:\d{2}:\d{2} )");

TEST_F(Log, WritesNothingWhileOff) {
    WriteLog("quiet");
    WriteLog("quiet", 1);
    EXPECT_FALSE(fs::exists(dir.file("log")));
}

TEST_F(Log, AppendsStampedLinesEndedByCrLf) {
    SetLogAll(1);
    WriteLog("first");
    WriteLog("二番目");
    const std::string stamp = R"(\d{4}/\d{2}/\d{2} \d{2}:\d{2}:\d{2} )";
    EXPECT_TRUE(std::regex_match(Text(LogFile()), std::regex(stamp + "first\r\n" + stamp + "二番目\r\n")))
        << Text(LogFile());
}

TEST_F(Log, ForceWritesWhileOffAndKindChoosesTheErrFile) {
    WriteLog("forced", 0, true);
    WriteLog("broken", 2, true);
    EXPECT_NE(Text(LogFile()).find("forced\r\n"), std::string::npos);
    EXPECT_NE(Text(LogFile(".err")).find("broken\r\n"), std::string::npos);
    EXPECT_EQ(Text(LogFile()).find("broken"), std::string::npos);
}

TEST_F(Log, StartsAgainOnlyAboveTheSizeLimit) {
    SetLogAll(1);
    fs::create_directory(dir.file("log"));
    WriteFile(LogFile(), Bytes(kLogSizeLimit, 'a'));
    WriteLog("kept");
    EXPECT_EQ(fs::file_size(LogFile()), kLogSizeLimit + 19 + 7);
    WriteFile(LogFile(), Bytes(kLogSizeLimit + 1, 'a'));
    WriteLog("fresh");
    const std::string text = Text(LogFile());
    EXPECT_EQ(text.size(), 19u + 8u);
    EXPECT_TRUE(std::regex_search(text, kLine));
}

TEST_F(Log, LosesTheLineQuietlyWhenTheFolderCannotBeMade) {
    SetLogAll(1);
    SetAppFolder(dir.file("missing/deeper"));
    WriteLog("lost");
    EXPECT_FALSE(fs::exists(dir.file("missing")));
    SetAppFolder(dir.path().string());
    WriteFile(dir.file("log"), {});  // a file where the folder should be
    WriteLog("lost");
    EXPECT_EQ(fs::file_size(dir.file("log")), 0u);
}

TEST_F(Log, WritesNothingWithoutAProgramFolder) {
    SetLogAll(1);
    SetAppFolder("");
    const fs::path saved = fs::current_path();
    fs::current_path(dir.path());
    WriteLog("nowhere");
    fs::current_path(saved);
    EXPECT_FALSE(fs::exists(dir.file("log")));
}

}  // namespace
}  // namespace kalvor
