#include "services/log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "services/app_folder.h"
#include "support/test_support.h"
#include "support/text_shape.h"

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

const std::string kStamp = "####/##/## ##:##:## ";

TEST_F(Log, WritesNothingWhileOff) {
    WriteLog("quiet");
    WriteLog("quiet", 1);
    EXPECT_FALSE(fs::exists(dir.file("log")));
}

TEST_F(Log, AppendsStampedLinesEndedByCrLf) {
    SetLogAll(1);
    WriteLog("first");
    WriteLog("二番目");
    const std::string text = Text(LogFile());
    ASSERT_EQ(text.size(), 2 * kStamp.size() + 7 + 11) << text;
    EXPECT_TRUE(test::HasShape(text.substr(0, kStamp.size() + 7), kStamp + "first\r\n")) << text;
    EXPECT_TRUE(test::HasShape(text.substr(kStamp.size() + 7), kStamp + "二番目\r\n")) << text;
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
    EXPECT_EQ(fs::file_size(LogFile()), kLogSizeLimit + kStamp.size() + 6);
    WriteFile(LogFile(), Bytes(kLogSizeLimit + 1, 'a'));
    WriteLog("fresh");
    EXPECT_TRUE(test::HasShape(Text(LogFile()), kStamp + "fresh\r\n")) << Text(LogFile());
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
