#pragma once
// The file information report: the text the main window's file information
// command shows for the document's current file.
#include <cstdint>
#include <functional>
#include <string>

namespace kalvor {

// The length in milliseconds of a media file that is not MPEG audio, as a
// short-lived playback object reports it. The playback layer supplies it; the
// core cannot play.
using MediaLengthProbe = std::function<std::int32_t(const std::string& path)>;

// The platform's description of a file's type (the shared MIME database's,
// in the interface's language). The platform layer supplies it; empty text
// means the platform has none.
using FileTypeNamer = std::function<std::string(const std::string& path)>;

// Why a report holds no duration.
enum class FileInfoFault {
    None,
    NotAFile,    // nothing to describe (missing, or a folder): the text is empty
    NotMedia,    // not of a media type: no format line, 0 ms
    NoLength,    // a media file only playback can measure, and no probe was given
    Unexpected,  // a run-time fault, trapped
};

struct FileInfoResult {
    FileInfoFault Fault = FileInfoFault::None;
    std::int32_t DurationMs = 0;
    std::string Text;  // the report, lines separated by "\r\n", no final line break
    bool Ok() const { return Fault == FileInfoFault::None; }  // a duration was obtained
};

// Describes the file at path in three or four lines: the path, its type name,
// its format when one is known ("mp3(44100Hz/128kbps/JointStereo)",
// "wav(44100Hz/16bit/Stereo)"), and its duration as time text. MPEG files (by
// extension, or MPEG audio inside a WAVE file) are described by the stream
// analysis, PCM WAVE files by their header; other media files, and MPEG or WAVE
// files that cannot be read that way, by probe, with the type name standing on
// the format line. Without a probe those report a length of 0 (NoLength). Files
// of extensions that are not media get no format line and 0 ms (NotMedia). A
// missing file gives an empty text (NotAFile). The type name is typeName's;
// without one, or where it has none, FileTypeName's.
FileInfoResult FileInfoReport(const std::string& path, const MediaLengthProbe& probe = {},
                              const FileTypeNamer& typeName = {});

// The fault in plain words, e.g. "not a media file".
std::string FileInfoFaultText(const FileInfoResult& result);

// A plain description of the file's type by its extension ("MPEG Layer-3
// audio", "WAVE audio", …), for where the platform gives none; for an extension
// kalvor does not know, the extension in capitals followed by " file", and
// "File" for a name without extension.
std::string FileTypeName(const std::string& path);

}  // namespace kalvor
