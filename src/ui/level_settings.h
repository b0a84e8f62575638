#pragma once
// The settings of the levels: whether the time line shows them, and what the
// split at silences takes for a silence.
#include "listwin/silences.h"

namespace kalvor {

// "ShowLevels": 1 (the default) shows the levels behind the time line's scale.
bool ReadShowLevels();
void WriteShowLevels(bool show);

// "SilenceThreshold" in dBFS (default -50) and "SilenceMinLength" in seconds
// (default 2.0); a value that is no number, or out of range, counts as its default.
SilenceRule ReadSilenceRule();

}  // namespace kalvor
