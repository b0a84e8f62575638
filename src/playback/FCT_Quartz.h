#pragma once
// Graph construction: the registered filters, the graph set, the chains per
// file type and the choice of output device.
#include "playback/device_select.h"
#include "playback/filter_table.h"
#include "playback/graph_build.h"
#include "playback/graph_set.h"
