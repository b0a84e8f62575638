#include "mpeg/finish_file.h"

#include <cstdio>
#include <cstdint>
#include <vector>

#include "mpeg/xing_audit.h"
#include "services/fault_trap.h"

namespace kalvor {
namespace {

bool SeekTo(std::FILE* f, std::int64_t offset) {
#ifdef _WIN32
    return _fseeki64(f, offset, SEEK_SET) == 0;
#else
    return fseeko(f, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

// Writes only the span of frame that differs from old, at the frame's offset.
bool WriteChanges(const std::string& path, std::int64_t offset, const std::vector<std::uint8_t>& old,
                  const std::vector<std::uint8_t>& frame) {
    std::size_t first = 0, last = frame.size();
    while (first < last && frame[first] == old[first]) ++first;
    while (last > first && frame[last - 1] == old[last - 1]) --last;
    if (first == last) return true;
    std::FILE* f = std::fopen(path.c_str(), "r+b");  // never "w": the file keeps its length
    if (!f) return false;
    bool ok = SeekTo(f, offset + static_cast<std::int64_t>(first)) &&
              std::fwrite(frame.data() + first, 1, last - first, f) == last - first;
    ok = std::fflush(f) == 0 && ok;
    ok = std::fclose(f) == 0 && ok;
    return ok;
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
