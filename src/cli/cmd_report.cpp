// kalvor-cli report FILE: the file information report, as the main window's
// file information command shows it (lines end in CR LF).
#include <cstdio>
#include <string>

#include "cli/cli_command.h"
#include "mpeg/FCT_AudioInf.h"
#include "mpeg/stream_analysis.h"
#include "services/basic.h"
#ifdef KALVOR_HAVE_PLAYBACK
#include "playback/media_length_probe.h"
#endif
#ifdef KALVOR_HAVE_MIME
#include "services/mime/mime_type_name.h"
#endif

namespace kalvor::cli {
namespace {

int RunReport(const Args& args) {
    if (args.size() != 1) throw UsageError{"report takes exactly one FILE"};
    // Only a file is described: a folder, a device, a pipe, an empty file and
    // one too large to read are refused with the reason, as every command does.
    StreamInfo info;
    const AnalysisResult analysis = AnalyzeStreamWhy(args[0], info);
    switch (analysis.Fault) {
        case AnalysisFault::Missing: return Fail(args[0] + ": no such file");
        case AnalysisFault::NotAFile:
        case AnalysisFault::Unreadable:
        case AnalysisFault::TooLarge: return Fail(args[0] + ": " + AnalysisFaultText(analysis));
        default: break;
    }
    if (info.FileSize == 0) return Fail(args[0] + ": the file is empty");
    // As the window does, the playback layer measures media files that are not
    // MPEG audio or PCM WAVE, and the platform names the type, where they are
    // built; without them those files report a length of 0, and kalvor's own
    // type names stand.
    MediaLengthProbe probe;
    FileTypeNamer typeName;
#ifdef KALVOR_HAVE_PLAYBACK
    probe = PlaybackLengthProbe();
#endif
#ifdef KALVOR_HAVE_MIME
    typeName = MimeTypeName;
#endif
    const FileInfoResult report = FileInfoReport(args[0], probe, typeName);
    if (report.Text.empty()) return Fail(args[0] + ": " + FileInfoFaultText(report));
    std::printf("%s\n", report.Text.c_str());
    return 0;
}

}  // namespace

KALVOR_CLI_COMMAND("report",
                   "report FILE\n"
                   "prints the file information report: path, type, format and duration (CR LF line ends)",
                   RunReport);

}  // namespace kalvor::cli
