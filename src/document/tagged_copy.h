#pragma once
// Saving a version with the document's tags around its audio.
#include <string>

#include "mpeg/file_tags.h"
#include "mpeg/stream_info.h"

namespace kalvor {

// Writes target as the leading tags, the version's bytes, then the trailing
// tags: beside the target first, moved over it once complete. info is the
// version's analysis. A version that holds tags of its own (undo brings back
// the opened file as it was) gives its bytes between them, so that a saved
// file never holds two sets of tags. 1 when the target now holds that file;
// on 0 an existing target is as it was.
int CopyWithTags(const std::string& version, const StreamInfo& info, const std::string& target, const FileTags& tags);

}  // namespace kalvor
