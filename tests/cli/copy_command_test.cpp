// kalvor-cli copy, end to end.
#include <gtest/gtest.h>

#include <filesystem>

#include "mpeg/FCT_mpeg.h"
#include "support/audio_checkers.h"
#include "support/cli_program.h"
#include "support/test_support.h"

namespace kalvor {
namespace {

using test::ShellQuote;

test::CommandResult Copy(const std::string& src, const std::string& dst, const std::string& rest) {
    return test::Run(test::CliProgram() + " copy " + ShellQuote(src) + " " + ShellQuote(dst) + " " + rest);
}

// Cutting at one snapped position and appending both parts rebuilds the audio.
TEST(CopyCommand, SnappedPartsAppendToTheWholeAudio) {
    test::TempDir dir;
    const std::string src = test::TestAudio("cbr128_tags.mp3"), dst = dir.file("out.mp3");
    StreamInfo info;
    ASSERT_EQ(AnalyzeStream(src, info), 1);
    const std::string cut = std::to_string(info.FirstFramePos + 100000);
    test::CommandResult r = Copy(src, dst, "1 " + cut + " --snap-from --snap-to");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto firstPart = std::filesystem::file_size(dst);
    EXPECT_EQ(r.out + r.err, "");
    r = Copy(src, dst, "--snap-from " + cut + " " + std::to_string(info.AudioEndPos));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(test::ReadFile(dst), test::ReadRange(src, info.FirstFramePos - 1, info.AudioLength));
    EXPECT_GT(firstPart, 100000u);
    EXPECT_LT(firstPart, 100000u + 418);
    EXPECT_EQ(test::BrokenFrameWarnings(dst), std::vector<std::string>{});
}

TEST(CopyCommand, AnEmptyRangeWritesNothingAndIsNoFailure) {
    test::TempDir dir;
    const test::CommandResult r = Copy(test::TestAudio("cbr128.mp3"), dir.file("out.mp3"), "1000 1000");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.err.find("nothing copied"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.file("out.mp3")));
}

struct FailCase {
    const char* what;
    const char* src;  // names in a temporary folder holding text.mp3, 5000 bytes of text
    const char* dst;
    const char* rest;
    const char* reason;
    std::uintmax_t written = 0;
};
void PrintTo(const FailCase& c, std::ostream* os) {
    *os << c.what;
}
class CopyFailure : public ::testing::TestWithParam<FailCase> {};

TEST_P(CopyFailure, SaysWhyAndWritesNoMoreThanItCould) {
    test::TempDir dir;
    test::WriteFile(dir.file("text.mp3"), test::Bytes(5000, 'a'));
    const std::string src = dir.file(GetParam().src), dst = dir.file(GetParam().dst);
    const test::CommandResult r = Copy(src, dst, GetParam().rest);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "kalvor-cli: copy " + src + " to " + dst + ": " + GetParam().reason + "\n");
    if (GetParam().written == 0)
        EXPECT_FALSE(std::filesystem::exists(dst));
    else
        EXPECT_EQ(std::filesystem::file_size(dst), GetParam().written);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CopyFailure,
    ::testing::Values(FailCase{"missing_source", "missing.mp3", "out.mp3", "1 100", "the source cannot be read"},
                      FailCase{"missing_folder", "text.mp3", "no/such/out.mp3", "1 100",
                               "the destination cannot be written"},
                      FailCase{"not_mpeg", "text.mp3", "out.mp3", "1 100 --snap-to",
                               "the source cannot be analysed: no MPEG audio frame header found"},
                      FailCase{"past_the_end", "text.mp3", "out.mp3", "4001 9000",
                               "the source ends before the end of the range (after 1000 bytes)", 1000}),
    [](const auto& i) { return std::string(i.param.what); });

TEST(CopyCommand, BadUsageShowsTheUsage) {
    for (const char* args : {"a b 1", "a b 1 2 3", "a b x 2", "a b 1 2x", "a b 1 99999999999", "a b 1 2 --snap"}) {
        const test::CommandResult r = test::Run(test::CliProgram() + " copy " + args);
        EXPECT_EQ(r.exitCode, 2) << args;
        EXPECT_NE(r.err.find("copy SRC DST FROM TO"), std::string::npos) << args;
    }
}

}  // namespace
}  // namespace kalvor
