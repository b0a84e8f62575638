#include "services/path_text.h"

#include <gtest/gtest.h>

#include <string>

#include "services/app_folder.h"

namespace kalvor {
namespace {

// Examples are written with "/" and turned into the platform's separator.
std::string Native(std::string path) {
    for (char& c : path)
        if (c == '/') c = kPathSep;
    return path;
}

enum PartFlag { kFolder = 1, kSep = 2, kBase = 4, kDot = 8, kExt = 16, kAll = 31 };

struct PartCase {
    std::string path;
    int flags;
    int caseMode;
    std::string expected;
    friend void PrintTo(const PartCase& c, std::ostream* os) { *os << c.path << " flags " << c.flags; }
};

class PathPartFlags : public testing::TestWithParam<PartCase> {};

TEST_P(PathPartFlags, JoinsTheChosenParts) {
    const PartCase& c = GetParam();
    EXPECT_EQ(PathPart(Native(c.path), c.flags & kFolder, c.flags & kSep, c.flags & kBase, c.flags & kDot,
                       c.flags & kExt, c.caseMode),
              Native(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Paths, PathPartFlags,
    testing::Values(PartCase{"/a/song.mp3", kFolder, 0, "/a"},
                    PartCase{"/a/song.mp3", kBase | kDot | kExt, 0, "song.mp3"},
                    PartCase{"/a/song.mp3", kBase, 0, "song"}, PartCase{"/a/song.mp3", kDot | kExt, 0, ".mp3"},
                    PartCase{"/a/song.mp3", kAll, 0, "/a/song.mp3"},
                    PartCase{"/a/song.mp3", kFolder | kSep | kBase, 0, "/a/song"}, PartCase{"song", kAll, 0, "/song"},
                    PartCase{"", kAll, 0, ""}, PartCase{"/a.b/song", kBase | kDot | kExt, 0, "song"},
                    PartCase{"/a/song.", kBase, 0, "song."}, PartCase{"/a/song.", kDot | kExt, 0, ""},
                    PartCase{"/a/x.tar.gz", kBase, 0, "x.tar"}, PartCase{"/a/", kBase | kFolder, 0, "/a"},
                    PartCase{"/a/Song.MP3", kAll, 1, "/a/song.mp3"}, PartCase{"/a/song.mp3", kExt, 2, "MP3"},
                    PartCase{"/a/Lied-é.MP3", kBase, 1, "lied-é"}));

TEST(NamedPathParts, AreThePartsTheirNamesSay) {
    const std::string path = Native("/a.b/Song.MP3");
    EXPECT_EQ(FileNameOf(path), "Song.MP3");
    EXPECT_EQ(BaseNameOf(path), "Song");
    EXPECT_EQ(ExtensionWithDot(path), ".MP3");
    EXPECT_EQ(LowerExtensionOf(path), "mp3");
    EXPECT_EQ(ExtensionWithDot(Native("/a.b/song")), "");
}

struct DeviceCase {
    std::string path;
    int expected;
    friend void PrintTo(const DeviceCase& c, std::ostream* os) { *os << "[" << c.path << "]"; }
};

class DeviceNames : public testing::TestWithParam<DeviceCase> {};

TEST_P(DeviceNames, TestsTheBaseName) {
    EXPECT_EQ(IsDeviceName(Native(GetParam().path)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Names, DeviceNames,
                         testing::Values(DeviceCase{"con.mp3", 1}, DeviceCase{"c:/x/lpt1.txt", 1}, DeviceCase{"NUL", 1},
                                         DeviceCase{"Clock$.wav", 1}, DeviceCase{"COM0", 1}, DeviceCase{"aux", 1},
                                         DeviceCase{"prn.x", 1}, DeviceCase{"console.mp3", 0},
                                         DeviceCase{"com10.mp3", 0}, DeviceCase{"LPT", 0}, DeviceCase{"aux.tar.gz", 0},
                                         DeviceCase{"/con/song.mp3", 0}, DeviceCase{"", 0}));

struct SepCase {
    std::string path;
    bool remove;
    std::string expected;
    friend void PrintTo(const SepCase& c, std::ostream* os) { *os << "[" << c.path << "] remove " << c.remove; }
};

class TrailingSep : public testing::TestWithParam<SepCase> {};

TEST_P(TrailingSep, AddsOrRemovesOne) {
    // The web separator stays "/" whatever the platform's is.
    const bool web = GetParam().path.size() > 3 && (GetParam().path[0] == 'h' || GetParam().path[0] == 'H');
    const auto form = [&](const std::string& text) { return web ? text : Native(text); };
    EXPECT_EQ(SetTrailingSep(form(GetParam().path), GetParam().remove), form(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Texts, TrailingSep,
                         testing::Values(SepCase{"   ", false, ""}, SepCase{"   ", true, ""}, SepCase{"", false, ""},
                                         SepCase{"/dir", false, "/dir/"}, SepCase{"/dir/", false, "/dir/"},
                                         SepCase{"/dir/", true, "/dir"}, SepCase{"/dir//", true, "/dir/"},
                                         SepCase{"/dir", true, "/dir"}, SepCase{"/", true, ""},
                                         SepCase{"HTTP://x", false, "HTTP://x/"},
                                         SepCase{"hTtp://x/", true, "hTtp://x"}, SepCase{"http", false, "http/"}));

struct ExtCase {
    std::string name;
    std::string ext;
    std::string expected;
    friend void PrintTo(const ExtCase& c, std::ostream* os) { *os << c.name << " + [" << c.ext << "]"; }
};

class EnsureExt : public testing::TestWithParam<ExtCase> {};

TEST_P(EnsureExt, AppendsOnlyWhenMissing) {
    EXPECT_EQ(EnsureExtension(GetParam().name, GetParam().ext), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Names, EnsureExt,
                         testing::Values(ExtCase{"take1", ".mp3", "take1.mp3"},
                                         ExtCase{"TAKE1.MP3", ".mp3", "TAKE1.MP3"}, ExtCase{"a.MP3", "mp3", "a.MP3"},
                                         ExtCase{"a.wav", ".mp3", "a.wav.mp3"}, ExtCase{"a", "MP3", "a.mp3"},
                                         ExtCase{"a", " .Mp2 ", "a.mp2"}, ExtCase{"a", "   ", "a"},
                                         ExtCase{"", ".mp3", ""}, ExtCase{"amp3", ".mp3", "amp3.mp3"}));

TEST(CutAtNul, KeepsTheTrimmedTextBeforeTheFirstZero) {
    EXPECT_EQ(CutAtNul(std::string("  MPEG audio \0junk\0", 19)), "MPEG audio");
    EXPECT_EQ(CutAtNul(std::string("\0abc", 4)), "");
    EXPECT_EQ(CutAtNul(" plain "), "plain");
    EXPECT_EQ(CutAtNul(""), "");
}

}  // namespace
}  // namespace kalvor
