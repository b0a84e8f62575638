#include "document/tagged_copy.h"

#include "mpeg/FCTs.h"
#include "mpeg/tag_spans.h"
#include "services/fault_trap.h"
#include "services/pending_file.h"

namespace kalvor {

int CopyWithTags(const std::string& version, const StreamInfo& info, const std::string& target, const FileTags& tags) {
    return Trapped(0, [&] {
        const UntaggedBytes bytes = BetweenTags(version, info.FirstFramePos - 1);
        PendingFile file(target);
        if (bytes.End < bytes.Begin || !file.TargetReplaceable()) return 0;
        if (!AppendTagBlocks(file.Path(), tags.Leading)) return 0;
        const auto from = static_cast<std::int32_t>(bytes.Begin + 1), to = static_cast<std::int32_t>(bytes.End);
        if (to > from && !CopyFrames(version, file.Path(), from, to, 0, 0).Ok()) return 0;
        if (!AppendTagBlocks(file.Path(), tags.Trailing)) return 0;
        return file.Commit();
    });
}

}  // namespace kalvor
