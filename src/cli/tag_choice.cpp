#include "cli/tag_choice.h"

#include <filesystem>

#include "tags/taglib_rewriter.h"
#ifdef KALVOR_HAVE_SETTINGS
#include "services/app_folder.h"
#include "services/qt/keep_tags.h"
#endif

namespace kalvor::cli {
namespace {

bool& NoTags() {
    static bool noTags = false;
    return noTags;
}

bool KeepTagsSetting() {
#ifdef KALVOR_HAVE_SETTINGS
    // The settings live beside the programs; kalvor-cli is installed beside kalvor.
    if (AppFolder().empty()) {
        std::error_code ec;
        const auto program = std::filesystem::read_symlink("/proc/self/exe", ec);
        if (!ec && program.has_parent_path()) SetAppFolder(program.parent_path().string());
    }
    return ReadKeepTags();
#else
    return true;
#endif
}

}  // namespace

void SetNoTags() {
    NoTags() = true;
}

const TagRewriter* OutputTagRewriter() {
    static const TagLibRewriter rewriter;
    static const bool keep = !NoTags() && KeepTagsSetting();
    return keep ? &rewriter : nullptr;
}

}  // namespace kalvor::cli
