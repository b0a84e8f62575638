#include "services/app_folder.h"

namespace kalvor {
namespace {
std::string& Folder() {
    static std::string folder;
    return folder;
}
std::string& Work() {
    static std::string folder;
    return folder;
}
std::string WithSep(const std::string& folder) {
    if (!folder.empty() && folder.back() != kPathSep) return folder + kPathSep;
    return folder;
}
}  // namespace

std::string AppFolder() {
    return Folder();
}

void SetAppFolder(const std::string& folder) {
    Folder() = WithSep(folder);
    Work() = Folder();
}

std::string ProgramFilePath(const std::string& name) {
    return AppFolder() + name;
}

std::string WorkFolder() {
    return Work();
}

void SetWorkFolder(const std::string& folder) {
    Work() = WithSep(folder);
}

}  // namespace kalvor
