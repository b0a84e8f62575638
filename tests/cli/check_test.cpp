// kalvor-cli check: the walked frames against the file's Xing/Info header.
#include <gtest/gtest.h>

#include "mpeg/finish_file.h"
#include "support/cli_program.h"
#include "support/frame_cut.h"
#include "support/test_support.h"

namespace kalvor {
namespace {

using test::Bytes;

test::CommandResult Check(const std::string& path) {
    return test::Run(test::CliProgram() + " check " + test::ShellQuote(path));
}

TEST(CheckCommand, EncoderOutputAgrees) {
    const test::CommandResult r = Check(test::TestAudio("vbr.mp3"));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("frames: 805 (after the header frame)\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("duration: 21.029 s\n"), std::string::npos) << r.out;  // 805 x 1152 / 44100
    EXPECT_NE(r.out.find("header: Xing\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("header frames: 805 (real 805)\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("agree: yes\n"), std::string::npos) << r.out;
}

TEST(CheckCommand, AStaleHeaderDisagreesUntilTheFileIsFinished) {
    test::TempDir dir;
    const std::string path = dir.file("cut.mp3");
    test::WriteFile(path, test::DropFrames(test::ReadFile(test::TestAudio("vbr.mp3")), 300, 416));
    test::CommandResult r = Check(path);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.out.find("frames: 689 (after the header frame)\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("duration: 17.998 s\n"), std::string::npos) << r.out;  // 689 x 1152 / 44100
    EXPECT_NE(r.out.find("header frames: 805 (real 689)\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("agree: no\n"), std::string::npos) << r.out;

    ASSERT_EQ(FinishWrittenFile(path, false), 1);
    r = Check(path);
    EXPECT_EQ(r.exitCode, 0) << r.out;
    EXPECT_NE(r.out.find("table of contents up to date: yes\n"), std::string::npos) << r.out;
}

TEST(CheckCommand, NoHeaderIsNoDisagreement) {
    const test::CommandResult r = Check(test::TestAudio("mp2_48k_tags.mp2"));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("frames: 625\n"), std::string::npos) << r.out;  // 15 s of 1152 samples at 48 kHz
    EXPECT_NE(r.out.find("duration: 15.000 s\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("header: none\n"), std::string::npos) << r.out;
}

TEST(CheckCommand, WhatCannotBeAnalysedFailsWithAReason) {
    test::TempDir dir;
    for (const std::string& path : {dir.file("missing.mp3"), test::TestAudio("tone.wav"), dir.path().string()}) {
        const test::CommandResult r = Check(path);
        EXPECT_EQ(r.exitCode, 1) << path;
        EXPECT_NE(r.err.find("kalvor-cli: " + path + ": "), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "") << path;
    }
    const test::CommandResult usage = test::Run(test::CliProgram() + " check");
    EXPECT_EQ(usage.exitCode, 2);
}

}  // namespace
}  // namespace kalvor
