#pragma once
// Whether the commands that write files for the user (edit, split, build) keep
// the source's tags: the "KeepTags" setting, which --no-tags overrides.
#include "mpeg/tag_rewriter.h"

namespace kalvor::cli {

// --no-tags was given.
void SetNoTags();

// The tag layer to write with, or nullptr for audio only. The setting is read
// on the first call (from kalvor.ini beside the program, or the user's store),
// and only when the program is built with the settings store.
const TagRewriter* OutputTagRewriter();

}  // namespace kalvor::cli
