#pragma once
// Saving a version with the document's tags around its audio.
#include <string>

#include "mpeg/file_tags.h"

namespace kalvor {

// Writes target as the leading tags, the whole of the audio file, then the
// trailing tags: beside the target first, moved over it once complete. 1 when
// the target now holds that file; on 0 an existing target is as it was.
int CopyWithTags(const std::string& audio, const std::string& target, const FileTags& tags);

}  // namespace kalvor
