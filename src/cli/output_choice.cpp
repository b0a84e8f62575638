#include "cli/output_choice.h"

#include <filesystem>

#include "repack/exact_frames.h"
#include "tags/taglib_rewriter.h"
#ifdef KALVOR_HAVE_SETTINGS
#include "services/app_folder.h"
#include "services/qt/keep_tags.h"
#include "services/qt/output_switches.h"
#endif

namespace kalvor::cli {
namespace {

bool& NoTags() {
    static bool noTags = false;
    return noTags;
}

#ifdef KALVOR_HAVE_SETTINGS
// The settings live beside the programs; kalvor-cli is installed beside kalvor.
void FindSettings() {
    if (!AppFolder().empty()) return;
    std::error_code ec;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec && program.has_parent_path()) SetAppFolder(program.parent_path().string());
}
#endif

bool KeepTagsSetting() {
#ifdef KALVOR_HAVE_SETTINGS
    FindSettings();
    return ReadKeepTags();
#else
    return true;
#endif
}

}  // namespace

void SetNoTags() {
    NoTags() = true;
}

void FollowExactFrames(bool exactFramesAsked) {
    if (exactFramesAsked) {
        SetExactFrames(true);
        return;
    }
#ifdef KALVOR_HAVE_SETTINGS
    FindSettings();
    ReadOutputSwitches();
#endif
}

const TagRewriter* OutputTagRewriter() {
    static const TagLibRewriter rewriter;
    static const bool keep = !NoTags() && KeepTagsSetting();
    return keep ? &rewriter : nullptr;
}

}  // namespace kalvor::cli
