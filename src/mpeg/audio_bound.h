#pragma once
// Where a document's audio ends. The analysis ends it at the earliest "TAG" in
// the last kilobyte; that catches an ID3v1 block, and an APEv2 tag only by
// accident ("APETAGEX" holds "TAG", so three of its bytes count as audio, and
// a tag of more than a kilobyte counts as audio up to its footer), and never a
// Lyrics3 block. When tags are kept, the audio ends before all of them, so that
// no tag byte is ever copied as audio.
#include <string>

#include "mpeg/stream_analysis.h"
#include "mpeg/stream_info.h"

namespace kalvor {

enum class AudioBound {
    AtAnalysis,  // where the analysis ends it
    BeforeTags,  // before the file's trailing tag blocks, when that is earlier
};

// AnalyzeStreamWhy; with BeforeTags a successful analysis then has its audio
// end moved before the file's trailing tag blocks, and the figures that follow
// from the audio's length (duration, average bit rate, snap window) again.
AnalysisResult AnalyzeAudio(const std::string& path, StreamInfo& info, AudioBound bound);

}  // namespace kalvor
