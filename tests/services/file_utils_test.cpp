#include "services/file_utils.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>

#include "services/event_pump.h"
#include "services/local_time.h"
#include "support/test_support.h"
#include "support/text_shape.h"

namespace kalvor {
namespace {
namespace fs = std::filesystem;
using test::Bytes;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

// Drives waits without real time: each pump moves the midnight clock on by
// stepMs, so the number of pumps tells how long a wait lasted.
class FakeTime {
   public:
    explicit FakeTime(std::int64_t startMs = 1000000, std::int64_t stepMs = 1) : nowMs_(startMs) {
        SetMidnightClock([this] { return static_cast<double>(nowMs_ % 86400000) / 1000.0; });
        SetEventPump([this, stepMs] {
            ++pumps;
            nowMs_ += stepMs;
        });
    }
    ~FakeTime() {
        SetMidnightClock({});
        SetEventPump({});
    }
    int pumps = 0;

   private:
    std::int64_t nowMs_;
};

// Ten attempts wait 10 + 20 + … + 90 ms: one pump per fake millisecond plus the
// last pump of each of the nine waits.
constexpr int kPumpsOfTenAttempts = 450 + 9;

class FileOps : public testing::Test {
   protected:
    std::string Make(const std::string& name, const Bytes& bytes = {1, 2, 3}) {
        WriteFile(dir.file(name), bytes);
        return dir.file(name);
    }
    std::string Folder(const std::string& name) {
        fs::create_directory(dir.file(name));
        return dir.file(name);
    }
    TempDir dir;
};

TEST_F(FileOps, ExistenceTestsTellFilesFromFolders) {
    const std::string file = Make("a.mp3"), folder = Folder("sub");
    fs::create_symlink(file, dir.file("link"));
    fs::create_symlink(dir.file("gone"), dir.file("dangling"));
    EXPECT_EQ(FileExists(file), 1);
    EXPECT_EQ(FileExists(dir.file("link")), 1);
    EXPECT_EQ(FileExists(folder), 0);
    EXPECT_EQ(FileExists(dir.file("dangling")), 0);
    EXPECT_EQ(FileExists(dir.file("missing")), 0);
    EXPECT_EQ(FileExists("   "), 0);
    EXPECT_EQ(FolderExists(folder), 1);
    EXPECT_EQ(FolderExists(folder + "/"), 1);
    EXPECT_EQ(FolderExists("/"), 1);
    EXPECT_EQ(FolderExists(file), 0);
    EXPECT_EQ(FolderExists(""), 0);
}

TEST_F(FileOps, CreateFolderMakesOneNewLevel) {
    EXPECT_EQ(CreateFolder(dir.file("new") + "/"), 1);
    EXPECT_TRUE(fs::is_directory(dir.file("new")));
    EXPECT_EQ(CreateFolder(dir.file("new")), 0);  // already there
    EXPECT_EQ(CreateFolder(dir.file("x/y")), 0);
    EXPECT_FALSE(fs::exists(dir.file("x")));
}

TEST_F(FileOps, RemoveFileReportsWhetherTheFileIsGone) {
    EXPECT_EQ(RemoveFile(dir.file("missing")), 1);
    const std::string readOnly = Make("ro.mp3");
    fs::permissions(readOnly, fs::perms::owner_read);
    EXPECT_EQ(RemoveFile(readOnly), 1);
    EXPECT_FALSE(fs::exists(readOnly));
    // Reserved Windows names are ordinary files here.
    const std::string con = Make("con.mp3");
    EXPECT_EQ(RemoveFile(con), 1);
    EXPECT_FALSE(fs::exists(con));
    fs::create_symlink(dir.file("gone"), dir.file("dangling"));
    EXPECT_EQ(RemoveFile(dir.file("dangling")), 1);
    EXPECT_FALSE(fs::is_symlink(dir.file("dangling")));
}

TEST_F(FileOps, RemoveFileLeavesFoldersAndDevicesAlone) {
    const std::string folder = Folder("sub");
    EXPECT_EQ(RemoveFile(folder), 0);
    EXPECT_TRUE(fs::is_directory(folder));
    ASSERT_EQ(::mkfifo(dir.file("pipe").c_str(), 0600), 0);
    EXPECT_EQ(RemoveFile(dir.file("pipe")), 1);
    EXPECT_TRUE(fs::is_fifo(dir.file("pipe")));
}

TEST_F(FileOps, RenameFileMovesIntoAnotherFolder) {
    const std::string source = Make("a.mp3", {9, 8});
    const std::string target = Folder("sub") + "/b.mp3";
    EXPECT_EQ(RenameFile(source, target, false), 1);
    EXPECT_FALSE(fs::exists(source));
    EXPECT_EQ(ReadFile(target), (Bytes{9, 8}));
}

TEST_F(FileOps, RenameFileReplacesOnlyWhenAsked) {
    const std::string source = Make("a.mp3", {1}), target = Make("b.mp3", {2});
    FakeTime time;
    EXPECT_EQ(RenameFile(source, target, false), 0);
    EXPECT_EQ(time.pumps, kPumpsOfTenAttempts);
    EXPECT_EQ(ReadFile(source), Bytes{1});
    EXPECT_EQ(ReadFile(target), Bytes{2});
    EXPECT_EQ(RenameFile(source, target, true), 1);
    EXPECT_EQ(ReadFile(target), Bytes{1});
    EXPECT_FALSE(fs::exists(source));
}

TEST_F(FileOps, RenameFileGivesUpAfterTenAttemptsOnATargetThatStays) {
    const std::string source = Make("a.mp3", {1});
    const std::string target = Folder("busy");
    Make("busy/inside");
    FakeTime time;
    EXPECT_EQ(RenameFile(source, target, true), 0);
    EXPECT_EQ(time.pumps, kPumpsOfTenAttempts);
    EXPECT_EQ(ReadFile(source), Bytes{1});
    EXPECT_TRUE(fs::exists(dir.file("busy/inside")));
}

TEST_F(FileOps, RenameFileOfAMissingSourceFailsAfterItsRetries) {
    FakeTime time;
    EXPECT_EQ(RenameFile(dir.file("temp.mp3"), dir.file("undo.mp3"), true), 0);
    EXPECT_EQ(time.pumps, kPumpsOfTenAttempts);
}

TEST_F(FileOps, RenameFileOntoItselfKeepsTheFile) {
    const std::string file = Make("a.mp3", {5});
    Folder("sub");
    EXPECT_EQ(RenameFile(file, dir.file("sub/../a.mp3"), true), 1);
    EXPECT_EQ(ReadFile(file), Bytes{5});
}

TEST_F(FileOps, RenameFileRefusesDevicesAtOnce) {
    ASSERT_EQ(::mkfifo(dir.file("pipe").c_str(), 0600), 0);
    const std::string file = Make("a.mp3");
    FakeTime time;
    EXPECT_EQ(RenameFile(file, dir.file("pipe"), true), 0);
    EXPECT_EQ(RenameFile(dir.file("pipe"), dir.file("b.mp3"), false), 0);
    EXPECT_EQ(time.pumps, 0);
    EXPECT_TRUE(fs::is_fifo(dir.file("pipe")));
    EXPECT_TRUE(fs::exists(file));
}

TEST_F(FileOps, CopyFileToOverwritesAndLeavesNoPartialFile) {
    const std::string source = Make("a.mp3", {1, 2, 3, 4}), target = Make("b.mp3", {9});
    for (bool replace : {false, true}) {
        WriteFile(target, {9});
        EXPECT_EQ(CopyFileTo(source, target, replace), 1);
        EXPECT_EQ(ReadFile(target), (Bytes{1, 2, 3, 4}));
    }
    EXPECT_EQ(CopyFileTo(source, dir.file("new.mp3"), false), 1);
    EXPECT_EQ(ReadFile(dir.file("new.mp3")), (Bytes{1, 2, 3, 4}));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 3);
}

TEST_F(FileOps, CopyFileToFailsWithoutLosingAnything) {
    const std::string source = Make("a.mp3", {1, 2}), folder = Folder("sub");
    for (bool replace : {false, true}) {
        EXPECT_EQ(CopyFileTo(source, dir.file("sub/../a.mp3"), replace), 0);  // onto itself
        EXPECT_EQ(ReadFile(source), (Bytes{1, 2}));
        EXPECT_EQ(CopyFileTo(dir.file("missing"), dir.file("c.mp3"), replace), 0);
        EXPECT_FALSE(fs::exists(dir.file("c.mp3")));
        EXPECT_EQ(CopyFileTo(source, folder, replace), 0);
        EXPECT_TRUE(fs::is_directory(folder));
        EXPECT_EQ(CopyFileTo(folder, dir.file("c.mp3"), replace), 0);
        EXPECT_EQ(CopyFileTo(source, dir.file("nowhere/c.mp3"), replace), 0);
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2);
}

TEST_F(FileOps, CopyFileToKeepsAReadOnlyTargetUnlessReplacing) {
    if (::geteuid() == 0) GTEST_SKIP() << "the superuser may write any file";
    const std::string source = Make("a.mp3", {1}), target = Make("b.mp3", {2});
    fs::permissions(target, fs::perms::owner_read);
    EXPECT_EQ(CopyFileTo(source, target, false), 0);
    EXPECT_EQ(ReadFile(target), Bytes{2});
    EXPECT_EQ(CopyFileTo(source, target, true), 1);
    EXPECT_EQ(ReadFile(target), Bytes{1});
}

std::time_t LocalMoment(int year, int month, int day, int hour, int minute, int second) {
    std::tm local{};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    local.tm_isdst = -1;
    return std::mktime(&local);
}

TEST_F(FileOps, FileTimeTextReadsTheChosenTime) {
    const std::string file = Make("a.mp3");
    const timespec times[2] = {{LocalMoment(2020, 1, 2, 3, 4, 5), 0}, {LocalMoment(2021, 12, 31, 23, 59, 58), 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
    EXPECT_EQ(FileTimeText(file, 1, 3, 1), "2020/01/02 03:04:05");
    EXPECT_EQ(FileTimeText(file, 2, 3, 1), "2021/12/31 23:59:58");
    EXPECT_EQ(FileTimeText(file, 2, 1, 2), "2021年12月31日");
    EXPECT_EQ(FileTimeText(file, 2, 3, 0), "20211231235958");
    EXPECT_TRUE(test::HasShape(FileTimeText(file, 0, 3, 1), "####/##/## ##:##:##"));
}

TEST_F(FileOps, FileTimeTextIsEmptyWithoutAReadableFile) {
    const std::string file = Make("a.mp3");
    EXPECT_EQ(FileTimeText(dir.file("missing"), 2, 3, 1), "");
    EXPECT_EQ(FileTimeText(Folder("sub"), 2, 3, 1), "");
    EXPECT_EQ(FileTimeText(file, 3, 3, 1), "");
    EXPECT_EQ(FileTimeText(file, 2, 3, 7), "");
}

TEST(WaitWithEvents, PumpsUntilTheClockHasPassedTheDuration) {
    FakeTime time;
    WaitWithEvents(50, 0);
    EXPECT_EQ(time.pumps, 51);
}

TEST(WaitWithEvents, NoDurationPumpsOnce) {
    for (std::int32_t ms : {0, -5}) {
        FakeTime time;
        WaitWithEvents(ms, 10);
        EXPECT_EQ(time.pumps, 1);
    }
}

TEST(WaitWithEvents, CountsOnOverMidnight) {
    FakeTime time(86400000 - 10);
    WaitWithEvents(50, 1);
    EXPECT_EQ(time.pumps, 51);
}

// A clock that answers first with `first`, then step × n on the n-th later reading.
int PumpsWithClock(double first, double step, std::int32_t ms) {
    int pumps = 0, readings = 0;
    SetEventPump([&] { ++pumps; });
    SetMidnightClock([&] {
        const int n = readings++;
        return n == 0 ? first : step * n;
    });
    WaitWithEvents(ms, 0);
    SetEventPump({});
    SetMidnightClock({});
    return pumps;
}

TEST(WaitWithEvents, HoldsClockReadingsWithinTheDay) {
    // A negative start counts as 0: 0.4, 0.8, 1.2 ms are not past 1 ms, 1.6 ms is.
    EXPECT_EQ(PumpsWithClock(-3.0, 0.0004, 1), 4);
    // A start beyond the day's last millisecond counts as 86 399.999, so 3 ms
    // after midnight is already 4 ms later.
    EXPECT_EQ(PumpsWithClock(86400.2, 0.003, 3), 1);
}

TEST_F(FileOps, SamePathComparesNormalisedPaths) {
    const std::string file = Make("a.mp3");
    Folder("sub");
    fs::create_symlink(file, dir.file("link.mp3"));
    EXPECT_TRUE(SamePath(file, dir.file("sub/../a.mp3")));
    EXPECT_TRUE(SamePath(file, dir.file("./a.mp3")));
    EXPECT_TRUE(SamePath(file, dir.file("link.mp3")));
    EXPECT_TRUE(SamePath(dir.file("sub"), dir.file("sub") + "/"));
    EXPECT_TRUE(SamePath(dir.file("sub/new.mp3"), dir.file("sub/x/../new.mp3")));
    EXPECT_FALSE(SamePath(file, dir.file("A.mp3")));
    EXPECT_FALSE(SamePath(file, dir.file("sub")));
    EXPECT_FALSE(SamePath("", ""));
    const fs::path saved = fs::current_path();
    fs::current_path(dir.path());
    EXPECT_TRUE(SamePath("a.mp3", file));
    fs::current_path(saved);
}

}  // namespace
}  // namespace kalvor
