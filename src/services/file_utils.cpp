#include "services/file_utils.h"

#include <chrono>
#include <filesystem>
#include <optional>
#include <system_error>
#include <thread>

#include "services/app_folder.h"
#include "services/arith.h"
#include "services/event_pump.h"
#include "services/fault_trap.h"
#include "services/leftovers.h"
#include "services/local_time.h"

#if defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#define KALVOR_POSIX_FILES 1
#endif

namespace kalvor {
namespace fs = std::filesystem;
namespace {

// RenameFile's waits are short; a fine slice keeps the windows responsive.
constexpr std::int32_t kRenameSliceMs = 1;
constexpr int kRenameAttempts = 10;

std::string WithoutTrailingSep(const std::string& path) {
    if (path.size() > 1 && path.back() == kPathSep) return path.substr(0, path.size() - 1);
    return path;
}

// The directory entry itself, not what a link points at.
fs::file_type EntryType(const std::string& path) {
    std::error_code ec;
    return fs::symlink_status(path, ec).type();
}

bool EntryPresent(const std::string& path) {
    const fs::file_type type = EntryType(path);
    return type != fs::file_type::not_found && type != fs::file_type::none;
}

// Paths that stand for a device must never be deleted or replaced. On Windows
// these are the reserved names, which open the device wherever they appear; on
// other systems such names are ordinary files and the devices are special files.
bool NamesDevice(const std::string& path) {
#ifdef _WIN32
    return IsDeviceName(path) == 1;
#else
    switch (EntryType(path)) {
        case fs::file_type::character:
        case fs::file_type::block:
        case fs::file_type::fifo:
        case fs::file_type::socket: return true;
        default: return false;
    }
#endif
}

bool SameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    return SamePath(a, b) || fs::equivalent(a, b, ec);
}

bool WritableFile(const std::string& path) {
#ifdef KALVOR_POSIX_FILES
    return ::access(path.c_str(), W_OK) == 0;
#else
    std::error_code ec;
    return (fs::status(path, ec).permissions() & fs::perms::owner_write) != fs::perms::none;
#endif
}

// One rename that never replaces an existing target unless it is the source
// itself (POSIX rename would replace it silently, Windows would refuse).
bool RenameOnce(const std::string& source, const std::string& target, bool same) {
#if defined(__linux__) && defined(RENAME_NOREPLACE)
    if (!same) {
        if (::renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) return true;
        if (errno != EINVAL && errno != ENOSYS) return false;
        // The file system cannot refuse by itself: check, then rename.
    }
#endif
    if (!same && EntryPresent(target)) return false;
    std::error_code ec;
    fs::rename(source, target, ec);
    return !ec;
}

double ClockReading() {
    const double seconds = SecondsSinceMidnight();
    if (!(seconds >= 0.0)) return 0.0;  // also a NaN
    return seconds >= 86399.999 ? 86399.999 : seconds;
}

std::optional<std::time_t> ReadFileTime(const std::string& path, int which) {
#ifdef KALVOR_POSIX_FILES
    // Opened for reading like any reader would, so an unreadable file has no time.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return std::nullopt;
    std::optional<std::time_t> moment;
#if defined(__linux__) && defined(STATX_BTIME)
    struct statx sx {};
    if (::statx(fd, "", AT_EMPTY_PATH, STATX_BASIC_STATS | STATX_BTIME, &sx) == 0) {
        const bool born = (sx.stx_mask & STATX_BTIME) != 0;
        const statx_timestamp stamp = which == 0   ? (born ? sx.stx_btime : sx.stx_ctime)
                                      : which == 1 ? sx.stx_atime
                                                   : sx.stx_mtime;
        if (!S_ISDIR(sx.stx_mode)) moment = static_cast<std::time_t>(stamp.tv_sec);
        ::close(fd);
        return moment;
    }
#endif
    struct stat st {};
    if (::fstat(fd, &st) == 0 && !S_ISDIR(st.st_mode))
        moment = which == 0 ? st.st_ctime : which == 1 ? st.st_atime : st.st_mtime;
    ::close(fd);
    return moment;
#else
    // The standard library knows only the last write time; a platform branch
    // (GetFileTime on Windows) gives the other two.
    std::error_code ec;
    if (which != 2 || FileExists(path) != 1) return std::nullopt;
    const auto written = fs::last_write_time(path, ec);
    if (ec) return std::nullopt;
    return std::chrono::system_clock::to_time_t(std::chrono::time_point_cast<std::chrono::system_clock::duration>(
        std::chrono::clock_cast<std::chrono::system_clock>(written)));
#endif
}

fs::path Normalised(const std::string& text) {
    std::error_code ec;
    fs::path path = fs::absolute(text, ec);
    if (ec) path = text;
    fs::path resolved = fs::weakly_canonical(path, ec);
    path = (ec ? path : resolved).lexically_normal();
    if (!path.has_filename() && path.has_relative_path()) path = path.parent_path();
    return path;
}

}  // namespace

