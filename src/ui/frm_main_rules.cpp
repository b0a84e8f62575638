#include "ui/frm_main_rules.h"

#include <algorithm>
#include <filesystem>

#include "services/app_folder.h"
#include "services/basic.h"
#include "services/qt/identity.h"

namespace kalvor {

std::string MainWindowCaption() {
    return std::string(kAppTitle) + " - " + kCompanyName;
}

std::string CommandLinePath(const std::string& commandLine, const std::string& startFolder) {
    std::string path = commandLine;
    path.erase(std::remove(path.begin(), path.end(), '"'), path.end());
    const std::filesystem::path given(path);
    if (path.empty() || given.is_absolute() || startFolder.empty()) return path;
    return (std::filesystem::path(startFolder) / given).lexically_normal().string();
}

std::string HandOverTarget(const std::string& workFolder, const std::string& orgFile) {
    const std::string name = orgFile.empty() ? std::string("new.mpg") : FileNameOf(orgFile);
    return workFolder + name;
}

std::array<std::string, 4> InfoValueTexts(std::int32_t durationMs, std::int32_t selStartMs, std::int32_t selEndMs,
                                          std::int32_t selLengthMs) {
    return {MsToTimeText(durationMs), MsToTimeText(selStartMs), MsToTimeText(selEndMs), MsToTimeText(selLengthMs)};
}

}  // namespace kalvor
