#pragma once
// Chief header of the MPEG stream core: frame headers, the stream record, the
// file reads and the stream analysis.
#include "mpeg/file_read.h"
#include "mpeg/frame_header.h"
#include "mpeg/stream_analysis.h"
#include "mpeg/stream_info.h"
