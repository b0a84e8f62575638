#include "mpeg/file_read.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "services/event_pump.h"
#include "support/test_support.h"

namespace kalvor {
namespace {

using test::Bytes;

TEST(ReadAt, AReadMeetingTheEndSucceedsAndKeepsTheRestOfTheBuffer) {
    test::TempDir dir;
    const std::string path = dir.file("f.bin");
    test::WriteFile(path, {1, 2, 3, 4, 5});
    Bytes buffer(4, 0xAA);
    ASSERT_TRUE(ReadAt(path, buffer.data(), 4, 3, 0));
    EXPECT_EQ(buffer, (Bytes{4, 5, 0xAA, 0xAA}));
    ASSERT_TRUE(ReadAt(path, buffer.data(), 4, 100, 0));
    EXPECT_EQ(buffer, (Bytes{4, 5, 0xAA, 0xAA}));
    EXPECT_EQ(ReadAvailable(path, buffer.data(), 4, 3), 2);
    EXPECT_EQ(ReadAvailable(path, buffer.data(), 4, 0), 4);
}

TEST(ReadAt, FailsOnWhatIsNoReadableFile) {
    test::TempDir dir;
    std::uint8_t byte = 0;
    EXPECT_FALSE(ReadAt(dir.file("missing"), &byte, 1, 0, 0));
    EXPECT_FALSE(ReadAt(dir.path().string(), &byte, 1, 0, 0));
    EXPECT_EQ(ReadAvailable(dir.file("missing"), &byte, 1, 0), -1);
}

// Retries wait while keeping the windows alive; no retries means no wait.
TEST(ReadAt, RetriesProcessWindowEventsWhileWaiting) {
    test::TempDir dir;
    int pumped = 0;
    SetEventPump([&] { ++pumped; });
    std::uint8_t byte = 0;
    EXPECT_FALSE(ReadAt(dir.file("missing"), &byte, 1, 0, 0));
    EXPECT_EQ(pumped, 0);
    EXPECT_FALSE(ReadAt(dir.file("missing"), &byte, 1, 0, 2));
    EXPECT_GT(pumped, 0);
    SetEventPump({});
}

TEST(GetFileSize64, GivesTheLow32BitsAndTheFullSize) {
    test::TempDir dir;
    const std::string path = dir.file("sparse.bin");
    test::WriteFile(path, {});
    std::filesystem::resize_file(path, (std::uintmax_t{1} << 32) + 7);
    std::int64_t full = 0;
    EXPECT_EQ(GetFileSize64(path, &full), 7);
    EXPECT_EQ(full, (std::int64_t{1} << 32) + 7);
    std::uint8_t byte = 0xAA;
    ASSERT_TRUE(ReadAt(path, &byte, 1, (std::int64_t{1} << 32) + 6, 0));  // a 64-bit offset
    EXPECT_EQ(byte, 0);

    EXPECT_EQ(GetFileSize64(dir.file("missing"), &full), 0);
    EXPECT_EQ(full, -1);
    test::WriteFile(path, {});
    EXPECT_EQ(GetFileSize64(path, &full), 0);
    EXPECT_EQ(full, 0);
}

}  // namespace
}  // namespace kalvor
