#pragma once
// Chief header of the frame-range copy.
#include "mpeg/frame_copy.h"
