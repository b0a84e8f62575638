#pragma once
// File information: FileInfoReport, FileTypeName.
#include "mpeg/audio_info.h"
