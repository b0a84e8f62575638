#pragma once
// WAVE headers: ReadWavHeader, WavContainerType.
#include "mpeg/wav_header.h"
