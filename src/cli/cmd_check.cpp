// kalvor-cli check FILE: walks every frame of an MPEG audio file and compares
// what it finds with the file's leading "Xing"/"Info" header.
#include <cstdio>
#include <string>

#include "cli/cli_command.h"
#include "mpeg/xing_audit.h"
#include "services/arith.h"

namespace kalvor::cli {
namespace {

std::string SecondsText(std::int64_t samples, std::int32_t rate) {
    if (rate <= 0) return "0.000 s";
    const std::int32_t ms = RoundHalfEven(static_cast<double>(samples) * 1000.0 / rate);
    char text[32];
    std::snprintf(text, sizeof text, "%d.%03d s", ms / 1000, ms % 1000);
    return text;
}

const char* YesNo(bool yes) {
    return yes ? "yes" : "no";
}

void PrintHeader(const XingAudit& audit) {
    const XingHeader& h = *audit.Stored;
    std::printf("header: %s\n", audit.FromVbri ? "VBRI" : h.IsInfo ? "Info" : "Xing");
    if (h.Has(kXingFramesFlag))
        std::printf("header frames: %u (real %u)\n", h.Frames, audit.FramesAfterHeader);
    else
        std::printf("header frames: not stored\n");
    if (h.Has(kXingBytesFlag))
        std::printf("header bytes: %u (real %u)\n", h.Bytes, audit.BytesFromHeader);
    else
        std::printf("header bytes: not stored\n");
    if (h.Has(kXingTocFlag)) std::printf("table of contents up to date: %s\n", YesNo(h.Toc == audit.Toc));
    if (h.Lame) {
        std::printf("LAME music length: %u (real %u)\n", h.Lame->MusicLength, audit.BytesFromHeader);
        std::printf("LAME music CRC: %04X (real %04X)\n", h.Lame->MusicCrc, audit.MusicCrc);
        std::printf("LAME encoder delay: %d, end padding: %d\n", h.Lame->EncoderDelay, h.Lame->EndPadding);
    }
}

int RunCheck(const Args& args) {
    if (args.size() != 1) throw UsageError{"check takes exactly one FILE"};
    XingAudit audit;
    if (!AuditXingFile(args[0], true, audit)) return Fail(args[0] + ": " + AuditFaultText(audit));
    const FrameWalk& walk = audit.Walk;
    const bool header = audit.Stored.has_value();
    const std::int64_t frames = header ? audit.FramesAfterHeader : walk.FrameCount;
    const std::int64_t samples = header ? audit.SamplesAfterHeader : walk.SampleCount;
    std::printf("frames: %lld%s\n", static_cast<long long>(frames), header ? " (after the header frame)" : "");
    std::printf("duration: %s\n", SecondsText(samples, walk.SampleRate).c_str());
    std::printf("junk bytes: %lld\n", static_cast<long long>(walk.JunkBytes));
    if (!header) {
        std::printf("header: none\n");
        return 0;
    }
    PrintHeader(audit);
    const bool agree = HeaderCountsAgree(audit);
    std::printf("agree: %s\n", YesNo(agree));
    return agree ? 0 : 1;
}

}  // namespace

KALVOR_CLI_COMMAND("check",
                   "check FILE\nwalks every frame and compares the count with the file's Xing/Info header;\n"
                   "exit 0 when they agree or there is no header, 1 when they do not",
                   RunCheck);

}  // namespace kalvor::cli
