#pragma once
// The diagnostic log: "log/kalvor.log" in the work folder, one line per
// message, written only when asked for. Nothing is held open between messages.
#include <cstdint>
#include <string>

namespace kalvor {

// The process-wide log switch (setting "LogError"); nonzero: WriteLog writes.
std::int32_t LogAll();
void SetLogAll(std::int32_t value);

// Appends "YYYY/MM/DD HH:MM:SS message" and CR LF (local time) to the work
// folder's "log/kalvor.log", or "log/kalvor.err" when kind is nonzero, when
// LogAll is set or force is true. The "log" folder is created when missing (one
// level); a file above 1 024 000 bytes is deleted first, so the log starts again.
// Nothing is written while the work folder is unknown. Any failure is
// swallowed: the caller never learns whether the line was written.
void WriteLog(const std::string& message, int kind = 0, bool force = false);

// The size above which a log file is started again.
inline constexpr std::uintmax_t kLogSizeLimit = 1024000;

}  // namespace kalvor
