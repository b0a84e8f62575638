#pragma once
// GStreamer is set up once per process and never torn down: after gst_deinit no
// element can be made again in the same process.

namespace kalvor {

// Initialises GStreamer on the first call; later calls do nothing.
void EnsureGstreamer();

}  // namespace kalvor
