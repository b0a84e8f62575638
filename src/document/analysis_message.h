#pragma once
// The message a command shows when a file it was given does not analyse: the
// file could not be read (missing, no file, unreadable, too large), or it is
// no MPEG audio, so that the message agrees with the reason.
#include "mpeg/stream_analysis.h"

namespace kalvor {

const char* AnalysisFailureMessage(const AnalysisResult& result);

}  // namespace kalvor
