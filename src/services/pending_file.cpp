#include "services/pending_file.h"

#include <cstdio>
#include <filesystem>
#include <utility>

#include "services/basic.h"
#include "services/fault_trap.h"
#include "services/leftovers.h"

namespace kalvor {

PendingFile::PendingFile(std::string target) : target_(std::move(target)), part_(target_ + kPartSuffix) {
    RemoveFile(part_);
    NoteTemporaryFile(part_);
}

PendingFile::~PendingFile() {
    if (!committed_) RemoveFile(part_);
}

bool PendingFile::TargetReplaceable() const {
    return Trapped(false, [&] {
        std::error_code ec;
        const auto status = std::filesystem::status(target_, ec);
        if (status.type() == std::filesystem::file_type::not_found) return true;
        if (status.type() != std::filesystem::file_type::regular) return false;
        // Opening for update writes nothing; it only asks whether writing is allowed.
        std::FILE* file = std::fopen(target_.c_str(), "r+b");
        if (file == nullptr) return false;
        std::fclose(file);
        return true;
    });
}

int PendingFile::Commit() {
    return Trapped(0, [&] {
        if (FileExists(part_) != 1) return 0;
        // rename() replaces the target atomically; RenameFile would delete it first.
        std::error_code ec;
        std::filesystem::rename(part_, target_, ec);
        if (ec) return 0;
        committed_ = true;
        return 1;
    });
}

}  // namespace kalvor
