// The Xing/LAME reader and the finishing rewrite. A header read from a frame
// and stored back leaves the frame's bytes as they were; finishing a file
// either fails and leaves it untouched, or leaves a header that agrees with
// the frames, which a second finishing does not change.
#include <cstdint>
#include <cstring>
#include <vector>

#include "fuzz_support.h"
#include "mpeg/finish_file.h"
#include "mpeg/xing_audit.h"
#include "mpeg/xing_header.h"

namespace {

using kalvor::fuzz::Require;

void CheckRoundTrip(const std::uint8_t* data, std::size_t size) {
    const auto header = kalvor::ParseXingHeader(data, size);
    if (!header) return;
    std::vector<std::uint8_t> frame(data, data + size);
    kalvor::XingHeader copy = *header;
    kalvor::StoreXingHeader(copy, frame.data(), frame.size());
    Require(std::memcmp(frame.data(), data, size) == 0, "storing a header as read changes no byte");
}

void CheckFinishing(const std::uint8_t* data, std::size_t size, bool endOfAudioCut) {
    const std::string path = kalvor::fuzz::WriteScratch("finish.mp3", data, size);
    const int finished = kalvor::FinishWrittenFile(path, endOfAudioCut);
    const std::string once = kalvor::fuzz::ReadWhole(path);
    Require(once.size() == size, "finishing never changes a file's length");
    if (finished != 1) {
        Require(std::memcmp(once.data(), data, size) == 0, "a failed finishing leaves the file as it was");
        return;
    }
    kalvor::XingAudit audit;
    if (kalvor::AuditXingFile(path, false, audit) && audit.Stored)
        Require(kalvor::HeaderCountsAgree(audit), "a finished header agrees with the frames");
    Require(kalvor::FinishWrittenFile(path, endOfAudioCut) == 1, "a finished file finishes again");
    Require(kalvor::fuzz::ReadWhole(path) == once, "finishing a finished file changes no byte");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckRoundTrip(data, size);
    CheckFinishing(data, size, size > 0 && (data[size - 1] & 1) != 0);
    return 0;
}
