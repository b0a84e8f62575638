#include "mpeg/finish_file.h"

#include <cstdint>
#include <fstream>
#include <vector>

#include "mpeg/xing_audit.h"
#include "services/fault_trap.h"

namespace kalvor {
namespace {

// Writes only the span of frame that differs from old, at the frame's offset.
bool WriteChanges(const std::string& path, std::int64_t offset, const std::vector<std::uint8_t>& old,
                  const std::vector<std::uint8_t>& frame) {
    std::size_t first = 0, last = frame.size();
    while (first < last && frame[first] == old[first]) ++first;
    while (last > first && frame[last - 1] == old[last - 1]) --last;
    if (first == last) return true;
    // Opened for update, never truncated: the file keeps its length.
    std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
    if (!f) return false;
    f.seekp(static_cast<std::streamoff>(offset + static_cast<std::int64_t>(first)));
    f.write(reinterpret_cast<const char*>(frame.data() + first), static_cast<std::streamsize>(last - first));
    f.flush();
    const bool ok = static_cast<bool>(f);
    f.close();
    return ok && !f.fail();
}

}  // namespace

int FinishWrittenFile(const std::string& path, bool endOfAudioCut) {
    return Trapped(0, [&] {
        XingAudit audit;
        if (!AuditXingFile(path, false, audit)) return 0;
        if (!audit.Stored) return 1;
        XingHeader header = UpToDateHeader(audit, endOfAudioCut);
        std::vector<std::uint8_t> frame = audit.HeaderFrame;
        StoreXingHeader(header, frame.data(), frame.size());
        return WriteChanges(path, audit.HeaderOffset, audit.HeaderFrame, frame) ? 1 : 0;
    });
}

}  // namespace kalvor
