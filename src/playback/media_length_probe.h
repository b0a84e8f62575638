#pragma once
// The length of a media file as a short-lived playback object reports it, for
// the file information report.
#include "mpeg/FCT_AudioInf.h"

namespace kalvor {

// A probe that opens the file in a new C_FGraph (Init, FileName, Length,
// CloseWave); 0 when no graph can play it.
MediaLengthProbe PlaybackLengthProbe();

}  // namespace kalvor
