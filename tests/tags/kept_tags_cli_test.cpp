// Tags kept end to end: every tagged source, through every kind of edit that
// writes a file for the user, judged by ffprobe, mp3val, TagLib's reading and
// a frame by frame comparison with the same edit written without tags.
#include <gtest/gtest.h>
#include <taglib/mpegfile.h>
#include <taglib/tag.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <sstream>
#include <tuple>

#include "support/audio_checkers.h"
#include "support/document_harness.h"
#include "support/param_names.h"
#include "support/test_support.h"

namespace kalvor {
namespace {

using test::ShellQuote;

struct Source {
    const char* file;  // in the test audio's tagged/ folder
    // The file whose edits, written without tags, hold the frames every output
    // must hold: the source itself, or for ape.mp3 the file it was made from,
    // since without kept tags some of its tag's bytes are taken for audio.
    const char* audioTwin;
};

struct EditKind {
    const char* name;
    const char* command;               // $SRC the source, $DIR the output folder
    std::vector<const char*> outputs;  // in $DIR
    bool pieces;                       // the outputs are split pieces 1..N
};

std::string Tagged(const std::string& file) {
    return test::TestAudio("tagged/" + file);
}

std::string Expand(std::string text, const std::string& source, const std::string& dir) {
    for (const auto& [key, value] : {std::pair{std::string("$SRC"), source}, std::pair{std::string("$DIR"), dir}})
        for (auto at = text.find(key); at != std::string::npos; at = text.find(key))
            text.replace(at, key.size(), ShellQuote(value));
    return text;
}

using Tags = std::map<std::string, std::string>;

// The file's tags as ffprobe reads them (title, artist, album, track, TLEN…).
Tags FfprobeTags(const std::string& path) {
    const auto r = test::Run("ffprobe -v error -show_entries format_tags -of default=nw=1 " + ShellQuote(path));
    Tags tags;
    std::istringstream lines(r.out);
    for (std::string line; std::getline(lines, line);) {
        const auto eq = line.find('=');
        if (line.rfind("TAG:", 0) == 0 && eq != std::string::npos) tags[line.substr(4, eq - 4)] = line.substr(eq + 1);
    }
    return tags;
}

std::string Get(const Tags& tags, const std::string& key) {
    const auto it = tags.find(key);
    return it == tags.end() ? std::string() : it->second;
}

// Title, artist, album and track number as TagLib reads them from any of the
// file's tags (ffprobe does not read APEv2 tags of MPEG files).
std::vector<std::string> TagLibFields(const std::string& path) {
    TagLib::MPEG::File file(path.c_str(), false);
    const TagLib::Tag* tag = file.tag();
    if (!tag) return {};
    return {tag->title().to8Bit(true), tag->artist().to8Bit(true), tag->album().to8Bit(true),
            std::to_string(tag->track())};
}

test::Bytes CoverOf(const std::string& path, const std::string& picture) {
    test::Run("ffmpeg -v error -y -i " + ShellQuote(path) + " -an -c:v copy -f image2 " + ShellQuote(picture));
    return test::ReadFile(picture);
}

class KeptTagsTest : public ::testing::TestWithParam<std::tuple<Source, EditKind>> {
   protected:
    int RunCli(const std::string& options, const std::string& command, const std::string& source,
               const std::string& dir) {
        const auto r = test::Run(ShellQuote(test::CliPath()) + " " + options + Expand(command, source, dir));
        EXPECT_EQ(r.exitCode, 0) << r.err;
        return r.exitCode;
    }
    test::TempDir tagged, plain;
};

TEST_P(KeptTagsTest, OutputsCarryTheSourcesTagsAroundTheSameFrames) {
    const auto& [source, kind] = GetParam();
    const std::string src = Tagged(source.file);
    ASSERT_EQ(RunCli("", kind.command, src, tagged.path().string()), 0);
    ASSERT_EQ(RunCli("--no-tags ", kind.command, Tagged(source.audioTwin), plain.path().string()), 0);
    const std::vector<std::string> sourceFields = TagLibFields(src);
    const bool untagged = std::string(source.file) == "none.mp3";
    ASSERT_EQ(sourceFields.at(0), untagged ? "" : "My Title");
    const Tags sourceTags = FfprobeTags(src);

    for (std::size_t i = 0; i < kind.outputs.size(); ++i) {
        SCOPED_TRACE(kind.outputs[i]);
        const std::string out = tagged.file(kind.outputs[i]), ref = plain.file(kind.outputs[i]);
        if (untagged) {
            EXPECT_EQ(test::ReadFile(out), test::ReadFile(ref));
        }
        EXPECT_EQ(test::SplitFrames(test::ReadFile(out)), test::SplitFrames(test::ReadFile(ref)));
        EXPECT_EQ(test::BrokenFrameWarnings(out), std::vector<std::string>{});

        const Tags tags = FfprobeTags(out);
        for (const char* key : {"title", "artist", "album"}) EXPECT_EQ(Get(tags, key), Get(sourceTags, key)) << key;
        std::vector<std::string> expected = sourceFields;
        const int piece = kind.pieces ? static_cast<int>(i) + 1 : 0;
        if (piece > 0 && !untagged) {
            expected[3] = std::to_string(piece);
            if (!Get(sourceTags, "title").empty()) {
                EXPECT_EQ(Get(tags, "track"), std::to_string(piece) + "/" + std::to_string(kind.outputs.size()));
            }
        }
        EXPECT_EQ(TagLibFields(out), expected);

        const std::string length = Get(tags, "TLEN");
        EXPECT_EQ(length.empty(), Get(sourceTags, "TLEN").empty());
        if (!length.empty()) {
            const double framesMs = test::FfprobeFrameCount(out) * 1152 * 1000.0 / 44100;
            EXPECT_NEAR(std::atof(length.c_str()), framesMs, 1152 * 1000.0 / 44100);
        }
        if (std::string(source.file) == "cover.mp3") {
            EXPECT_EQ(CoverOf(out, tagged.file("cover.jpg")), test::ReadFile(Tagged("cover.jpg")));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    SourcesAndEdits, KeptTagsTest,
    ::testing::Combine(
        // ID3v2.3 without ID3v1 is the cover's file.
        ::testing::Values(Source{"lame.mp3", "lame.mp3"}, Source{"ff23v1.mp3", "ff23v1.mp3"},
                          Source{"ff24v1.mp3", "ff24v1.mp3"}, Source{"ff24.mp3", "ff24.mp3"},
                          Source{"ape.mp3", "none.mp3"}, Source{"cover.mp3", "cover.mp3"},
                          Source{"none.mp3", "none.mp3"}),
        ::testing::Values(
            EditKind{"Delete", "edit $SRC $DIR/out.mp3 select 5 8 delete", {"out.mp3"}, false},
            EditKind{"CutPaste", "edit $SRC $DIR/out.mp3 select 3 6 cut select 12 12 paste", {"out.mp3"}, false},
            EditKind{"PasteFile", "edit $SRC $DIR/out.mp3 select 10 10 paste-file $SRC", {"out.mp3"}, false},
            EditKind{"WriteSelection", "edit $SRC $DIR/out.mp3 select 2 9 write $DIR/sel.mp3", {"sel.mp3"}, false},
            EditKind{"Split", "split $SRC $DIR/p.mp3 6 13", {"p - 01.mp3", "p - 02.mp3", "p - 03.mp3"}, true},
            EditKind{"Build", "build $SRC $DIR/b.mp3 1 4 9 15", {"b.mp3"}, false})),
    [](const auto& info) {
        return test::TestNameOfFile(std::get<0>(info.param).file) + "_" + std::get<1>(info.param).name;
    });

struct SwitchCase {
    const char* name;
    const char* profile;  // kalvor.ini beside the program
    const char* command;  // $SRC, $DIR
    bool tagged;
};

class KeepTagsSwitchTest : public ::testing::TestWithParam<SwitchCase> {};

// The program reads its settings beside itself, so it runs from a folder of its own.
TEST_P(KeepTagsSwitchTest, TheSettingAndTheOptionDecide) {
#ifndef KALVOR_CLI_READS_SETTINGS
    if (std::string(GetParam().profile).find("KeepTags") != std::string::npos)
        GTEST_SKIP() << "kalvor-cli is built without the settings store";
#endif
    test::TempDir dir;
    const std::string program = dir.file("kalvor-cli");
    std::filesystem::copy_file(test::CliPath(), program);
    test::WriteFile(dir.file("kalvor.ini"),
                    test::Bytes(GetParam().profile, GetParam().profile + std::strlen(GetParam().profile)));
    const auto r =
        test::Run(ShellQuote(program) + " " + Expand(GetParam().command, Tagged("lame.mp3"), dir.path().string()));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const test::Bytes head = test::ReadRange(dir.file("out.mp3"), 0, 3);
    EXPECT_EQ(head == test::Bytes({'I', 'D', '3'}), GetParam().tagged);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, KeepTagsSwitchTest,
    ::testing::Values(
        SwitchCase{"KeptWhenNotSet", "[conf]\n", "edit $SRC $DIR/out.mp3 select 5 8 delete", true},
        SwitchCase{"KeepTagsOff", "[conf]\nKeepTags=0\n", "edit $SRC $DIR/out.mp3 select 5 8 delete", false},
        SwitchCase{"NoTagsBeforeTheCommand", "[conf]\n", "--no-tags edit $SRC $DIR/out.mp3 select 5 8 delete", false},
        SwitchCase{"NoTagsAfterIt", "[conf]\n", "build --no-tags $SRC $DIR/out.mp3 1 2", false}),
    [](const auto& info) { return std::string(info.param.name); });

// A piece that cannot be made says why, as it does without tags.
TEST(KeptTagsCliTest, APieceInAMissingFolderCannotBeWritten) {
    test::TempDir dir;
    const auto r = test::Run(ShellQuote(test::CliPath()) + " --lang en split " + ShellQuote(Tagged("lame.mp3")) + " " +
                             ShellQuote(dir.file("none/p.mp3")) + " 5");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("cannot be written"), std::string::npos) << r.err;
}

// ExactFrames=1 beside the program writes what --exact-frames writes.
TEST(ExactFramesSettingTest, WritesWhatTheSwitchWrites) {
#ifndef KALVOR_CLI_READS_SETTINGS
    GTEST_SKIP() << "kalvor-cli is built without the settings store";
#endif
    test::TempDir dir;
    const std::string program = dir.file("kalvor-cli");
    std::filesystem::copy_file(test::CliPath(), program);
    const std::string profile = "[conf]\nExactFrames=1\n";
    test::WriteFile(dir.file("kalvor.ini"), test::Bytes(profile.begin(), profile.end()));
    const std::string edit = " edit " + ShellQuote(test::TestAudio("vbr.mp3")) + " ";
    const std::string steps = " select 5 8 delete";
    for (const auto& [cli, out] : {std::pair{ShellQuote(program), "setting.mp3"},
                                   std::pair{ShellQuote(test::CliPath()) + " --exact-frames", "switch.mp3"},
                                   std::pair{ShellQuote(test::CliPath()), "repacked.mp3"}}) {
        const auto r = test::Run(cli + edit + ShellQuote(dir.file(out)) + steps);
        ASSERT_EQ(r.exitCode, 0) << r.err;
    }
    EXPECT_EQ(test::ReadFile(dir.file("setting.mp3")), test::ReadFile(dir.file("switch.mp3")));
    EXPECT_NE(test::ReadFile(dir.file("setting.mp3")), test::ReadFile(dir.file("repacked.mp3")));
}

}  // namespace
}  // namespace kalvor
