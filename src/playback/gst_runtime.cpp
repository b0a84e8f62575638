#include "playback/gst_runtime.h"

#include <gst/gst.h>

#include <mutex>

namespace kalvor {

void EnsureGstreamer() {
    static std::once_flag once;
    std::call_once(once, [] { gst_init(nullptr, nullptr); });
}

}  // namespace kalvor
