#include "services/log.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "services/app_folder.h"
#include "services/fault_trap.h"
#include "services/file_utils.h"
#include "services/local_time.h"

namespace kalvor {
namespace {
std::atomic<std::int32_t> g_logAll{0};
}

std::int32_t LogAll() {
    return g_logAll.load(std::memory_order_relaxed);
}
void SetLogAll(std::int32_t value) {
    g_logAll.store(value, std::memory_order_relaxed);
}

void WriteLog(const std::string& message, int kind, bool force) {
    if (LogAll() == 0 && !force) return;
    TrappedRun([&] {
        // Without a work folder the line would land in whatever folder is current.
        if (WorkFolder().empty()) return;
        const std::string folder = WorkFolder() + "log";
        if (FolderExists(folder) != 1 && CreateFolder(folder) != 1 && FolderExists(folder) != 1) return;
        const std::string path = folder + kPathSep + kAppTitle + (kind != 0 ? ".err" : ".log");
        std::error_code ec;
        const std::uintmax_t size = std::filesystem::file_size(path, ec);
        if (!ec && size > kLogSizeLimit) RemoveFile(path);
        std::ofstream file(path, std::ios::binary | std::ios::app);
        file << NowText() << ' ' << message << "\r\n";
    });
}

}  // namespace kalvor
