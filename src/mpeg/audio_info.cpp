#include "mpeg/audio_info.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "mpeg/FCT_mpeg.h"
#include "mpeg/WaveMMIO.h"
#include "services/basic.h"
#include "services/fault_trap.h"

namespace kalvor {
namespace {

struct TypeName {
    std::string_view Extension;
    std::string_view Name;
};

// The type names kalvor gives files until the platform's own are at hand.
constexpr std::array<TypeName, 17> kTypeNames{{
    {"mp1", "MPEG Layer-1 audio"},
    {"mp2", "MPEG Layer-2 audio"},
    {"mp3", "MPEG Layer-3 audio"},
    {"wav", "WAVE audio"},
    {"mpg", "MPEG video"},
    {"mpeg", "MPEG video"},
    {"mid", "MIDI sequence"},
    {"asf", "Advanced Systems Format media"},
    {"au", "AU audio"},
    {"snd", "AU audio"},
    {"aif", "AIFF audio"},
    {"aiff", "AIFF audio"},
    {"wma", "Windows Media audio"},
    {"wmv", "Windows Media video"},
    {"m4a", "MPEG-4 audio"},
    {"aac", "AAC audio"},
    {"txt", "Text document"},
}};

// Extensions described by asking the playback layer for a length: the media
// files it plays (Ogg among them) other than MPEG audio and WAVE.
constexpr std::array<std::string_view, 13> kGenericMedia{"mpg", "mpeg", "mid", "asf", "au",  "aif", "aiff",
                                                         "snd", "wma",  "wmv", "m4a", "aac", "ogg"};

bool IsMpegExtension(const std::string& ext) {
    return ext == "mp1" || ext == "mp2" || ext == "mp3";
}

struct Described {
    std::string TypeName;
    std::string Format;
    std::int32_t DurationMs = 0;
    std::int32_t Ok = 0;
};

void DescribeGeneric(const std::string& path, const MediaLengthProbe& probe, Described& d) {
    d.Format.clear();
    if (probe) {
        d.DurationMs = probe(path);
        d.Ok = 1;
    }
    // The type name stands on the format line as well.
    d.Format = CutAtNul(d.TypeName);
}

void DescribeMpeg(const std::string& path, const MediaLengthProbe& probe, Described& d) {
    StreamInfo info;
    if (AnalyzeStream(path, info) != 1) return DescribeGeneric(path, probe, d);
    d.Ok = 1;
    d.Format = TrimSpaces(info.LongText);
    d.DurationMs = info.DurationMs;
}

std::string PcmFormatText(const WavInfo& wav) {
    std::string channels;
    if (wav.Channels == 1)
        channels = "bit/Mono";
    else if (wav.Channels == 2)
        channels = "bit/Stereo";
    else
        channels = "bit/" + std::to_string(wav.Channels) + "ch";
    return "wav(" + std::to_string(wav.SampleRate) + "Hz/" + std::to_string(wav.BitsPerSample) + channels + ")";
}

void DescribeWave(const std::string& path, const MediaLengthProbe& probe, Described& d) {
    const WavInfo wav = ReadWavHeader(path);
    if ((wav.FormatTag == kWavFormatPcm || wav.FormatTag == kWavFormatExtensible) && wav.Ok == 1) {
        d.Format = PcmFormatText(wav);
        d.DurationMs = wav.DurationMs;
        d.Ok = 1;
    } else if (wav.FormatTag == kWavFormatMpeg || wav.FormatTag == kWavFormatMpegLayer3) {
        DescribeMpeg(path, probe, d);
    } else {
        DescribeGeneric(path, probe, d);
    }
}

}  // namespace

std::string FileTypeName(const std::string& path) {
    return Trapped(std::string(), [&] {
        const std::string ext = LowerExtensionOf(path);
        if (ext.empty()) return std::string("File");
        const auto it =
            std::find_if(kTypeNames.begin(), kTypeNames.end(), [&](const TypeName& t) { return t.Extension == ext; });
        if (it != kTypeNames.end()) return std::string(it->Name);
        return AsciiUpper(ext) + " file";
    });
}

FileInfoResult FileInfoReport(const std::string& path, const MediaLengthProbe& probe, const FileTypeNamer& typeName) {
    FileInfoResult result;
    result.Fault = FileInfoFault::Unexpected;
    Described d;
    TrappedRun([&] {
        if (FileExists(path) != 1) {
            result.Fault = FileInfoFault::NotAFile;
            return;
        }
        if (typeName) d.TypeName = typeName(path);
        if (d.TypeName.empty()) d.TypeName = FileTypeName(path);
        const std::string ext = LowerExtensionOf(path);
        bool media = true;
        if (ext == "wav")
            DescribeWave(path, probe, d);
        else if (IsMpegExtension(ext))
            DescribeMpeg(path, probe, d);
        else if (std::find(kGenericMedia.begin(), kGenericMedia.end(), ext) != kGenericMedia.end())
            DescribeGeneric(path, probe, d);
        else
            media = false;
        result.Fault = d.Ok == 1 ? FileInfoFault::None : media ? FileInfoFault::NoLength : FileInfoFault::NotMedia;
        result.DurationMs = d.DurationMs;
        result.Text = path + "\r\n" + d.TypeName + "\r\n" + (d.Format.empty() ? "" : d.Format + "\r\n") +
                      MsToTimeText(d.DurationMs);
    });
    result.DurationMs = d.DurationMs;
    return result;
}

std::string FileInfoFaultText(const FileInfoResult& result) {
    switch (result.Fault) {
        case FileInfoFault::None: return "the file was described";
        case FileInfoFault::NotAFile: return "no such file";
        case FileInfoFault::NotMedia: return "not a media file";
        case FileInfoFault::NoLength: return "its length is known only to playback";
        case FileInfoFault::Unexpected: break;
    }
    return "the file cannot be described";
}

}  // namespace kalvor
