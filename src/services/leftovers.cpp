#include "services/leftovers.h"

#include <filesystem>
#include <fstream>
#include <mutex>

#include "services/fault_trap.h"

namespace kalvor {
namespace {

namespace fs = std::filesystem;

// Lines of the journal: a kind letter, a blank, the path.
constexpr char kFileEntry = 'f';    // a part file, or a working file of a document
constexpr char kFolderEntry = 'd';  // a working folder of a command
constexpr const char* kFolderPrefix = "kalvor-edit-";

std::mutex& JournalMutex() {
    static std::mutex mutex;
    return mutex;
}
std::string& JournalPath() {
    static std::string path;
    return path;
}

std::string JournalOf(const std::string& folder, const std::string& owner) {
    return (fs::path(folder) / ("leftovers-" + owner + ".txt")).string();
}

// Whether an entry names something this program made and may remove.
bool Removable(char kind, const fs::path& path) {
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(path, ec);
    if (ec) return false;
    if (kind == kFolderEntry)
        return status.type() == fs::file_type::directory && path.filename().string().rfind(kFolderPrefix, 0) == 0;
    return kind == kFileEntry && status.type() == fs::file_type::regular;
}

}  // namespace

void StartLeftoverJournal(const std::string& folder, const std::string& owner) {
    const std::lock_guard<std::mutex> lock(JournalMutex());
    JournalPath() = JournalOf(folder, owner);
}

namespace {

void Note(char kind, const std::string& path) {
    TrappedRun([&] {
        const std::lock_guard<std::mutex> lock(JournalMutex());
        if (JournalPath().empty() || path.empty()) return;
        std::error_code ec;
        const fs::path full = fs::absolute(path, ec);
        const std::string entry = ec ? path : full.string();
        // Written and closed at once: the note is in the file before the file it
        // names is. The journal's folder may have been removed as empty by
        // another process that ended meanwhile: it is made again.
        for (int attempt = 0; attempt < 3; ++attempt) {
            fs::create_directories(fs::path(JournalPath()).parent_path(), ec);
            std::ofstream journal(JournalPath(), std::ios::app);
            journal << kind << ' ' << entry << '\n';
            journal.close();
            if (journal) break;
        }
    });
}

}  // namespace

void NoteTemporaryFile(const std::string& path) {
    Note(kFileEntry, path);
}

void NoteWorkingFolder(const std::string& path) {
    Note(kFolderEntry, path);
}

int CleanLeftovers(const std::string& folder, const std::string& owner) {
    return Trapped(0, [&] {
        const std::string journalPath = JournalOf(folder, owner);
        std::ifstream journal(journalPath);
        int removed = 0;
        for (std::string line; std::getline(journal, line);) {
            if (line.size() < 3 || line[1] != ' ') continue;
            const fs::path path = line.substr(2);
            if (!Removable(line[0], path)) continue;
            std::error_code ec;
            if (line[0] == kFolderEntry ? fs::remove_all(path, ec) > 0 : fs::remove(path, ec)) ++removed;
        }
        journal.close();
        std::error_code ec;
        fs::remove(journalPath, ec);
        return removed;
    });
}

}  // namespace kalvor
