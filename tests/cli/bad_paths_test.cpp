// Paths that are no readable file: every command fails with exit 1 and the
// one reason that fits, never a report or a message that says otherwise.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <vector>

#include "support/cli_program.h"
#include "support/test_support.h"

namespace kalvor {
namespace {

struct BadPath {
    const char* what;
    const char* reason;        // the reason every command gives
    const char* reportReason;  // the report's, where it differs
};

class BadPaths : public ::testing::TestWithParam<BadPath> {
   protected:
    std::string PathFor(const std::string& what) {
        if (what == "device") return "/dev/zero";
        const std::string path = dir_.file(what + ".mp3");
        if (what == "empty") test::WriteFile(path, {});
        if (what == "fifo") ::mkfifo(path.c_str(), 0600);
        if (what == "folder") std::filesystem::create_directory(path);
        if (what == "huge") {
            test::WriteFile(path, {});
            std::filesystem::resize_file(path, std::uintmax_t{3} << 30);  // sparse: 3 GiB of nothing on disk
        }
        return path;
    }
    test::TempDir dir_;
};

TEST_P(BadPaths, EveryCommandFailsWithTheSameReason) {
    const BadPath& c = GetParam();
    const std::string path = test::ShellQuote(PathFor(c.what));
    const std::string out = test::ShellQuote(dir_.file("out.mp3"));
    const std::vector<std::string> commands = {"info " + path,
                                               "report " + path,
                                               "check " + path,
                                               "edit " + path + " " + out + " select-all copy",
                                               "split " + path + " " + out + " 1",
                                               "build " + path + " " + out + " 0 1"};
    for (const std::string& command : commands) {
        const test::CommandResult r = test::Run(test::CliProgram() + " " + command);
        EXPECT_EQ(r.exitCode, 1) << command;
        const bool report = command.rfind("report", 0) == 0;
        EXPECT_NE(r.err.find(report && c.reportReason ? c.reportReason : c.reason), std::string::npos)
            << command << ": " << r.err;
        // The document's own message must not contradict it.
        if (std::string(c.what) != "empty") {
            EXPECT_EQ(r.out.find("MPEGオーディオファイルではありません"), std::string::npos) << command;
        }
        EXPECT_FALSE(std::filesystem::exists(dir_.file("out.mp3"))) << command;
    }
}

INSTANTIATE_TEST_SUITE_P(Paths, BadPaths,
                         ::testing::Values(BadPath{"missing", "does not exist", "no such file"},
                                           BadPath{"empty", "too short", "the file is empty"},
                                           BadPath{"device", "not a file", nullptr},
                                           BadPath{"fifo", "not a file", nullptr},
                                           BadPath{"folder", "not a file", nullptr},
                                           BadPath{"huge", "too large", nullptr}),
                         [](const auto& info) { return std::string(info.param.what); });

}  // namespace
}  // namespace kalvor