int FileExists(const std::string& path) {
    return Trapped(0, [&] {
        if (TrimSpaces(path).empty()) return 0;
        std::error_code ec;
        const fs::file_status status = fs::status(path, ec);
        return fs::exists(status) && !fs::is_directory(status) ? 1 : 0;
    });
}

int FolderExists(const std::string& path) {
    return Trapped(0, [&] {
        if (path.empty()) return 0;
        std::error_code ec;
        return fs::is_directory(WithoutTrailingSep(path), ec) ? 1 : 0;
    });
}

int CreateFolder(const std::string& path) {
    return Trapped(0, [&] {
        const std::string folder = WithoutTrailingSep(path);
        if (TrimSpaces(folder).empty()) return 0;
        std::error_code ec;
        return fs::create_directory(folder, ec) && !ec ? 1 : 0;
    });
}

int RemoveFile(const std::string& path) {
    return Trapped(0, [&] {
        const fs::file_type type = EntryType(path);
        if (path.empty() || type == fs::file_type::not_found) return 1;
        if (type == fs::file_type::none) return 0;  // cannot tell whether it is there
        if (NamesDevice(path)) return 1;
        if (type == fs::file_type::directory) return 0;
        std::error_code ec;
#ifdef _WIN32
        // Windows refuses to delete a read-only file; POSIX asks only the folder.
        fs::permissions(path, fs::perms::owner_write, fs::perm_options::add, ec);
#endif
        fs::remove(path, ec);
        return !ec && !EntryPresent(path) ? 1 : 0;
    });
}

int RenameFile(const std::string& source, const std::string& target, bool replace) {
    return Trapped(0, [&] {
        if (source.empty() || target.empty()) return 0;
        if (NamesDevice(source) || NamesDevice(target)) return 0;
        // Removing the target when it is the source would lose the file.
        const bool same = SameFile(source, target);
        if (replace && !same) RemoveFile(target);
        for (int attempt = 0; attempt < kRenameAttempts; ++attempt) {
            if (RenameOnce(source, target, same)) return 1;
            if (attempt + 1 < kRenameAttempts) WaitWithEvents(attempt * 10 + 10, kRenameSliceMs);
        }
        return 0;
    });
}

int CopyFileTo(const std::string& source, const std::string& target, bool replace) {
    return Trapped(0, [&] {
        if (FileExists(source) != 1 || TrimSpaces(target).empty()) return 0;
        if (SameFile(source, target) || NamesDevice(target)) return 0;
        if (replace && EntryPresent(target) && RemoveFile(target) != 1) return 0;
        if (EntryPresent(target)) {
            // Only a file is overwritten, and only one that may be written.
            if (FileExists(target) != 1 || !WritableFile(target)) return 0;
        }
        const std::string part = target + kCopySuffix;
        NoteTemporaryFile(part);
        std::error_code ec;
        fs::copy_file(source, part, fs::copy_options::overwrite_existing, ec);
        if (!ec) fs::rename(part, target, ec);
        if (!ec) return 1;
        // Only a file of ours goes; whatever else stood under that name stays.
        if (EntryType(part) == fs::file_type::regular) RemoveFile(part);
        return 0;
    });
}

std::string FileTimeText(const std::string& path, int which, int parts, int style) {
    return Trapped(std::string(), [&] {
        if (path.empty() || which < 0 || which > 2) return std::string();
        const std::optional<std::time_t> moment = ReadFileTime(path, which);
        if (!moment) return std::string();
        const std::optional<std::tm> local = ToLocalTime(*moment);
        return local ? DateTimeText(*local, parts, style) : std::string();
    });
}

void WaitWithEvents(std::int32_t ms, std::int32_t sliceMs) {
    TrappedRun([&] {
        if (ms <= 0) {
            PumpEvents();
            return;
        }
        const double start = ClockReading();
        for (;;) {
            PumpEvents();
            if (sliceMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(sliceMs));
            double now = ClockReading();
            if (now < start) now += 86400.0;  // midnight passed
            if (RoundHalfEven((now - start) * 1000.0) > ms) return;
        }
    });
}

bool SamePath(const std::string& a, const std::string& b) {
    return Trapped(false, [&] {
        if (a.empty() || b.empty()) return false;
#ifdef _WIN32
        return AsciiLower(Normalised(a).string()) == AsciiLower(Normalised(b).string());
#else
        return Normalised(a) == Normalised(b);
#endif
    });
}

}  // namespace kalvor
