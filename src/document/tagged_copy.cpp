#include "document/tagged_copy.h"

#include "services/pending_file.h"
#include "mpeg/FCT_mpeg.h"
#include "mpeg/FCTs.h"
#include "services/fault_trap.h"

namespace kalvor {

int CopyWithTags(const std::string& audio, const std::string& target, const FileTags& tags) {
    return Trapped(0, [&] {
        std::int64_t size = -1;
        GetFileSize64(audio, &size);
        PendingFile file(target);
        if (size < 0 || !file.TargetReplaceable()) return 0;
        if (!AppendTagBlocks(file.Path(), tags.Leading)) return 0;
        if (size > 0 && !CopyFrames(audio, file.Path(), 1, static_cast<std::int32_t>(size), 0, 0).Ok()) return 0;
        if (!AppendTagBlocks(file.Path(), tags.Trailing)) return 0;
        return file.Commit();
    });
}

}  // namespace kalvor
