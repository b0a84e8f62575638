#include "cli/cli_leftovers.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include "services/leftovers.h"

namespace kalvor::cli {
namespace {

namespace fs = std::filesystem;

constexpr const char* kOwnerPrefix = "cli-";

bool Running(pid_t pid) {
    return pid > 0 && (::kill(pid, 0) == 0 || errno == EPERM);
}

// The process id an owner name holds, or 0.
pid_t PidOf(const std::string& journalName) {
    const std::string head = std::string("leftovers-") + kOwnerPrefix, tail = ".txt";
    if (journalName.rfind(head, 0) != 0 || journalName.size() <= head.size() + tail.size()) return 0;
    const std::string digits = journalName.substr(head.size(), journalName.size() - head.size() - tail.size());
    if (digits.find_first_not_of("0123456789") != std::string::npos || digits.size() > 9) return 0;
    return static_cast<pid_t>(std::stol(digits));
}

std::string OwnName() {
    return kOwnerPrefix + std::to_string(::getpid());
}

}  // namespace

CliJournal::CliJournal() {
    std::error_code ec;
    const fs::path folder = fs::temp_directory_path(ec) / ("kalvor-cli-" + std::to_string(::getuid()));
    if (ec || (!fs::create_directories(folder, ec) && !fs::is_directory(folder, ec))) return;
    folder_ = folder.string();
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        const pid_t pid = PidOf(entry.path().filename().string());
        if (pid != 0 && pid != ::getpid() && !Running(pid))
            CleanLeftovers(folder.string(), kOwnerPrefix + std::to_string(pid));
    }
    StartLeftoverJournal(folder_, OwnName());
}

CliJournal::~CliJournal() {
    if (folder_.empty()) return;
    CleanLeftovers(folder_, OwnName());
    // The folder goes when no other process keeps a journal in it.
    std::error_code ec;
    fs::remove(folder_, ec);
}

}  // namespace kalvor::cli
