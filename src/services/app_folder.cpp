#include "services/app_folder.h"

namespace kalvor {
namespace {
std::string& Folder() {
    static std::string folder;
    return folder;
}
}  // namespace

std::string AppFolder() { return Folder(); }

void SetAppFolder(const std::string& folder) {
    Folder() = folder;
    if (!folder.empty() && folder.back() != kPathSep) Folder() += kPathSep;
}

}  // namespace kalvor
