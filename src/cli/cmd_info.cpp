// kalvor-cli info FILE: the stream record of an MPEG audio file, one field a line.
#include <cstdio>
#include <string>

#include "cli/cli_command.h"
#include "mpeg/FCT_mpeg.h"

namespace kalvor::cli {
namespace {

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

void PrintRecord(const StreamInfo& info) {
    const auto line = [](const char* name, long long value) { std::printf("%s: %lld\n", name, value); };
    line("FirstFramePos", info.FirstFramePos);
    line("AudioLength", info.AudioLength);
    line("AudioEndPos", info.AudioEndPos);
    line("FileSize", info.FileSize);
    line("SnapWindow", info.SnapWindow);
    line("IsVbr", info.IsVbr);
    line("XingFrames", info.XingFrames);
    line("SampleRate", info.SampleRate);
    line("IsLsf", info.IsLsf);
    line("BitRate", info.BitRate);
    line("Layer", info.Layer);
    line("DurationMs", info.DurationMs);
    std::printf("LongText: %s\n", Trimmed(info.LongText).c_str());
    std::printf("RefHeader: %02X %02X %02X\n", info.RefHeader[0], info.RefHeader[1], info.RefHeader[2]);
}

int RunInfo(const Args& args) {
    if (args.size() != 1) throw UsageError{"info takes exactly one FILE"};
    StreamInfo info;
    const AnalysisResult result = AnalyzeStreamWhy(args[0], info);
    if (!result.Ok()) return Fail(args[0] + ": " + AnalysisFaultText(result));
    PrintRecord(info);
    return 0;
}

}  // namespace

KALVOR_CLI_COMMAND("info",
                   "info FILE\nprints the stream record of an MPEG audio file, one \"Name: value\" line a field",
                   RunInfo);

}  // namespace kalvor::cli
