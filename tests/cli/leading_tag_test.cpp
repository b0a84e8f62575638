// A leading tag (most often a cover picture) moves the audio later in the file
// but not in time: edits, splits and builds at the same times cut the same
// frames from a file with a tag of any size as from the file without one.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "support/pcm_decode.h"
#include "support/test_support.h"

namespace kalvor {
namespace {

using test::Bytes;

// An ID3v2.3 tag of size bytes in all, its body noise as a picture's would be,
// sync-like byte pairs included.
Bytes Id3v2Tag(std::size_t size) {
    if (size == 0) return {};
    Bytes tag{'I', 'D', '3', 3, 0, 0};
    const std::size_t body = size - 10;
    for (int shift = 21; shift >= 0; shift -= 7) tag.push_back(static_cast<std::uint8_t>((body >> shift) & 0x7F));
    std::uint32_t noise = 12345;
    for (std::size_t i = 0; i < body; ++i) {
        noise = noise * 1103515245u + 12345u;
        tag.push_back(static_cast<std::uint8_t>(noise >> 16));
    }
    return tag;
}

struct TagCase {
    const char* name;
    const char* command;  // kalvor-cli command, steps or times follow SRC OUT
    const char* words;
    std::vector<const char*> outputs;  // files written, named from OUT = "out.mp3"
    std::vector<double> durationsMs;   // of each output, decoded

    friend void PrintTo(const TagCase& c, std::ostream* os) { *os << c.name; }
};

class LeadingTag : public ::testing::TestWithParam<TagCase> {
   protected:
    // The outputs of the command on the encoder's file behind a tag of tagSize bytes.
    std::vector<Bytes> Outputs(std::size_t tagSize) {
        const TagCase& c = GetParam();
        const std::string folder = dir_.file(std::to_string(tagSize));
        std::filesystem::create_directory(folder);
        Bytes song = Id3v2Tag(tagSize);
        const Bytes audio = test::ReadFile(test::TestAudio("cbr128.mp3"));
        song.insert(song.end(), audio.begin(), audio.end());
        test::WriteFile(folder + "/song.mp3", song);
        // The frames only: with tags kept each output would start with the tag.
        const test::CommandResult r =
            test::Run(test::CliPath() + " --no-tags " + c.command + " " + test::ShellQuote(folder + "/song.mp3") + " " +
                      test::ShellQuote(folder + "/out.mp3") + " " + c.words);
        EXPECT_EQ(r.exitCode, 0) << tagSize << ": " << r.err;
        std::vector<Bytes> outputs;
        for (std::size_t i = 0; i < c.outputs.size(); ++i) {
            const std::string path = folder + "/" + c.outputs[i];
            // Decoded: a piece's header has decoders drop the frame it carries
            // before its range, which ffprobe's duration still counts.
            const double decodedMs = static_cast<double>(test::DecodeWithFfmpeg(path, 2).Count()) / 44.1;
            EXPECT_NEAR(decodedMs, c.durationsMs[i], 60) << tagSize << ": " << path;
            outputs.push_back(test::ReadFile(path));
        }
        return outputs;
    }
    test::TempDir dir_;
};

TEST_P(LeadingTag, CutsTheSameFramesAsWithoutATag) {
    const std::vector<Bytes> untagged = Outputs(0);
    for (const std::size_t tagSize : {2048u, 116000u}) {
        const std::vector<Bytes> tagged = Outputs(tagSize);
        ASSERT_EQ(tagged.size(), untagged.size());
        for (std::size_t i = 0; i < tagged.size(); ++i) {
            EXPECT_TRUE(tagged[i] == untagged[i]) << "tag of " << tagSize << " bytes, output " << i + 1;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    , LeadingTag,
    ::testing::Values(
        TagCase{"Delete", "edit", "select 12 15 delete", {"out.mp3"}, {17000}},
        // A start within the first 300 audio bytes takes the first frame along.
        TagCase{"CutAtTheStartAndPaste", "edit", "select 0.01 3 cut select 10 10 paste", {"out.mp3"}, {20000}},
        TagCase{"Split", "split", "5 10", {"out - 01.mp3", "out - 02.mp3", "out - 03.mp3"}, {5000, 5000, 10000}},
        TagCase{"Build", "build", "3 6 12 15", {"out.mp3"}, {6000}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kalvor
