#pragma once
// How the commands that write files for the user (edit, split, build) write
// them: whether they keep the source's tags (the "KeepTags" setting, which
// --no-tags overrides) and whether they repack frames (the "ExactFrames"
// setting, which --exact-frames overrides).
#include "mpeg/tag_rewriter.h"

namespace kalvor::cli {

// --no-tags was given.
void SetNoTags();

// The tag layer to write with, or nullptr for audio only. The setting is read
// on the first call (from kalvor.ini beside the program, or the user's store),
// and only when the program is built with the settings store.
const TagRewriter* OutputTagRewriter();

// Applies the "ExactFrames" setting, read as OutputTagRewriter reads its own,
// unless exactFramesAsked (--exact-frames was given, which switches repacking off).
void FollowExactFrames(bool exactFramesAsked);

}  // namespace kalvor::cli
